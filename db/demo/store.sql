-- Demo appliance store. Placeholders: ${YYYYMM} accounting month,
-- ${MONTHSTART} its first day (YYYYMMDD).

-- Store department 01 and its counter groups; the centre 90 delivers.
INSERT INTO tbBmda (f_Bmbm, f_Bmmc, f_Mj, f_Pszxbm) VALUES ('01', '电器连锁一号门店', 0, '90');
INSERT INTO tbBmda (f_Bmbm, f_Bmmc, f_Mj, f_Pszxbm) VALUES ('0101', '彩电柜', 1, '90');
INSERT INTO tbBmda (f_Bmbm, f_Bmmc, f_Mj, f_Pszxbm) VALUES ('0102', '冰洗柜', 1, '90');

INSERT INTO tbSpjyztda (f_Jyztbm, f_Jyztmc, f_Yxxs) VALUES ('01', '正常经营', 1);
INSERT INTO tbSpjyztda (f_Jyztbm, f_Jyztmc, f_Yxxs) VALUES ('02', '促销', 1);
INSERT INTO tbSpjyztda (f_Jyztbm, f_Jyztmc, f_Yxxs) VALUES ('03', '停止销售', 0);

-- The products that the walk-through and the scripted checks rely on.
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100001', 'TV55A1', '液晶平板电视', '6901234567014', '广东', '55英寸 4K', '台', 1, 2200.00, 2999.00, 2700.00, 1, 17, 0, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100002', 'AZFW01', '上门安装服务', '6901234567021', '本地', '按次计费', '次', 1, 0, 0, 0, 0, 6, 0, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100003', 'SH17A', '电热水壶', '6901234567892', '浙江', '1.7升 白色', '个', 1, 120.00, 199.00, 169.00, 1, 17, 0, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100004', 'SH17B', '电热水壶', '6901234567892', '浙江', '1.7升 不锈钢', '个', 1, 135.00, 219.00, 189.00, 1, 17, 0, 1, 5);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100005', 'WB20L', '微波炉', '6901234567038', '广东', '20升 机械式', '台', 1, 650.00, 999.00, 850.00, 1, 17, 0, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100006', 'BX500D', '对开门冰箱（订制）', '6901234567045', '安徽', '500升 变频', '台', 1, 3800.00, 4999.00, 4500.00, 1, 17, 1, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100007', 'XY60T', '波轮洗衣机（停售）', '6901234567052', '江苏', '6公斤', '台', 1, 700.00, 1099.00, 999.00, 1, 17, 0, 0, 0);
INSERT INTO tbSpda (f_Spbm, f_Sphh, f_Spmc, f_Sptm, f_Spcd, f_Ggxh, f_Jldw, f_Dwbl, f_Zhjj, f_Xsdj, f_Zdsj, f_Xskz, f_Xxsl, f_Yxjj, f_Flsp, f_Flbl)
VALUES ('100008', 'KT35G', '壁挂式空调', '6901234567069', '广东', '1.5匹 冷暖', '套', 1, 1900.00, 2699.00, 2400.00, 1, 17, 0, 0, 0);

INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100001', '01');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100002', '01');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100003', '01');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100004', '01');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100005', '02');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100006', '01');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100007', '03');
INSERT INTO tbLsdkz (f_Spbm, f_Jyztbm) VALUES ('100008', '01');

-- Both counter groups sell every product (codes beginning 1 or 2).
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('0101', '1');
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('0101', '2');
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('0102', '1');
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('0102', '2');
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('01', '1');
INSERT INTO tbBmspdz (f_Bmbm, f_Spbm) VALUES ('01', '2');

INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100001', 20);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100003', 50);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100004', 50);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100005', 10);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100007', 5);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100008', 1);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0102', '100003', 30);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0102', '100004', 30);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0102', '100005', 10);
-- The amount-controlled service has nothing to count: plenty.
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0101', '100002', 99999);
INSERT INTO tbGzkc (f_Gzbm, f_Spbm, f_Kcsl) VALUES ('0102', '100002', 99999);

-- 100005 at 899.00 instead of 999.00 for 3 units in the whole store.
INSERT INTO tbXsxl (f_Xlbh, f_Spbm, f_Bmbm, f_Ksrq, f_Jsrq, f_Xlj, f_Xlsl, f_Tgj)
VALUES ('XL0001', '100005', '01', '${MONTHSTART}', '20991231', 899.00, 3, 100.00);

-- People (password hashes are set when the store is created).
INSERT INTO tbZyda (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm) VALUES ('0001', '王丽', '1', 1, '01');
INSERT INTO tbZyda (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm) VALUES ('0002', '张强', '2', 1, '01');
INSERT INTO tbZyda (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm) VALUES ('1001', '李明', '3', 1, '0101');
INSERT INTO tbZyda (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm) VALUES ('1002', '赵敏', '3', 1, '0102');
INSERT INTO tbZyda (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm) VALUES ('1009', '陈刚', '3', 0, '0101');
INSERT INTO tbZyqx (f_Zybm, f_Qxbm) VALUES ('0002', '9907');
INSERT INTO tbZyqx (f_Zybm, f_Qxbm) VALUES ('0002', '9912');

INSERT INTO tbMdkhda (f_Khbm, f_Khmc, f_Lxdh, f_Dz) VALUES ('000001', '城东装饰工程公司', '020-11110000', '东风路8号');
INSERT INTO tbMdkhda (f_Khbm, f_Khmc, f_Lxdh, f_Dz) VALUES ('000002', '滨江酒店', '020-22220000', '滨江路66号');
INSERT INTO tb${YYYYMM}_mdkhwlyhj (f_Khbm, f_Qcye, f_Skje, f_Sxje) VALUES ('000001', 10000.00, 0, 0);
