#include "controls/flatedit.h"
#include "devices/cardrequest.h"
#include "screens/cards/frmxykzf.h"

#include "cardscreenkit.h"
#include "logcapture.h"
#include "modalscript.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

namespace {

// A terminal response: code, then the card field at 9-28, the field at 33-38
// and the field at 80-91.
QByteArray Response(const char* code)
{
    return QByteArray(code) + "  " + QByteArray("622202******7890").leftJustified(20, ' ') + "    " +
           "TRK3  " + QByteArray(41, ' ') + "TRK2TRK2TRK2";
}

class BankCardScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        kit.session.AmountDue = 123.4;
        payment.Code = QStringLiteral("0004");
        payment.Name = QStringLiteral("信用卡");
        payment.Kind = paykind::BankCard;
        kit.terminal.result.ok = true;
        kit.terminal.result.response = Response("000000");
    }

    // Runs the screen with `script`; returns its result.
    int Run(const QString& script, std::function<void(QWidget*)> inspect = {})
    {
        screen = std::make_unique<TFrmXykzf>(nullptr, kit.Context());
        screen->Payment = payment;
        screen->Remaining = 123.4;
        ModalScript typing(script, std::move(inspect));
        const int result = screen->exec();
        EXPECT_TRUE(typing.done());
        return result;
    }

    CardScreenKit kit;
    TPayment payment;
    std::unique_ptr<TFrmXykzf> screen;
    const QString swipe = QStringLiteral(";6222021234567890=49121010000?");
};

} // namespace

TEST_F(BankCardScreen, ApprovedTransactionSendsTheExactRequestAndRecordsIt)
{
    QString presetText, presetSelection, caption;
    const int result =
        Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>"), [&](QWidget*) {
            presetText = screen->AmountField()->text();
            presetSelection = screen->AmountField()->selectedText();
            caption = screen->Caption();
        });
    EXPECT_EQ(presetText, "123.40");
    EXPECT_EQ(presetSelection, "123.40");
    EXPECT_EQ(caption, QStringLiteral("信用卡支付 请输入金额"));
    EXPECT_EQ(result, 1);
    EXPECT_DOUBLE_EQ(screen->EnteredAmount, 123.4);
    ASSERT_EQ(kit.terminal.requests.size(), 1);
    const QByteArray& request = kit.terminal.requests[0];
    EXPECT_EQ(request, BuildCardRequest(QStringLiteral("6222021234567890"), QStringLiteral("49121010000"),
                                        12340, QStringLiteral("0012")));
    EXPECT_EQ(request.size(), 189);
    EXPECT_EQ(request.mid(2, 12), "000000012340");

    ASSERT_EQ(kit.session.CardTransactions.Count(), 1);
    const TXykDetail& r = kit.session.CardTransactions.Item(0);
    EXPECT_EQ(r.f_Jydm, "PCA");
    EXPECT_EQ(r.f_Jyje, "12340");
    EXPECT_EQ(r.f_Bmbm, "0101");
    EXPECT_EQ(r.f_Djh, kit.session.Djh);
    EXPECT_EQ(r.f_Rzrq, "20040615");
    EXPECT_EQ(r.f_Jyrq, "0615");
    EXPECT_EQ(r.f_Jysk, "090807");
    EXPECT_EQ(r.f_Poslsh, "LS1");
    ASSERT_EQ(kit.consumptionRecords.size(), 1);
    EXPECT_EQ(kit.consumptionRecords[0],
              (QVariantList{"2", "0101", kit.session.Djh, "PCA", "622202******7890", "12340", "090807",
                            "0615", "TRK2TRK2TRK2", "TRK3", QString()}));
    EXPECT_EQ(kit.ShownTexts(), QStringList{QStringLiteral("交易成功")});
    // No payment entry: the settlement screen books it.
    EXPECT_EQ(kit.session.PaymentEntries.Count(), 0);
}

// An approved charge logs one line: the card's last four digits, the amount,
// the host's consumption serial; a refused one logs none. Neither logs the
// swiped card number or track data.
TEST_F(BankCardScreen, ApprovedChargeLogsOneLineWithTheMaskedNumber)
{
    LogCapture log;
    ASSERT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 1);
    kit.terminal.result.response = Response("A01234");
    ASSERT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 2);
    EXPECT_EQ(log.linesOf("qiantai.cards"),
              QStringList{"bank card charge ****7890 amount 123.40 serial LS1 document " + kit.session.Djh});
    for (const QString& line : log.lines())
        for (const char* secret : {"6222021234567890", "49121010000"})
            EXPECT_FALSE(line.contains(QLatin1String(secret))) << line.toStdString();
}

TEST_F(BankCardScreen, RefusedTransactionLeavesARecordWithTheRefusalCodeAndNoAmount)
{
    kit.terminal.result.response = Response("A01234");
    EXPECT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 2);
    ASSERT_EQ(kit.session.CardTransactions.Count(), 1);
    const TXykDetail& r = kit.session.CardTransactions.Item(0);
    EXPECT_EQ(r.f_Jydm, "A34");
    EXPECT_EQ(r.f_Jyje, "0");
    EXPECT_EQ(r.f_Poslsh, "LS1");
    EXPECT_EQ(kit.ShownTexts(), QStringList{QStringLiteral("交易失败，错误码A01234")});
    EXPECT_DOUBLE_EQ(screen->EnteredAmount, 0);
}

TEST_F(BankCardScreen, AmountRefusalsKeepTheScreenInAmountEntryAndEscLeavesWithoutARecord)
{
    bool stillInAmountEntry = false;
    kit.terminal.during = [] { ADD_FAILURE() << "no transaction expected"; };
    const int result = Run(QStringLiteral("200<Enter>abc1..2<Enter>0<Enter><Esc>"), {});
    stillInAmountEntry = !screen->AmountField()->isHidden();
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(stillInAmountEntry);
    EXPECT_EQ(kit.ShownTexts(),
              (QStringList{QStringLiteral("信用卡支付不能大于剩余支付金额，请从新录入"),
                           QStringLiteral("“1..2”不是有效的数字"), QStringLiteral("支付金额必须大于零")}));
    EXPECT_TRUE(kit.terminal.requests.isEmpty());
    EXPECT_EQ(kit.session.CardTransactions.Count(), 0);
}

TEST_F(BankCardScreen, KeysAreIgnoredWhileTheTransactionRuns)
{
    kit.terminal.during = [this] {
        QTest::keyClick(screen->ConfirmField(), Qt::Key_Escape);
        QTest::keyClick(screen.get(), Qt::Key_Escape);
        EXPECT_TRUE(screen->isVisible());
        EXPECT_TRUE(screen->Busy());
    };
    EXPECT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 1);
    EXPECT_EQ(kit.session.CardTransactions.Count(), 1);
}

TEST_F(BankCardScreen, NoTerminalAnswerIsAMessageWithoutRecordOrPayment)
{
    kit.terminal.result = CardTerminalResult{false, {}, QStringLiteral("无法加载卡终端库 libsldll.so: x")};
    EXPECT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 2);
    EXPECT_EQ(kit.session.CardTransactions.Count(), 0);
    EXPECT_TRUE(kit.consumptionRecords.isEmpty());
    EXPECT_EQ(kit.ShownTexts(), QStringList{QStringLiteral("无法加载卡终端库 libsldll.so: x")});
}

TEST_F(BankCardScreen, RefusedConsumptionRecordLeavesTheSerialEmptyAndThePaymentStands)
{
    kit.fakeHost.on(dispid::RecordCardConsumption, [](QVariantList& args) {
        args[1] = QStringLiteral("流水号分配失败");
        return QVariant(false);
    });
    EXPECT_EQ(Run(QStringLiteral("<Enter>") + swipe + QStringLiteral("<Enter><Enter>")), 1);
    ASSERT_EQ(kit.session.CardTransactions.Count(), 1);
    EXPECT_EQ(kit.session.CardTransactions.Item(0).f_Poslsh, QString());
    ASSERT_EQ(kit.shown.size(), 2);
    EXPECT_EQ(kit.shown[1].text, QStringLiteral("流水号分配失败"));
    EXPECT_EQ(kit.shown[1].caption, QStringLiteral("取信用卡消费流水报错"));
}
