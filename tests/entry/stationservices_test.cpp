// The station's start-up services: the receipt report and the receipt
// printer as the station INI names them.
#include "loopbackreceiver.h"
#include "stationdirectory.h"

#include "devices/posprinter.h"
#include "entry/stationservices.h"
#include "sale/salesession.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

// A station directory named by QIANTAI_INI_DIR for the test's duration.
class StationStartupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(station.IsValid()); }
    void TearDown() override { Session().PosPrinter.reset(); }
    void printerAt(const QString& uri)
    {
        ASSERT_TRUE(station.WriteStation(("[Printer]\nOmronPrinter=" + uri + "\n").toUtf8()));
    }

    qiantai::test::StationDirectory station;
};

} // namespace

TEST_F(StationStartupTest, ReceiptReportMustLoad)
{
    const StartupServices services = StationStartupServices();
    ASSERT_TRUE(services.loadReport);
    QString error;
    EXPECT_TRUE(services.loadReport(QStringLiteral("单据号:[Djh]\n[Band]\n[f_Spbm]\n[EndBand]\n"), error))
        << error.toStdString();
    EXPECT_FALSE(services.loadReport(QStringLiteral("[Band]\n[Band]\n[EndBand]\n"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("第2行"))) << error.toStdString();
}

TEST_F(StationStartupTest, PrinterIsOpenedClaimedAndEnabled)
{
    qiantai::test::LoopbackReceiver printer;
    printerAt(QStringLiteral("tcp://127.0.0.1:%1").arg(printer.port()));
    const StartupServices services = StationStartupServices();
    ASSERT_TRUE(services.openPrinter);
    StartupStop stop;
    ASSERT_TRUE(services.openPrinter(Session(), stop));
    ASSERT_TRUE(Session().PosPrinter);
    EXPECT_TRUE(Session().PosPrinter->Claimed());
    EXPECT_TRUE(Session().PosPrinter->DeviceEnabled());
    Session().PosPrinter->Close();
}

TEST_F(StationStartupTest, UnreachablePrinterStopsTheStartup)
{
    // A port that was just free: nothing listens there.
    quint16 port = 0;
    {
        qiantai::test::LoopbackReceiver gone;
        port = gone.port();
    }
    printerAt(QStringLiteral("tcp://127.0.0.1:%1").arg(port));
    StartupStop stop;
    EXPECT_FALSE(StationStartupServices().openPrinter(Session(), stop));
    EXPECT_EQ(stop.message.toString(), QStringLiteral("初始化打印机失败，请检查打印！"));
    EXPECT_EQ(stop.caption, StartupFaultCaption());
    EXPECT_FALSE(Session().PosPrinter);
}
