-- Demo distribution centre 90.
INSERT INTO tbHostInfo (f_Key, f_Value) VALUES ('pszxbm', '90');
INSERT INTO tbHostInfo (f_Key, f_Value) VALUES ('pszxmc', '城区配送中心');
INSERT INTO tbCkda (f_Ckbm, f_Ckmc) VALUES ('01', '配送中心一号仓');
INSERT INTO tbCkda (f_Ckbm, f_Ckmc) VALUES ('02', '配送中心二号仓');
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('01', '100001', 100);
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('01', '100003', 200);
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('01', '100004', 200);
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('01', '100005', 40);
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('01', '100008', 30);
INSERT INTO tbCkkc (f_Ckbm, f_Spbm, f_Kcsl) VALUES ('02', '100001', 10);
