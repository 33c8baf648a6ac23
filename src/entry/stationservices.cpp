#include "entry/stationservices.h"

#include "base/inifile.h"
#include "devices/stationprinter.h"
#include "devices/systemclock.h"
#include "report/report.h"
#include "sale/salesession.h"

#include <QMessageBox>

#include <memory>
#include <utility>

namespace qiantai {

StartupServices StationStartupServices()
{
    StartupServices services;
    services.clock = &ModuleClock();
    services.clockSync = StationIni::boolValue(QStringLiteral("Clock"), QStringLiteral("Sync"), true);
    services.warn = [](const QString& title, const QString& text) {
        QMessageBox::warning(Session().OwnerWindow, title, text);
    };
    // Proves that the template loads; printing loads its own copy.
    services.loadReport = [](const QString& templateText, QString& error) {
        Report report;
        return report.Load(templateText, &error);
    };
    services.openPrinter = [](SaleSession& session, StartupStop& stop) {
        std::shared_ptr<PosPrinter> printer = CreateStationPrinter();
        if (printer->Open(QString::fromLatin1(ReceiptPrinterDevice)) != 0) {
            stop.message = QStringLiteral("初始化打印机失败，请检查打印！");
            stop.caption = StartupFaultCaption();
            return false;
        }
        if (printer->Claim(1000) == 0)
            printer->SetDeviceEnabled(true);
        session.PosPrinter = std::move(printer);
        return true;
    };
    return services;
}

} // namespace qiantai
