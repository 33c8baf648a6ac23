#include "devices/printerstatus.h"
#include "loopbackreceiver.h"
#include "statusprinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

PrinterTarget Tcp(quint16 port)
{
    return ParsePrinterTarget(QStringLiteral("tcp://127.0.0.1:%1").arg(port));
}

} // namespace

TEST(PrinterStatus, StatusBytesNameWhatStopsPrinting)
{
    const struct {
        unsigned char printer, paper;
        const char* expected;
    } cases[] = {
        {0x12, 0x12, ""},
        {0x1a, 0x12, "offline"},
        {0x32, 0x12, "waiting for the feed button"},
        {0x12, 0x72, "out of paper"},
        {0x1a, 0x72, "offline, out of paper"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribePrinterStatusBytes(c.printer, c.paper), QString::fromLatin1(c.expected))
            << int(c.printer) << " " << int(c.paper);
}

TEST(PrinterStatus, ANetworkPrinterIsAskedAndItsAnswerDecoded)
{
    {
        test::StatusPrinter ready({{1, 0x12}, {4, 0x12}});
        const PrinterStatus s = AskPrinterStatus(Tcp(ready.port()), 2000);
        EXPECT_TRUE(s.reachable && s.answered && s.ready) << s.text.toStdString();
    }
    {
        test::StatusPrinter noPaper({{1, 0x12}, {4, 0x72}});
        const PrinterStatus s = AskPrinterStatus(Tcp(noPaper.port()), 2000);
        EXPECT_TRUE(s.answered);
        EXPECT_FALSE(s.ready);
        EXPECT_TRUE(s.text.contains(QLatin1String("out of paper"))) << s.text.toStdString();
    }
    {
        // Takes bytes but never answers: reachable, not known to be ready.
        test::LoopbackReceiver silent;
        const PrinterStatus s = AskPrinterStatus(Tcp(silent.port()), 300);
        EXPECT_TRUE(s.reachable);
        EXPECT_FALSE(s.answered);
        EXPECT_FALSE(s.ready);
        // Nothing but the status requests was sent.
        EXPECT_EQ(silent.bytes(), QByteArray("\x10\x04\x01\x10\x04\x04", 6));
    }
    const PrinterStatus closed = AskPrinterStatus(Tcp(test::ClosedLoopbackPort()), 1000);
    EXPECT_FALSE(closed.reachable);
    EXPECT_FALSE(AskPrinterStatus(ParsePrinterTarget(QStringLiteral("lpt1")), 100).reachable);
}

TEST(PrinterStatus, AFileTargetIsWritableWithoutBeingCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fresh = dir.filePath(QStringLiteral("receipt.prn"));
    const PrinterStatus s = AskPrinterStatus(ParsePrinterTarget(QStringLiteral("file:") + fresh), 100);
    EXPECT_TRUE(s.ready) << s.text.toStdString();
    EXPECT_FALSE(QFile::exists(fresh));
    const PrinterStatus missing = AskPrinterStatus(
        ParsePrinterTarget(QStringLiteral("file:") + dir.filePath(QStringLiteral("no/such/receipt.prn"))),
        100);
    EXPECT_FALSE(missing.reachable);
}
