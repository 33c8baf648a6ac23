// A cashier's keys typed into the real settlement screen and its dialogs.
#include "keyrobot.h"
#include "screens/checkout/entercheckout.h"
#include "typedsale.h"

#include <gmock/gmock.h>

#include <QFile>
#include <QTemporaryDir>

namespace qiantai {
namespace {

class TypedCheckoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(iniDir.isValid());
        QFile ini(iniDir.filePath(QStringLiteral("Quelmarpos.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        // No pause after recording; a receipt would go to a file, never to a
        // printer.
        ini.write("[checkout]\nrecordpause=0\n[Report]\nOutput=" +
                  iniDir.filePath(QStringLiteral("receipt.pdf")).toUtf8() + "\n");
        ini.close();
        qputenv("QIANTAI_INI_DIR", iniDir.path().toUtf8());

        test::PrepareTypedSale(Session(), store);
        Session().Khxx = QStringLiteral("旧");
    }
    void TearDown() override
    {
        qunsetenv("QIANTAI_INI_DIR");
        Session() = SaleSession();
    }

    QTemporaryDir iniDir;
    test::StoreFixture* store = new test::StoreFixture;
};

TEST_F(TypedCheckoutTest, SixtyAndFiftyCashThenEnterRecords)
{
    test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Enter>"      // customer information kept
                                           "<KP1><Enter>" // picker: cash
                                           "60<Enter>"    // amount entry
                                           "<Enter>"      // picker: cash again
                                           "50<Enter>"    // covered: the loop ends
                                           "<Enter>"      // settlement: record
                                           "<Esc>")));    // the receipt did not print: go on
    EXPECT_TRUE(EnterCheckout(nullptr));
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();

    const SaleSession& s = Session();
    ASSERT_EQ(s.PaymentEntries.Count(), 2);
    EXPECT_DOUBLE_EQ(s.PaymentEntries[0].Amount, 60);
    EXPECT_DOUBLE_EQ(s.PaymentEntries[1].Amount, 50);
    EXPECT_DOUBLE_EQ(s.AmountPaid - s.AmountDue, 10);
    ASSERT_EQ(store->count(dispid::SaveSale), 1);
    const QVariantList save = store->callsTo(dispid::SaveSale)[0].args;
    EXPECT_EQ(save[0], QVariant("0000000042"));
    const DataPacket payments = packetFromVariant(save[11].toList()[0]);
    ASSERT_EQ(payments.rowCount(), 3);
    EXPECT_EQ(payments.row(2).mid(0, 2), (QVariantList{-1, 10.0}));
    EXPECT_TRUE(s.Khxx.isEmpty());
}

TEST_F(TypedCheckoutTest, EscapedSettlementKeepsTheDocument)
{
    test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Enter><Esc><Esc>")));
    EXPECT_FALSE(EnterCheckout(nullptr));
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();
    EXPECT_EQ(store->count(dispid::SaveSale), 0);
    EXPECT_EQ(Session().SaleLines.Count(), 1);
}

} // namespace
} // namespace qiantai
