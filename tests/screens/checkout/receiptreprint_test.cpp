// F10's reprint entry after a sale typed through the settlement screen: the
// loopback receipt printer gets the same receipt again under the reprint
// mark, and the host is asked nothing.
#include "keyrobot.h"
#include "loopbackreceiver.h"
#include "modalscript.h"
#include "stationdirectory.h"
#include "typedsale.h"

#include "base/gbk.h"
#include "devices/escposprinter.h"
#include "qiantai/dispids.h"
#include "screens/cards/systools.h"
#include "screens/checkout/entercheckout.h"
#include "screens/checkout/receiptreprint.h"
#include "screens/checkout/receipttext.h"
#include "screens/lookups/frminfo.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

const QByteArray Init("\x1b\x40\x1c\x26", 4);
const QByteArray Closing = QByteArray("\n\n\n\n\n") + QByteArray("\x1d\x56\x00", 3);

class ReceiptReprintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(station.IsValid());
        ASSERT_TRUE(station.WriteStation("[checkout]\nrecordpause=0\n"));
        SaleSession& s = Session();
        test::PrepareTypedSale(s, store);
        BuildSystemTools(s);
        RegisterReceiptReprintTool();
        s.Xsxpdyfs = QStringLiteral("1");
        s.Bmmc = QStringLiteral("电器一店");

        auto printer = std::make_shared<EscPosPrinter>(
            [this](const QString&) { return QStringLiteral("tcp://127.0.0.1:%1").arg(receiver.port()); });
        ASSERT_EQ(printer->Open("OmronPrinter"), opos::Success);
        ASSERT_EQ(printer->Claim(1000), opos::Success);
        ASSERT_EQ(printer->SetDeviceEnabled(true), opos::Success);
        s.PosPrinter = printer;
    }
    void TearDown() override { Session() = SaleSession(); }

    // F10's menu, the third entry chosen.
    static void chooseReprint()
    {
        test::KeyRobot robot;
        ASSERT_TRUE(robot.start(QStringLiteral("3<Enter>")));
        EXPECT_TRUE(OpenSystemTools(nullptr, nullptr));
        EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();
    }
    // Everything the printer got, once the session lets it go.
    QByteArray printed()
    {
        Session().PosPrinter->Close();
        return receiver.bytes();
    }

    test::StationDirectory station;
    test::LoopbackReceiver receiver{test::LoopbackReceiver::Status{}};
    test::StoreFixture* store = new test::StoreFixture;
};

TEST_F(ReceiptReprintTest, AfterASaleTheReceiptPrintsAgainUnderTheMarkAndNothingIsRecorded)
{
    test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Enter>"      // customer information
                                           "<KP1><Enter>" // picker: cash
                                           "100<Enter>"   // amount entry: covered
                                           "<Enter>")));  // settlement: record
    ASSERT_TRUE(EnterCheckout(nullptr));
    ASSERT_TRUE(robot.waitDone()) << robot.error().toStdString();
    ASSERT_EQ(store->count(dispid::SaveSale), 1);
    const qsizetype hostCalls = store->calls().size();

    chooseReprint();

    EXPECT_EQ(store->calls().size(), hostCalls);
    const QByteArray bytes = printed();
    ASSERT_TRUE(bytes.startsWith(Init));
    const qsizetype firstEnd = bytes.indexOf(Closing);
    ASSERT_GT(firstEnd, 0);
    const QByteArray receipt = bytes.mid(Init.size(), firstEnd - Init.size());
    EXPECT_TRUE(receipt.contains(ToGbk(QStringLiteral("销售单号：0000000042\r\n"))));
    const QByteArray mark = ToGbk(QString(14, QLatin1Char(' ')) + QStringLiteral("*** 重印 ***\r\n"));
    EXPECT_EQ(bytes.mid(firstEnd + Closing.size()).toHex(' '), (mark + receipt + Closing).toHex(' '));
}

TEST_F(ReceiptReprintTest, WithoutAReceiptInThisSessionTheCashierIsTold)
{
    QString shown;
    test::ModalScript box(QStringLiteral("<Enter>"), [&shown](QWidget* modal) {
        if (auto* info = qobject_cast<TfrmInfo*>(modal))
            shown = info->message();
    });
    ReprintLastReceipt(nullptr);
    EXPECT_TRUE(box.done());
    EXPECT_EQ(shown, QStringLiteral("本次登录还没有打印过小票，没有可重印的小票！"));
    EXPECT_TRUE(store->calls().isEmpty());
}

} // namespace
} // namespace qiantai
