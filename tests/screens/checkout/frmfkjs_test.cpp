#include "screens/checkout/frmfkjs.h"

#include "checkoutfixture.h"
#include "fakehost.h"
#include "qiantai/dispids.h"
#include "sale/payments.h"

#include <gmock/gmock.h>

#include <QFrame>
#include <QLabel>
#include <QTest>

namespace qiantai {
namespace {

using test::FakeHost;

// The settlement screen with scripted payment screens and messages.
class ScriptedFkjs : public TfrmFkjs {
public:
    ScriptedFkjs() : TfrmFkjs(nullptr) {}

    QList<int> picks;
    QList<double> amounts;
    QString typedNumbers;
    QStringList messages;
    int pickerShown = 0;
    int printed = 0;
    QList<int> pauses;

    int PickMethod() override
    {
        ++pickerShown;
        return picks.isEmpty() ? -1 : picks.takeFirst();
    }
    bool TakeAmount(const TPayment&, double, double& amount) override
    {
        if (amounts.isEmpty())
            return false;
        amount = amounts.takeFirst();
        return true;
    }
    void ShowMessage(const QVariant& message, const QString& caption) override
    {
        messages << caption + QStringLiteral(":") + message.toString();
    }
    bool PrintReceipt(const DataPacket&, QString&) override
    {
        ++printed;
        return true;
    }
    void Pause(int ms) override { pauses << ms; }

protected:
    bool AskDocumentNumbers(const QString& prompt, QString& text) override
    {
        messages << QStringLiteral("ask:") + prompt;
        text = typedNumbers;
        return true;
    }
};

class SettlementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SaleSession& s = Session();
        test::PrepareCheckoutSession(s, QStringLiteral("1"));
        s.Dqny = QStringLiteral("201001");
        s.Dwlx = QStringLiteral("11");
        s.Djh = QStringLiteral("0000000042");
        s.Syybm = QStringLiteral("0007");
        test::AddLine(s, QStringLiteral("100001"), 85.47, 14.53, 17);
        s.AmountDue = 100;
        // Left over from an earlier settlement screen: cleared at first show.
        AddPaymentEntry(s, QStringLiteral("0005"), 4, {}, {}, 1, {}, 5, 0);
        s.HostObject.reset(fake);
        fake->release();
        fake->answer(dispid::GetOperatorInfo, 1, QStringLiteral("TAG"));
        fake->answer(dispid::SaveSale, 12, 0);
        fake->on(dispid::OpenQuery, [](QVariantList& args) {
            const QString sql = args[0].toString();
            QList<QVariantList> rows;
            if (sql.contains(QStringLiteral("'0000000012'")))
                rows = {{150.0}};
            else if (sql.contains(QStringLiteral("_xsmxzb zb")))
                rows = {{1}};
            args[1] = packetToVariant(FakeHost::table({"f_Dsje"}, rows));
            return QVariant(true);
        });
    }
    void TearDown() override { Session() = SaleSession(); }

    void open(ScriptedFkjs& w)
    {
        w.show();
        QCoreApplication::processEvents(); // the payment loop starts on opening
    }
    int idx(const char* code) const { return test::MethodIndex(Session(), QString::fromLatin1(code)); }
    static QString text(const TfrmFkjs& w, const char* name)
    {
        return w.PanelLabel(QString::fromLatin1(name))->text();
    }

    FakeHost* fake = new FakeHost;
};

TEST_F(SettlementTest, FirstShowResetsAndBuildsRightAlignedLabels)
{
    ScriptedFkjs w;
    EXPECT_EQ(Session().SuspendFlag, 0);
    EXPECT_TRUE(w.PendingFirstShow());
    open(w);
    EXPECT_FALSE(w.PendingFirstShow());
    EXPECT_TRUE(Session().PaymentEntries.IsEmpty());
    EXPECT_EQ(Session().AmountPaid, 0);
    EXPECT_EQ(w.pickerShown, 1);

    EXPECT_EQ(text(w, "Yfje_Name"), QStringLiteral("实际应收款:"));
    EXPECT_EQ(text(w, "Yfje_Value"), QStringLiteral("100.00"));
    EXPECT_EQ(text(w, "Fkje_Name"), QStringLiteral("客户已付款:"));
    EXPECT_EQ(text(w, "Zlje_Name"), QStringLiteral("找零金额:"));
    EXPECT_EQ(text(w, "Zlje_Value"), QStringLiteral("-100.00"));
    EXPECT_EQ(text(w, "Name_0007"), QStringLiteral("消费:"));
    EXPECT_EQ(text(w, "Value_0007"), QStringLiteral(" "));
    const int panel = w.MainPanel()->width();
    EXPECT_EQ(panel, 251);
    const QLabel* first = w.PanelLabel(QStringLiteral("Yfje_Name"));
    const int h = first->height();
    EXPECT_TRUE(first->font().bold());
    EXPECT_EQ(first->font().pointSize(), 14);
    EXPECT_FALSE(w.PanelLabel(QStringLiteral("Name_0001"))->font().bold());
    EXPECT_EQ(w.PanelLabel(QStringLiteral("Fkje_Name"))->y(), 252 - 2 * h - 10);
    EXPECT_EQ(w.PanelLabel(QStringLiteral("Zlje_Value"))->y(), 252 - h - 5);
    EXPECT_EQ(w.PanelLabel(QStringLiteral("Name_0003"))->y(), 20 * 2 + 40);
    for (const char* name : {"Yfje_Value", "Zlje_Value", "Value_0001"}) {
        const QLabel* l = w.PanelLabel(QString::fromLatin1(name));
        EXPECT_EQ(l->x() + l->width(), panel - 8) << name;
    }
    EXPECT_EQ(w.PanelLabel(QStringLiteral("Name_0001"))->x(), 4);

    w.UpdateValue(QStringLiteral("0003"), 1234.5);
    const QLabel* v = w.PanelLabel(QStringLiteral("Value_0003"));
    EXPECT_EQ(v->text(), QStringLiteral("1234.50"));
    EXPECT_EQ(v->x() + v->width(), panel - 8);
    // The module's money rounding: halves away from zero, no "-0.00".
    w.UpdateValue(QStringLiteral("0003"), 2.675);
    EXPECT_EQ(v->text(), QStringLiteral("2.68"));
    w.UpdateValue(QStringLiteral("Zlje"), -0.004);
    EXPECT_EQ(text(w, "Zlje_Value"), QStringLiteral("0.00"));
}

TEST_F(SettlementTest, CashPaymentsThenEnterRecordsAndCloses)
{
    ScriptedFkjs w;
    w.picks = {idx("0001"), idx("0001")};
    w.amounts = {60, 50};
    open(w);
    EXPECT_EQ(text(w, "Value_0001"), QStringLiteral("110.00"));
    EXPECT_EQ(text(w, "Zlje_Value"), QStringLiteral("10.00"));
    EXPECT_EQ(text(w, "Fkje_Value"), QStringLiteral("110.00"));

    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(fake->count(dispid::SaveSale), 1);
    EXPECT_EQ(w.printed, 1);
    EXPECT_EQ(w.pauses, QList<int>{1000});
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Busy());
}

TEST_F(SettlementTest, EnterWhileOwingReopensThePicker)
{
    ScriptedFkjs w;
    w.picks = {idx("0001")};
    w.amounts = {99.99};
    open(w);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.pickerShown, 3);
    EXPECT_EQ(fake->count(dispid::SaveSale), 0);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(SettlementTest, FailedRecordingKeepsTheScreenForRetry)
{
    fake->refuse(dispid::SaveSale, QStringLiteral("主机拒绝"));
    ScriptedFkjs w;
    w.picks = {idx("0001")};
    w.amounts = {100};
    open(w);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(w.messages, QStringList{"出错提示:主机拒绝"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.MainPanel()->isVisible());
    EXPECT_FALSE(w.MessagePanel()->isVisible());
    EXPECT_FALSE(w.Busy());
    EXPECT_EQ(Session().PaymentEntries.Count(), 1);
}

TEST_F(SettlementTest, EscClosesUnlessACardPaymentExists)
{
    ScriptedFkjs w;
    open(w);
    AddPaymentEntry(Session(), QStringLiteral("0004"), 5, {}, {}, 4, {}, 10, 0);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(w.messages, QStringList{":已存在信用卡支付,本次结算必须完成!"});
    EXPECT_TRUE(w.isVisible());

    Session().PaymentEntries.Clear();
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SettlementTest, SuspensionBooksTheRest)
{
    ScriptedFkjs w;
    w.picks = {idx("0001"), -1};
    w.amounts = {30};
    open(w);
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(text(w, "Value_0001"), QStringLiteral("100.00"));
    EXPECT_EQ(text(w, "Zlje_Value"), QStringLiteral("0.00"));
    EXPECT_EQ(Session().SuspendFlag, 1);

    // F8 and F9 are refused before they ask for numbers: the host refuses a
    // suspended document that collects others.
    w.typedNumbers = QStringLiteral("12");
    QTest::keyClick(&w, Qt::Key_F8);
    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_EQ(w.messages, QStringList({QStringLiteral(":已挂单支付,不能调入其他单据!"),
                                       QStringLiteral(":已挂单支付,不能调入其他单据!")}));
    EXPECT_TRUE(Session().CollectedSales.isEmpty());
    EXPECT_EQ(text(w, "Yfje_Value"), QStringLiteral("100.00"));

    AddPaymentEntry(Session(), QStringLiteral("0002"), 1, {}, {}, 0, {}, 1, 0);
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(w.messages.last(), QStringLiteral(":已存在其他支付方式,不能挂单支付!"));
}

TEST_F(SettlementTest, F8CollectsSaleDocumentsAndRefreshes)
{
    ScriptedFkjs w;
    open(w);
    w.typedNumbers = QStringLiteral("12,99");
    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_EQ(w.messages, QStringList{"ask:请输入统收销售单号:"});
    EXPECT_EQ(Session().CollectedSales, QStringList{"0000000012"});
    EXPECT_EQ(text(w, "Yfje_Value"), QStringLiteral("250.00"));

    w.typedNumbers = QStringLiteral("x");
    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_EQ(w.messages[1], QStringLiteral("ask:请输入统收预销售单号:"));
    EXPECT_EQ(w.messages.size(), 3); // the conversion error
    // Collected documents stop suspension.
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(w.messages.last(), QStringLiteral(":已调入其他单据,不能挂单支付!"));
}

TEST_F(SettlementTest, KeysAreIgnoredWhileBusy)
{
    ScriptedFkjs w;
    open(w);
    w.SetBusy(true);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_Return);
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.pickerShown, 1);
    EXPECT_TRUE(Session().PaymentEntries.IsEmpty());
}

TEST_F(SettlementTest, NothingDueRecordsAtOnce)
{
    Session().AmountDue = 0;
    ScriptedFkjs w;
    open(w);
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(fake->count(dispid::SaveSale), 1);
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

} // namespace
} // namespace qiantai
