#include "sale/payments.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

class CountedHost : public RefCountedCoorDisp {
public:
    QVariant invoke(int, QVariantList&) override { return true; }
};

// A session in the middle of a checkout, with store context loaded.
void fillSession(SaleSession& s)
{
    s.Syymc = "张三";
    s.Dwlx = "02";
    s.Dybm = "0101";
    s.Pszxbm = "09";
    s.Dqny = "200406";
    s.Xsfkz = 2;
    s.Jfje = 5;
    s.Xyklx = "1";
    s.Xsxpdyfs = "1";
    BuildPaymentMethods(s);
    BuildSystemTools(s);
    s.Xsfs = 2;
    s.Djh = "2004060001";
    s.Yyybm = "01";
    s.Yyymc = "李四";
    s.Gzbm = "010101";
    s.Gzmc = "彩电";
    s.Ckbm = "1";
    s.Ckmc = "总仓";
    s.Khxx = "王先生";
    s.DocTotalQty = 2;
    s.DocTotalAmount = 300;
    s.DepositAmount = 50;
    s.AmountDue = 300;
    s.SaleLines.Add().ProductCode = "1001";
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", paysource::AmountEntry, "", 100, 0);
    s.CardTransactions.Add().f_Djh = "2004060001";
    s.UnifiedTotal = 80;
    s.SuspendFlag = 1;
    s.CollectedSales << "0000000001";
    s.CollectedPreSales << "2004060002";
    s.CurrentMemberCard.CardNo = "8800";
    s.CurrentMemberCard.Points = 12;
    s.RebateAmount = 3;
    s.PointsEarned = 60;
    s.LastReceipt = {ReceiptCopy::Kind::Text, "2004050009", QStringLiteral("电器一店销货单\r\n")};
}

} // namespace

TEST(SaleSession, BeginningADocumentClearsTheDocumentButKeepsTheStore)
{
    SaleSession s;
    fillSession(s);
    ResetDocumentState(s);

    for (const QString* f : {&s.Djh, &s.Gzbm, &s.Gzmc, &s.Ckbm, &s.Ckmc, &s.Yyybm, &s.Yyymc, &s.Khxx})
        EXPECT_TRUE(f->isEmpty()) << f->toStdString();
    for (double v :
         {s.DocTotalQty, s.DocTotalAmount, s.DepositAmount, s.AmountDue, s.AmountPaid, s.UnifiedTotal})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(s.SuspendFlag, 0);
    EXPECT_TRUE(s.CurrentMemberCard.CardNo.isEmpty());
    EXPECT_EQ(s.CurrentMemberCard.Points, 0.0);
    EXPECT_EQ(s.SaleLines.Count(), 0);
    EXPECT_EQ(s.PaymentEntries.Count(), 0);
    EXPECT_EQ(s.CardTransactions.Count(), 0);
    EXPECT_TRUE(s.CollectedSales.isEmpty());
    EXPECT_TRUE(s.CollectedPreSales.isEmpty());

    // Store context, the fixed tables and what the begin step does not name stay.
    EXPECT_EQ(s.Dqny, "200406");
    EXPECT_EQ(s.Pszxbm, "09");
    EXPECT_EQ(s.PaymentMethods.Count(), 7);
    EXPECT_EQ(s.SystemTools.Count(), 3);
    EXPECT_EQ(s.Xsfs, 2);
    // The last document's receipt stays for a reprint.
    EXPECT_EQ(s.LastReceipt.documentNo, "2004050009");
    EXPECT_EQ(s.RebateAmount, 3.0);
}

TEST(SaleSession, NewSessionStartsFreshButKeepsTheHostBoundary)
{
    auto* host = new CountedHost;
    {
        SaleSession s;
        s.HostObject.reset(host);
        s.Syybm = "0007";
        fillSession(s);
        ResetSessionState(s);

        EXPECT_EQ(s.HostObject.get(), host);
        EXPECT_EQ(host->refCount(), 2); // ours and the session's, nothing leaked
        EXPECT_EQ(s.Syybm, "0007");

        EXPECT_TRUE(s.Dwlx.isEmpty());
        EXPECT_TRUE(s.Pszxbm.isEmpty());
        EXPECT_TRUE(s.Xsxpdyfs.isEmpty());
        EXPECT_EQ(s.Xsfkz, 0);
        EXPECT_EQ(s.Jfje, 1.0);
        EXPECT_EQ(s.Fqedj, "1");
        EXPECT_EQ(s.Xyklx, "0");
        EXPECT_EQ(s.PaymentMethods.Count(), 0);
        EXPECT_EQ(s.SystemTools.Count(), 0);
        EXPECT_EQ(s.SaleLines.Count(), 0);
        EXPECT_EQ(s.PaymentEntries.Count(), 0);
        EXPECT_TRUE(s.Djh.isEmpty());
        EXPECT_EQ(s.Xsfs, 0);
        EXPECT_EQ(s.AmountPaid, 0.0);
        EXPECT_EQ(s.LastReceipt.kind, ReceiptCopy::Kind::None); // no receipt of another session
    }
    EXPECT_EQ(host->refCount(), 1);
    host->release();
}

TEST(SaleSession, SessionIsOneInstance)
{
    Session().Djh = "x";
    EXPECT_EQ(&Session(), &Session());
    EXPECT_EQ(Session().Djh, "x");
    ResetSessionState(Session());
    EXPECT_TRUE(Session().Djh.isEmpty());
}
