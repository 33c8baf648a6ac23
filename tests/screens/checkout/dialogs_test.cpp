#include "checkoutfixture.h"
#include "fakehost.h"
#include "modalscript.h"
#include "qiantai/dispids.h"
#include "sale/payments.h"
#include "screens/checkout/frmdjzf.h"
#include "screens/checkout/frmfkje.h"
#include "screens/checkout/frmkhxf.h"
#include "screens/checkout/frmselectzffs.h"
#include "screens/lookups/frminfo.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

namespace qiantai {
namespace {

using test::FakeHost;

// Answers the information box that opens next with Enter and remembers its
// message.
class InfoBoxAnswer {
public:
    InfoBoxAnswer()
        : script_(QStringLiteral("<Enter>"), [this](QWidget* modal) {
              if (auto* box = qobject_cast<TfrmInfo*>(modal))
                  message_ = box->message();
          })
    {
    }
    QString Message()
    {
        EXPECT_TRUE(script_.done());
        return message_;
    }

private:
    QString message_;
    test::ModalScript script_;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::PrepareCheckoutSession(Session(), QStringLiteral("1"));
        Session().Dqny = QStringLiteral("201001");
        Session().HostObject.reset(fake);
        fake->release(); // the session holds it now
        Session().AmountDue = 100;
    }
    void TearDown() override { Session() = SaleSession(); }

    FakeHost* fake = new FakeHost;
};

TEST_F(DialogTest, PickerRowsDigitsAndWrap)
{
    TfrmSelectZffs picker(nullptr);
    picker.BuildRows(Session().PaymentMethods);
    picker.show();
    ASSERT_EQ(picker.RowCount(), 7);
    EXPECT_EQ(picker.RowText(0), QStringLiteral("  [1] 现金"));
    EXPECT_EQ(picker.RowText(6), QStringLiteral("  [7] 消费"));
    EXPECT_EQ(picker.SelectionText(), QStringLiteral("选择[1]项"));

    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.CurrentRow(), 6);
    QTest::keyClick(&picker, Qt::Key_Down);
    EXPECT_EQ(picker.CurrentRow(), 0);
    QTest::keyClick(&picker, Qt::Key_8);
    EXPECT_EQ(picker.CurrentRow(), 0);
    QTest::keyClick(&picker, Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(picker.CurrentRow(), 2);
    EXPECT_EQ(picker.SelectionText(), QStringLiteral("选择[3]项"));
    QTest::keyClick(&picker, Qt::Key_0);
    QTest::keyClick(&picker, Qt::Key_0, Qt::KeypadModifier);
    EXPECT_EQ(picker.CurrentRow(), 2);
    QTest::keyClick(&picker, Qt::Key_7);
    EXPECT_TRUE(picker.isVisible()); // digits only move
    QTest::keyClick(&picker, Qt::Key_Return);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.Result(), 7);
}

TEST_F(DialogTest, PickerEscCancels)
{
    TfrmSelectZffs picker(nullptr);
    picker.BuildRows(Session().PaymentMethods);
    picker.show();
    QTest::keyClick(&picker, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(picker.CurrentRow(), 0);
    QTest::keyClick(&picker, Qt::Key_Escape);
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_FALSE(picker.isVisible());
}

TEST_F(DialogTest, AmountEntryTypesOnlyAmounts)
{
    TfrmFkje entry(nullptr);
    entry.Payment = Session().PaymentMethods[0];
    entry.Remaining = 100;
    entry.show();
    EXPECT_EQ(entry.Caption(), QStringLiteral("输入现金付款金额"));
    EXPECT_FALSE(entry.BalanceShown());
    QTest::keyClicks(entry.AmountField(), QStringLiteral("1a-5 0.x5"));
    EXPECT_EQ(entry.AmountField()->text(), QStringLiteral("150.5"));
    QTest::keyClick(entry.AmountField(), Qt::Key_Backspace);
    QTest::keyClick(entry.AmountField(), Qt::Key_Enter);
    EXPECT_EQ(entry.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(entry.EnteredAmount, 150);
}

// Text that no key would type reaches the amount fields by paste and by the
// input method as well; neither takes it.
TEST_F(DialogTest, AmountFieldsRefuseTextOfOtherInputPaths)
{
    TfrmFkje entry(nullptr);
    entry.Payment = Session().PaymentMethods[0];
    entry.Remaining = 100;
    entry.show();
    TfrmDjzf deposit(5000, nullptr);
    deposit.show();
    for (QLineEdit* field : {entry.AmountField(), deposit.AmountField()}) {
        field->clear();
        QApplication::clipboard()->setText(QStringLiteral("-1e3"));
        field->paste();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("-1e3"));
        QApplication::sendEvent(field, &commit);
        EXPECT_EQ(field->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("12.5"));
        field->paste();
        EXPECT_EQ(field->text(), QStringLiteral("12.5"));
    }
}

TEST_F(DialogTest, AmountEntryEmptyFieldTakesTheRemaining)
{
    TfrmFkje entry(nullptr);
    entry.Payment = Session().PaymentMethods[0];
    entry.Remaining = 100;
    entry.show();
    QTest::keyClick(entry.AmountField(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(entry.EnteredAmount, 100);
}

TEST_F(DialogTest, AmountEntryRefusalClearsTheField)
{
    TfrmFkje entry(nullptr);
    entry.Payment = Session().PaymentMethods[test::MethodIndex(Session(), QStringLiteral("0005"))];
    entry.Remaining = 100;
    entry.CardBalanceShown = 120.5;
    entry.show();
    EXPECT_TRUE(entry.BalanceShown());
    EXPECT_EQ(entry.BalanceText(), QStringLiteral("会员卡余额:120.50"));
    QTest::keyClicks(entry.AmountField(), QStringLiteral("100.01"));
    InfoBoxAnswer answer;
    QTest::keyClick(entry.AmountField(), Qt::Key_Return);
    EXPECT_EQ(answer.Message(), QStringLiteral("会员卡支付不能大于剩余支付金额，请从新录入"));
    EXPECT_TRUE(entry.isVisible());
    EXPECT_TRUE(entry.AmountField()->text().isEmpty());
    QTest::keyClick(entry.AmountField(), Qt::Key_Escape);
    EXPECT_EQ(entry.result(), QDialog::Rejected);
}

TEST_F(DialogTest, DepositEntry)
{
    TfrmDjzf deposit(5000, nullptr);
    deposit.show();
    EXPECT_EQ(deposit.TotalText(), QStringLiteral("5000.00"));
    EXPECT_EQ(deposit.AmountField()->text(), QStringLiteral("5000.00"));
    // The platform's close is refused while nothing was decided.
    deposit.close();
    EXPECT_TRUE(deposit.isVisible());

    deposit.AmountField()->clear();
    QTest::keyClicks(deposit.AmountField(), QStringLiteral("6000"));
    InfoBoxAnswer answer;
    QTest::keyClick(deposit.AmountField(), Qt::Key_Return);
    EXPECT_EQ(answer.Message(), QStringLiteral("定金不应大于实际销售金额！"));
    EXPECT_TRUE(deposit.isVisible());
    EXPECT_EQ(deposit.AmountField()->selectedText(), QStringLiteral("6000"));

    QTest::keyClicks(deposit.AmountField(), QStringLiteral("0"));
    QTest::keyClick(deposit.AmountField(), Qt::Key_Return);
    EXPECT_EQ(deposit.Outcome(), 1);
    EXPECT_DOUBLE_EQ(deposit.DepositAmount, 0);
}

TEST_F(DialogTest, DepositReadOnlyAndEsc)
{
    TfrmDjzf deposit(5000, nullptr);
    deposit.SetAmountReadOnly(true);
    deposit.show();
    QTest::keyClicks(deposit.AmountField(), QStringLiteral("1"));
    EXPECT_EQ(deposit.AmountField()->text(), QStringLiteral("5000.00"));
    QTest::keyClick(deposit.AmountField(), Qt::Key_Escape);
    EXPECT_EQ(deposit.Outcome(), 2);
}

TEST_F(DialogTest, CustomerAccountLooksUpSilentlyAndTakesTheAmount)
{
    fake->on(dispid::OpenQuery, [](QVariantList& args) {
        const bool known = args[0].toString().contains(QStringLiteral("'K01'"));
        args[1] = packetToVariant(FakeHost::table(
            {"f_Khbm", "f_Khmc"}, known ? QList<QVariantList>{{"K01", "华联"}} : QList<QVariantList>{}));
        return QVariant(true);
    });
    TFrmKhxf account(nullptr);
    account.Payment = Session().PaymentMethods[test::MethodIndex(Session(), QStringLiteral("0007"))];
    account.Remaining = 100;
    double remainingSeen = 0;
    account.RunAmountEntry = [&](TfrmFkje& entry) {
        remainingSeen = entry.Remaining;
        entry.EnteredAmount = 60;
        return true;
    };
    account.show();

    QTest::keyClicks(account.CodeField(), QStringLiteral("K99"));
    QTest::keyClick(account.CodeField(), Qt::Key_Return);
    EXPECT_TRUE(account.CodeField()->text().isEmpty());
    EXPECT_TRUE(account.isVisible());

    QTest::keyClicks(account.CodeField(), QStringLiteral("K01"));
    QTest::keyClick(account.CodeField(), Qt::Key_Return);
    EXPECT_EQ(account.NameField()->text(), QStringLiteral("华联"));
    // Up in the name field forgets the customer.
    account.NameField()->setFocus();
    QTest::keyClick(account.NameField(), Qt::Key_Up);
    EXPECT_TRUE(account.CustomerCode.isEmpty());
    EXPECT_TRUE(account.NameField()->text().isEmpty());

    QTest::keyClicks(account.CodeField(), QStringLiteral("K01"));
    QTest::keyClick(account.CodeField(), Qt::Key_Return);
    ASSERT_EQ(account.focusWidget(), account.NameField());
    QTest::keyClick(account.NameField(), Qt::Key_Return);
    EXPECT_EQ(account.result(), QDialog::Accepted);
    EXPECT_EQ(account.CustomerCode, QStringLiteral("K01"));
    EXPECT_DOUBLE_EQ(account.EnteredAmount, 60);
    EXPECT_DOUBLE_EQ(remainingSeen, 100);
    EXPECT_EQ(fake->count(dispid::OpenQuery), 3);
}

} // namespace
} // namespace qiantai
