#include "base/gbk.h"
#include "sale/packets.h"
#include "sale/payments.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"
#include "screens/checkout/receipttext.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}

DataPacket saleLines(const QList<QVariantList>& rows)
{
    TSaleRecords none;
    DataPacket p = SaleLinesPacket(none);
    for (const auto& r : rows) {
        const int i = p.appendRow();
        p.setValue(i, "f_Spbm", r[0]);
        p.setValue(i, "f_Spmc", r[1]);
        p.setValue(i, "f_Xssl", r[2]);
        p.setValue(i, "f_Ssje", r[3]);
    }
    return p;
}

const QDateTime Now(QDate(2026, 12, 10), QTime(9, 5, 3));

struct TextReceiptTest : ::testing::Test {
    SaleSession s;
    void SetUp() override
    {
        s.Bmmc = QStringLiteral("百货店");
        s.Djh = "0000000012";
        s.Xsfs = 0;
        s.AmountDue = 1234.5;
        s.AmountPaid = 1300;
        s.DocTotalAmount = 1234.5;
        s.RebateAmount = 0;
        s.Ckbm = "";
        s.Yyybm = "Y01";
        s.Syybm = "S01";
    }
    QStringList lines(const DataPacket& rows) const
    {
        QString text = BuildTextReceipt(s, rows, Now);
        EXPECT_TRUE(text.endsWith("\r\n"));
        text.chop(2);
        return text.split("\r\n");
    }
};

} // namespace

TEST_F(TextReceiptTest, LaysOutTheWholeReceipt)
{
    const DataPacket rows =
        saleLines({{"0100001", QStringLiteral("电视机"), 1.0, 2999.5}, {"0200002", "DVD", 2.0, 1.005}});
    const QString expected =
        sp(14) + QStringLiteral("百货店销货单\r\n") + "\r\n" +
        QStringLiteral("销售单号：0000000012\r\n"
                       "销售方式：门店自提\r\n"
                       "\r\n"
                       "商品编码：0100001\r\n"
                       "商品名称：电视机\r\n"
                       "销售数量：1.00\r\n"
                       "销售金额：2999.50\r\n"
                       "商品编码：0200002\r\n"
                       "商品名称：DVD\r\n"
                       "销售数量：2.00\r\n"
                       "销售金额：1.01\r\n"
                       "\r\n") +
        sp(12) + QStringLiteral("应收金额:") + sp(12) + "1234.50\r\n" + QStringLiteral("实交金额:") + sp(12) +
        sp(12) + "1300.00\r\n" + sp(12) + QStringLiteral("找零金额:") + sp(14) + "65.50\r\n" +
        QStringLiteral("返利金额:") + sp(12) + sp(15) + "0.00\r\n" + sp(12) + QStringLiteral("欠款金额:") +
        sp(15) + "0.00\r\n" + "\r\n" + sp(24) + QStringLiteral("仓库编码：  \r\n") + sp(24) +
        QStringLiteral("营业员编码：Y01\r\n") + sp(24) + QStringLiteral("收银员编码：S01\r\n") + sp(21) +
        "2026-12-10 09:05:03\r\n" + QStringLiteral("    多谢惠顾！欢迎再次光临！\r\n");
    EXPECT_EQ(BuildTextReceipt(s, rows, Now).toStdString(), expected.toStdString());
}

TEST_F(TextReceiptTest, AmountsEndInColumnFortyCountingGbkBytes)
{
    s.Bmmc = QStringLiteral("电器商场");
    s.AmountDue = 98765.4;
    s.AmountPaid = 100000;
    s.RebateAmount = 12.345;
    s.DocTotalAmount = 100765.4; // delivery: 2000 still owed
    const QStringList l = lines(saleLines({{"1", QStringLiteral("海尔冰箱BCD-215"), 1.0, 98765.4}}));
    const int first = l.indexOf(sp(12) + QStringLiteral("应收金额:") + sp(11) + "98765.40");
    ASSERT_GE(first, 0);
    const QStringList amounts = {"98765.40", "100000.00", "1234.60", "12.35", "2000.00"};
    for (int i = 0; i < amounts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GbkWidth(l[first + i]), ReceiptWidth);
        EXPECT_TRUE(l[first + i].endsWith(amounts[i]));
    }
    EXPECT_EQ(l[first + 5], "");
    EXPECT_EQ(l[6], QStringLiteral("商品名称：海尔冰箱BCD-215"));
}

TEST_F(TextReceiptTest, CentresTheTitleByGbkWidth)
{
    const struct {
        QString bmmc;
        int leading;
    } cases[] = {
        {QStringLiteral("百货店"), 14},                            // 12 bytes
        {"ABC", 15},                                               // 9 bytes
        {"", 17},                                                  // the title alone, 6 bytes
        {QString(33, 'X'), 0},                                     // 39 bytes
        {QStringLiteral("一二三四五六七八九十一二三四五六七"), 0}, // 40 bytes
        {QString(38, 'X'), 0},                                     // 44 bytes: never negative
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bmmc.toStdString());
        s.Bmmc = c.bmmc;
        const QString title = lines(DataPacket()).first();
        EXPECT_EQ(title, sp(c.leading) + c.bmmc + QStringLiteral("销货单"));
    }
}

TEST_F(TextReceiptTest, NamesEachSalesMethodAndKeepsLongAmountsWhole)
{
    const char* names[] = {"门店自提", "门店送货", "带货安装", "统一配送"};
    for (int xsfs = 0; xsfs < 4; ++xsfs) {
        s.Xsfs = xsfs;
        EXPECT_EQ(lines(DataPacket())[3], QStringLiteral("销售方式：") + QString::fromUtf8(names[xsfs]));
    }
    // An amount of 19 characters or more gets no padding.
    s.AmountDue = 1e18;
    const QStringList l = lines(DataPacket());
    EXPECT_EQ(l[5], ""); // the empty line after no rows
    EXPECT_EQ(l[6], sp(12) + QStringLiteral("应收金额:") + "1000000000000000000.00");
}

TEST(ReceiptTexts, ReprintMarkIsCentredOverTheWidestLineInTheBodysLineEnds)
{
    const struct {
        QString body;
        QString marked;
    } cases[] = {
        {QStringLiteral("百货店销货单\r\n") + QString(40, '-') + "\r\n",
         sp(14) + QStringLiteral("*** 重印 ***\r\n百货店销货单\r\n") + QString(40, '-') + "\r\n"},
        {QStringLiteral("单号:12\n合计:1.00\n"), QStringLiteral("*** 重印 ***\n单号:12\n合计:1.00\n")},
        {QString(), QStringLiteral("*** 重印 ***\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        EXPECT_EQ(ReprintMarked(c.body).toStdString(), c.marked.toStdString());
    }
}

TEST(ReceiptTexts, MemberCardBalances)
{
    SaleSession s;
    EXPECT_EQ(MemberCardBalanceText(s), "");
    AddPaymentEntry(s, "0005", paykind::MemberCard, "8800123", "M01", paysource::MemberCard, "", 30, 70);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", paysource::AmountEntry, "", 10, 0);
    AddPaymentEntry(s, "0005", paykind::MemberCard, "8800456", "M02", paysource::MemberCard, "", 20, 0.005);
    EXPECT_EQ(MemberCardBalanceText(s), QStringLiteral("卡号:8800123 余额:70.00\r\n卡号:8800456 余额:0.01"));
}

TEST(ReceiptTexts, UnifiedCollectionRemark)
{
    SaleSession s;
    EXPECT_EQ(UnifiedCollectionRemark(s), "");
    s.CollectedSales = QStringList{"0000000012"};
    s.CollectedPreSales = QStringList{"201001000305"};
    s.UnifiedTotal = 1500;
    EXPECT_EQ(UnifiedCollectionRemark(s), QStringLiteral("统收单据:12,Y305 统收金额:1500.00"));
    s.CollectedSales << "0000000100";
    s.CollectedPreSales.clear();
    EXPECT_EQ(UnifiedCollectionRemark(s), QStringLiteral("统收单据:12,100 统收金额:1500.00"));
    // A suspended sale says so whatever was collected.
    s.SuspendFlag = 1;
    EXPECT_EQ(UnifiedCollectionRemark(s), QStringLiteral("待统收"));
    s.CollectedSales.clear();
    EXPECT_EQ(UnifiedCollectionRemark(s), QStringLiteral("待统收"));
}

TEST(ReceiptTexts, PaymentSummaryInTableOrder)
{
    SaleSession s;
    BuildPaymentMethods(s);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 100, 0);
    AddPaymentEntry(s, "0002", paykind::Simple, "", "", 0, "", 15.5, 0);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 20, 0);
    EXPECT_EQ(PaymentSummaryText(s),
              QStringLiteral("现金金额:120.00 转帐金额:15.50 券类金额:0.00 信用卡金额:0.00 "
                             "会员卡金额:0.00 福利证金额:0.00 消费金额:0.00"));
}

TEST(ReceiptTexts, RelatedDocumentQueryQuotesTheNumber)
{
    EXPECT_EQ(RelatedDocumentQuery("201001000305"),
              "Select f_Djh From tb201001_Spgjcb Where f_YDjh = '201001000305' ");
    EXPECT_EQ(RelatedDocumentQuery("201001'; drop"), "Select f_Djh From tb201001_Spgjcb Where f_YDjh = "
                                                     "'201001''; drop' ");
    EXPECT_EQ(RelatedDocumentQuery("abc"), "");
}

TEST(ReceiptVariables, EveryVariableOnceWithItsValue)
{
    SaleSession s;
    BuildPaymentMethods(s);
    s.Dybm = "0101";
    s.Bmmc = QStringLiteral("百货店");
    s.Djh = "0000000012";
    s.Xsfs = 1;
    s.AmountDue = 100;
    s.DocTotalAmount = 300.1;
    s.RebateAmount = 2.5;
    s.PointsEarned = 10;
    s.Syybm = "S01";
    s.Syymc = QStringLiteral("张三");
    s.Gzbm = "G1";
    s.CurrentMemberCard.CardNo = "8800123";
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 60.3, 0);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 50, 0);
    AddPaymentEntry(s, "0007", paykind::CustomerAccount, "", "", 2, "K1", 0.1, 0);

    const ReportVariables vars = ReceiptVariables(s, Now, std::nullopt);
    QStringList names;
    QVariantMap values;
    for (const auto& [name, value] : vars) {
        names << name;
        values.insert(name, value);
    }
    const QStringList expected = {
        "Xjje",   "Qlje",   "Zzje",    "Xykje",   "Kickje",  "Hykje",  "Flzje",  "Sxje",   "Sjysfk", "Zlje",
        "Bmbm",   "Bmmc",   "Rq",      "Flje",    "Djh",     "Xsfs",   "Qk",     "Syybm",  "Syymc",  "Yyybm",
        "Yyymc",  "Ckbm",   "Gzbm",    "Gzmc",    "Khxx",    "Hykh",   "Bcjf",   "Xsbz",   "Hykye",  "f_Thlx",
        "f_Thrq", "f_Thsj", "f_Zffs",  "f_Ydjh",  "f_Djje",  "f_Qkje", "f_Stje", "f_Bmbm", "f_BMmc", "f_Gzbm",
        "f_Gzmc", "f_Djh",  "f_Syybm", "f_Syymc", "f_Yyybm", "f_Yyymc"};
    EXPECT_EQ(names, expected);

    EXPECT_DOUBLE_EQ(values["Xjje"].toDouble(), 110.3);
    EXPECT_DOUBLE_EQ(values["Sxje"].toDouble(), 0.1);
    EXPECT_DOUBLE_EQ(values["Zlje"].toDouble(), 10.4);
    EXPECT_DOUBLE_EQ(values["Qk"].toDouble(), 200.1);
    EXPECT_DOUBLE_EQ(values["f_Qkje"].toDouble(), 300.1);
    EXPECT_DOUBLE_EQ(values["f_Stje"].toDouble(), 100);
    EXPECT_EQ(values["Kickje"].metaType().id(), QMetaType::Int);
    EXPECT_EQ(values["Xsfs"], QVariant(1));
    EXPECT_EQ(values["Rq"], "2026-12-10 09:05:03");
    EXPECT_EQ(values["f_Thrq"], "2026-12-10");
    EXPECT_EQ(values["f_Thsj"], "09:05:03");
    EXPECT_EQ(values["f_Thlx"], QStringLiteral("实物退货"));
    EXPECT_EQ(values["Bmbm"], "0101");
    EXPECT_EQ(values["f_BMmc"], QStringLiteral("百货店"));
    EXPECT_EQ(values["Hykh"], "8800123");
    EXPECT_DOUBLE_EQ(values["Bcjf"].toDouble(), 10);
    EXPECT_EQ(values["f_Ydjh"], "");
    EXPECT_TRUE(values["f_Zffs"].toString().startsWith(QStringLiteral("现金金额:110.30 ")));

    const ReportVariables withRelated = ReceiptVariables(s, Now, QString("201001000999"));
    ASSERT_EQ(withRelated.size(), vars.size() + 1);
    EXPECT_EQ(withRelated.last().first, "Gjdjh");
    EXPECT_EQ(withRelated.last().second, "201001000999");
}
