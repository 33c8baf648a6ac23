#include "base/gbk.h"
#include "devices/stationprinter.h"
#include "devices/systemclock.h"
#include "fakehost.h"
#include "report/reportprinter.h"
#include "sale/packets.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"
#include "screens/checkout/checkoutservices.h"
#include "screens/checkout/receipt.h"
#include "screens/checkout/receipttext.h"
#include "stationdirectory.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

// A temporary station directory named by QIANTAI_INI_DIR for the test's
// duration.
class StationReceiptTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(station.IsValid()); }
    void writeStation(const QString& text) { ASSERT_TRUE(station.WriteStation(text.toUtf8())); }
    QByteArray read(const QString& name) { return station.Read(name); }

    qiantai::test::StationDirectory station;
};

} // namespace

TEST_F(StationReceiptTest, DefaultsWhenTheStationSetsNothing)
{
    EXPECT_EQ(StationPrinterUri(ReceiptPrinterDevice), "tcp://127.0.0.1:9100");
    EXPECT_EQ(StationPrinterEncoding(), "GBK");
    EXPECT_EQ(StationReportOutput(), "printer");
}

TEST_F(StationReceiptTest, PrinterAndReportOutputComeFromTheStationIni)
{
    writeStation("[printer]\r\nomronprinter = file:" + station.Path("receipt.prn") +
                 "\r\nEncoding=GBK\r\n[Report]\r\nOutput=" + station.Path("receipt.pdf") + "\r\n");
    SaleSession s;
    BuildPaymentMethods(s);
    s.Bmmc = QStringLiteral("百货店");
    s.Djh = "0000000012";
    const DataPacket lines = SaleLinesPacket(s.SaleLines);

    // Text mode: the device name resolves to the file.
    s.Xsxpdyfs = "1";
    s.PosPrinter = CreateStationPrinter();
    ASSERT_EQ(s.PosPrinter->Open(ReceiptPrinterDevice), opos::Success);
    ASSERT_EQ(s.PosPrinter->Claim(1000), opos::Success);
    ASSERT_EQ(s.PosPrinter->SetDeviceEnabled(true), opos::Success);
    QString error;
    ASSERT_TRUE(PrintReceipt(s, lines, &error)) << error.toStdString();
    s.PosPrinter->Close();
    const QByteArray bytes = read("receipt.prn");
    EXPECT_TRUE(bytes.startsWith("\x1b\x40\x1c\x26"));
    EXPECT_TRUE(bytes.contains(ToGbk(QStringLiteral("百货店销货单\r\n"))));

    // Template mode: the PDF the station names.
    s.Xsxpdyfs = "";
    s.SaleTemplates = qiantai::test::FakeHost::table({"f_reportname", "f_reportinfo"},
                                                     {{QStringLiteral("销货单"), "[Djh]"}});
    ASSERT_TRUE(PrintReceipt(s, lines, &error)) << error.toStdString();
    EXPECT_TRUE(read("receipt.pdf").startsWith("%PDF-"));
}

TEST_F(StationReceiptTest, RecordPauseComesFromTheStationIni)
{
    EXPECT_EQ(RecordPauseMs(), 1000); // no station file
    const struct {
        const char* ini;
        int ms;
    } cases[] = {
        {"[Checkout]\nRecordPause=0\n", 0},   {"[checkout]\r\nrecordpause = 250\r\n", 250},
        {"[Checkout]\nRecordPause=-5\n", 0},  {"[Checkout]\nRecordPause=soon\n", 1000},
        {"[Printer]\nRecordPause=0\n", 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        writeStation(QString::fromLatin1(c.ini));
        EXPECT_EQ(RecordPauseMs(), c.ms);
    }
}
