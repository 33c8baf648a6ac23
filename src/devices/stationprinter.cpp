#include "devices/stationprinter.h"

#include "base/inifile.h"
#include "devices/escposprinter.h"

namespace qiantai {

const char* const ReceiptPrinterDevice = "OmronPrinter";

namespace {

const QString PrinterSection = QStringLiteral("Printer");

} // namespace

QString StationPrinterUri(const QString& deviceName)
{
    const QString uri = StationIni::value(PrinterSection, deviceName).trimmed();
    return uri.isEmpty() ? QStringLiteral("tcp://127.0.0.1:9100") : uri;
}

QString StationPrinterEncoding()
{
    const QString encoding = StationIni::value(PrinterSection, QStringLiteral("Encoding")).trimmed();
    return encoding.isEmpty() ? QStringLiteral("GBK") : encoding;
}

std::shared_ptr<PosPrinter> CreateStationPrinter()
{
    EscPosSettings settings;
    settings.encoding = StationPrinterEncoding();
    return std::make_shared<EscPosPrinter>(StationPrinterUri, settings);
}

} // namespace qiantai
