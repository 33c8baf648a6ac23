// A cashier's keys typed into the real settlement screen and its dialogs.
#include "keyrobot.h"
#include "screens/checkout/entercheckout.h"
#include "screens/collection/unifiedcollection.h"
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

// The payments of the recorded document: rows of (f_Zffs, f_Zfje).
QList<QVariantList> RecordedPayments(const test::FakeHost& host)
{
    const QVariantList save = host.callsTo(dispid::SaveSale).value(0).args;
    const DataPacket payments = packetFromVariant(save.value(11).toList().value(0));
    QList<QVariantList> rows;
    for (int r = 0; r < payments.rowCount(); ++r)
        rows.append(payments.row(r).mid(0, 2));
    return rows;
}

TEST_F(TypedCheckoutTest, SuspensionEntryIsTheLastCashRowRecorded)
{
    test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Enter>"      // customer information kept
                                           "<KP1><Enter>" // picker: cash
                                           "30<Enter>"    // amount entry
                                           "<Esc>"        // picker cancelled
                                           "<F7><F7>"     // the rest on suspension, twice
                                           "<Enter>"      // record
                                           "<Esc>")));    // the receipt did not print: go on
    EXPECT_TRUE(EnterCheckout(nullptr));
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();
    ASSERT_EQ(store->count(dispid::SaveSale), 1);
    EXPECT_EQ(RecordedPayments(*store), (QList<QVariantList>{{0, 30.0}, {0, 70.0}, {-1, 0.0}}));
    EXPECT_EQ(store->callsTo(dispid::SaveSale)[0].args[11].toList().value(2), QVariant(1));
}

TEST_F(TypedCheckoutTest, CentralDeskCollectsWhatTwoSuspendedDocumentsStillOwe)
{
    store->answer(dispid::GetCurrentDate, 0, QStringLiteral("20040615"));
    // Documents 12 and 305 were suspended after 30 and 50 of their 100 were
    // paid at the counter: the host answers what they still owe.
    const struct {
        const char* number;
        double owed;
    } documents[] = {{"0000000012", 70}, {"0000000305", 50}};
    for (const auto& d : documents)
        store->queries[UnifiedDocumentSql(Session(), false, QString::fromLatin1(d.number),
                                          QStringLiteral("20040615"))] =
            test::FakeHost::table({"f_Dsje", "f_Xjje"}, {{d.owed, 100.0}});

    test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Enter>"           // customer information kept
                                           "<Esc>"             // picker cancelled
                                           "<F8>12,305<Enter>" // collect two documents
                                           "<Enter>"           // not covered: the picker again
                                           "<KP1><Enter>"      // cash
                                           "<Enter>"           // the remaining amount
                                           "<Enter>"           // record
                                           "<Esc>")));
    EXPECT_TRUE(EnterCheckout(nullptr));
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();

    EXPECT_DOUBLE_EQ(Session().UnifiedTotal, 120);
    ASSERT_EQ(store->count(dispid::SaveSale), 1);
    EXPECT_EQ(RecordedPayments(*store), (QList<QVariantList>{{0, 220.0}, {-1, 0.0}, {0, -120.0}}));
}

} // namespace
} // namespace qiantai
