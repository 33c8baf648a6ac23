-- Receipt templates of the report engine: [Name] prints a variable or a
-- line column, [Name:0.00] with a number format; the lines between [Band]
-- and [EndBand] repeat once per sale line.

INSERT INTO tbReport (f_Category, f_Reportname, f_Reportinfo) VALUES ('销货单', '销货单',
'            [Bmmc]销货单

销售单号：[Djh]
收银员：[Syybm] [Syymc]    营业员：[Yyybm] [Yyymc]
柜组：[Gzbm] [Gzmc]    仓库：[Ckbm]
日期：[Rq]
----------------------------------------
商品编码  商品名称            数量    金额
[Band]
[f_Spbm]  [f_Spmc]
          [f_Jldw]  [f_Xssl:0.00]  [f_Ssje:0.00]
[EndBand]
----------------------------------------
            应收金额:[Sjysfk:0.00]
现金:[Xjje:0.00]  转帐:[Zzje:0.00]  券类:[Qlje:0.00]
信用卡:[Xykje:0.00]  会员卡:[Hykje:0.00]  福利证:[Flzje:0.00]  消费:[Sxje:0.00]
            找零金额:[Zlje:0.00]
返利金额:[Flje:0.00]
            欠款金额:[Qk:0.00]
[f_Zffs]
会员卡：[Hykh]  本次积分：[Bcjf:0.00]
[Hykye]
[Xsbz]
客户：[Khxx]
安装单号：[Gjdjh]
    多谢惠顾！欢迎再次光临！
');

INSERT INTO tbReport (f_Category, f_Reportname, f_Reportinfo) VALUES ('销货退单', '销货退单',
'            [f_BMmc]销货退单

退货单号：[f_Djh]    原单号：[f_Ydjh]
退货类型：[f_Thlx]
退货日期：[f_Thrq] [f_Thsj]
收银员：[f_Syybm] [f_Syymc]    营业员：[f_Yyybm] [f_Yyymc]
柜组：[f_Gzbm] [f_Gzmc]
----------------------------------------
商品编码  商品名称            数量    金额
[Band]
[f_Spbm]  [f_Spmc]
          [f_Jldw]  [f_Xssl:0.00]  [f_Ssje:0.00]
[EndBand]
----------------------------------------
退款金额:[f_Stje:0.00]
订金金额:[f_Djje:0.00]
欠款金额:[f_Qkje:0.00]
[f_Zffs]
');
