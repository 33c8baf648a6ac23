#include "base/gbk.h"
#include "devices/escposprinter.h"
#include "loopbackreceiver.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ClosedLoopbackPort;
using qiantai::test::LoopbackReceiver;

namespace {

const QByteArray InitGbk("\x1b\x40\x1c\x26", 4); // ESC @, FS &
const QByteArray FullCut("\x1d\x56\x00", 3);     // GS V 0

// A resolver that knows one device name.
PrinterResolver onlyOmron(const QString& uri)
{
    return [uri](const QString& name) { return name == QLatin1String("OmronPrinter") ? uri : QString(); };
}

QString tcpUri(quint16 port)
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port);
}

// Open, Claim and enable, as the sales screen's start-up does.
void startUp(EscPosPrinter& p)
{
    ASSERT_EQ(p.Open("OmronPrinter"), opos::Success);
    ASSERT_EQ(p.Claim(1000), opos::Success);
    ASSERT_EQ(p.SetDeviceEnabled(true), opos::Success);
    ASSERT_TRUE(p.DeviceEnabled());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(PrinterTarget, ParsesTcpAndFileUris)
{
    using K = PrinterTarget::Kind;
    const struct {
        const char* uri;
        K kind;
        const char* hostOrPath;
        quint16 port;
    } cases[] = {
        {"tcp://127.0.0.1:9100", K::Tcp, "127.0.0.1", 9100},
        {" TCP://printer.local ", K::Tcp, "printer.local", DefaultPrinterPort},
        {"tcp://[::1]:9101", K::Tcp, "::1", 9101},
        {"tcp://10.0.0.5:9100/", K::Tcp, "10.0.0.5", 9100},
        {"file:/dev/usb/lp0", K::File, "/dev/usb/lp0", 0},
        {"FILE:///var/spool/receipt.prn", K::File, "/var/spool/receipt.prn", 0},
        {"file:receipt.prn", K::File, "receipt.prn", 0},
        {"", K::Invalid, "", 0},
        {"lp0", K::Invalid, "", 0},
        {"tcp://", K::Invalid, "", 0},
        {"tcp://host:70000", K::Invalid, "", 0},
        {"tcp://host:9100/queue", K::Invalid, "", 0},
        {"tcp://user@host:9100", K::Invalid, "", 0},
        {"file:", K::Invalid, "", 0},
        {"file://server/share/x.prn", K::Invalid, "", 0},
        {"http://host:9100", K::Invalid, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uri);
        const PrinterTarget t = ParsePrinterTarget(QString::fromUtf8(c.uri));
        EXPECT_EQ(t.kind, c.kind);
        if (c.kind == K::Tcp) {
            EXPECT_EQ(t.host, QString::fromUtf8(c.hostOrPath));
            EXPECT_EQ(t.port, c.port);
        } else if (c.kind == K::File) {
            EXPECT_EQ(t.path, QString::fromUtf8(c.hostOrPath));
        }
    }
}

TEST(EscPosPrinter, SendsInitialiseGbkTextFeedsAndCutOverTcp)
{
    LoopbackReceiver printer;
    QStringList asked;
    EscPosPrinter p([&](const QString& name) {
        asked << name;
        return tcpUri(printer.port());
    });
    startUp(p);
    const QString text = QStringLiteral("百货店销货单\r\n销售单号：0000000012\r\n");
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, text), opos::Success);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "\n"), opos::Success);
    EXPECT_EQ(p.CutPaper(opos::FullCut), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);

    EXPECT_EQ(asked, QStringList{"OmronPrinter"});
    EXPECT_EQ(printer.bytes().toHex(' '), (InitGbk + ToGbk(text) + "\n\n\n\n" + FullCut).toHex(' '));
}

TEST(EscPosPrinter, InitialisesOnceAfterEachEnablingAndCutsPartially)
{
    LoopbackReceiver printer;
    EscPosPrinter p(onlyOmron(tcpUri(printer.port())));
    startUp(p);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "A\n"), opos::Success);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "B\n"), opos::Success);
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::Success); // already enabled: no new initialise
    EXPECT_EQ(p.CutPaper(50), opos::Success);
    EXPECT_EQ(p.SetDeviceEnabled(false), opos::Success);
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::Success);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "C\n"), opos::Success);
    EXPECT_EQ(p.Release(), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);

    const QByteArray expected = InitGbk + "A\nB\n" + QByteArray("\x1d\x56\x01", 3) + InitGbk + "C\n";
    EXPECT_EQ(printer.bytes().toHex(' '), expected.toHex(' '));
}

TEST(EscPosPrinter, ConnectsAgainWhenThePrinterDroppedTheConnection)
{
    LoopbackReceiver printer(/*dropFirst=*/true);
    EscPosPrinter p(onlyOmron(tcpUri(printer.port())));
    startUp(p);
    printer.waitUntilDropped();
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "A\n"), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);
    EXPECT_EQ(printer.bytes().toHex(' '), (InitGbk + "A\n").toHex(' '));
}

// A printer switched off and on forgets ESC @ and the Chinese mode: the
// next receipt on the new connection starts with them again.
TEST(EscPosPrinter, InitialisesAgainOnEveryNewConnection)
{
    LoopbackReceiver printer;
    EscPosPrinter p(onlyOmron(tcpUri(printer.port())));
    startUp(p);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "A\n"), opos::Success);
    printer.dropConnection();
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "B\n"), opos::Success);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "C\n"), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);
    EXPECT_EQ(printer.bytes().toHex(' '), (InitGbk + "A\n" + InitGbk + "B\nC\n").toHex(' '));
}

TEST(EscPosPrinter, AppendsToAFileAndHonoursTheEncoding)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("receipt.prn");
    {
        EscPosPrinter p(onlyOmron("file:" + path));
        startUp(p);
        EXPECT_EQ(p.PrintNormal(opos::StationReceipt, QStringLiteral("现金\r\n")), opos::Success);
    }
    EXPECT_EQ(readFile(path), InitGbk + ToGbk(QStringLiteral("现金\r\n")));

    // A second receipt goes after the first; a single-byte encoding gets no
    // Chinese mode.
    EscPosSettings latin;
    latin.encoding = "ISO-8859-1";
    EscPosPrinter p(onlyOmron("file://" + path), latin);
    startUp(p);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, QStringLiteral("caf\u00e9\n")), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);
    EXPECT_EQ(readFile(path), InitGbk + ToGbk(QStringLiteral("现金\r\n")) + "\x1b\x40" + "caf\xe9\n");
}

TEST(EscPosPrinter, OpenFailsWhenThePrinterCannotServe)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EscPosSettings unknownEncoding;
    unknownEncoding.encoding = "NO-SUCH-ENCODING";
    const struct {
        const char* what;
        PrinterResolver resolver;
        EscPosSettings settings;
        long code;
    } cases[] = {
        {"nothing listens", onlyOmron(tcpUri(ClosedLoopbackPort())), {}, opos::ENoHardware},
        {"unknown device name", onlyOmron(""), {}, opos::ENoExist},
        {"no resolver", nullptr, {}, opos::ENoExist},
        {"malformed uri", onlyOmron("lpt1"), {}, opos::ENoService},
        {"missing directory", onlyOmron("file:" + dir.filePath("none/lp0")), {}, opos::ENoHardware},
        {"unknown encoding", onlyOmron("file:" + dir.filePath("r.prn")), unknownEncoding, opos::ENoService},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EscPosPrinter p(c.resolver, c.settings);
        EXPECT_EQ(p.Open("OmronPrinter"), c.code);
        // Still closed afterwards.
        EXPECT_EQ(p.Claim(1000), opos::EClosed);
        EXPECT_EQ(p.Close(), opos::EClosed);
    }
}

TEST(EscPosPrinter, StateRules)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("r.prn");
    EscPosPrinter p(onlyOmron("file:" + path));

    // Closed: everything but Open answers E_CLOSED.
    EXPECT_EQ(p.Claim(1000), opos::EClosed);
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::EClosed);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "x"), opos::EClosed);
    EXPECT_EQ(p.CutPaper(opos::FullCut), opos::EClosed);
    EXPECT_EQ(p.Release(), opos::EClosed);
    EXPECT_EQ(p.Close(), opos::EClosed);

    // Open, not claimed.
    ASSERT_EQ(p.Open("OmronPrinter"), opos::Success);
    EXPECT_EQ(p.Open("OmronPrinter"), opos::EIllegal);
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::ENotClaimed);
    EXPECT_FALSE(p.DeviceEnabled());
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "x"), opos::ENotClaimed);
    EXPECT_EQ(p.Release(), opos::EIllegal);
    EXPECT_EQ(p.Claim(-2), opos::EIllegal);
    EXPECT_FALSE(p.Claimed());

    // Claimed, not enabled.
    EXPECT_EQ(p.Claim(opos::Forever), opos::Success);
    EXPECT_EQ(p.Claim(1000), opos::Success);
    EXPECT_TRUE(p.Claimed());
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "x"), opos::EDisabled);
    EXPECT_EQ(p.CutPaper(opos::FullCut), opos::EDisabled);

    // Enabled: only the receipt station and cut percentages 1..100.
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::Success);
    EXPECT_EQ(p.PrintNormal(opos::StationJournal, "x"), opos::EIllegal);
    EXPECT_EQ(p.PrintNormal(opos::StationSlip, "x"), opos::EIllegal);
    EXPECT_EQ(p.CutPaper(0), opos::EIllegal);
    EXPECT_EQ(p.CutPaper(101), opos::EIllegal);

    // Release disables; the closing order of the sales screen is Close, then
    // Release.
    EXPECT_EQ(p.Release(), opos::Success);
    EXPECT_FALSE(p.DeviceEnabled());
    EXPECT_FALSE(p.Claimed());
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "x"), opos::ENotClaimed);
    EXPECT_EQ(p.Claim(1000), opos::Success);
    EXPECT_EQ(p.SetDeviceEnabled(true), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);
    EXPECT_FALSE(p.DeviceEnabled());
    EXPECT_EQ(p.Release(), opos::EClosed);

    // Refused calls wrote nothing.
    EXPECT_TRUE(readFile(path).isEmpty());
    // It can be opened again after Close.
    EXPECT_EQ(p.Open("OmronPrinter"), opos::Success);
}

TEST(EscPosPrinter, AFailedWriteIsReported)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EscPosPrinter p(onlyOmron("file:/dev/full"));
    startUp(p);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "x\n"), opos::EFailure);
    EXPECT_EQ(p.CutPaper(opos::FullCut), opos::EFailure);
}

// The real-time status as the receipt path reads it: asked on the printing
// connection after the set-up, mapped to result codes, never printed.
TEST(EscPosPrinter, CheckStatusMapsTheRealTimeStatus)
{
    using S = LoopbackReceiver::Status;
    const struct {
        const char* name;
        S status;
        long code, extended;
    } cases[] = {
        {"ready", {}, opos::Success, 0},
        {"paper out", {0x12, 0x12, LoopbackReceiver::PaperOut}, opos::EExtended, opos::EptrRecEmpty},
        {"cover open", {0x1a, LoopbackReceiver::CoverOpen, 0x12}, opos::EExtended, opos::EptrCoverOpen},
        {"off line", {LoopbackReceiver::Offline, 0x12, 0x12}, opos::EOffline, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackReceiver printer(c.status);
        EscPosPrinter p(onlyOmron(tcpUri(printer.port())));
        startUp(p);
        EXPECT_EQ(p.CheckStatus(), c.code);
        EXPECT_EQ(p.ResultCodeExtended(), c.extended);
        EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "A\n"), opos::Success);
        EXPECT_EQ(p.Close(), opos::Success);
        EXPECT_EQ(printer.statusRequests(), 3);
        EXPECT_EQ(printer.bytes().toHex(' '), (InitGbk + "A\n").toHex(' '));
    }
}

TEST(EscPosPrinter, APrinterThatDoesNotAnswerStatusIsReadyAndAskedOnce)
{
    LoopbackReceiver printer;
    EscPosPrinter p(onlyOmron(tcpUri(printer.port())), EscPosSettings{"GBK", {3000, 5000, 200}});
    startUp(p);
    EXPECT_EQ(p.CheckStatus(), opos::Success);
    EXPECT_EQ(p.PrintNormal(opos::StationReceipt, "A\n"), opos::Success);
    EXPECT_EQ(p.CheckStatus(), opos::Success);
    EXPECT_EQ(p.Close(), opos::Success);
    const QByteArray request("\x10\x04\x01\x10\x04\x02\x10\x04\x04", 9);
    EXPECT_EQ(printer.bytes().toHex(' '), (InitGbk + request + "A\n").toHex(' '));

    // A file has no status to give.
    QTemporaryDir dir;
    EscPosPrinter file(onlyOmron("file:" + dir.filePath("r.prn")));
    startUp(file);
    EXPECT_EQ(file.CheckStatus(), opos::Success);
}
