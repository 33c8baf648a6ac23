#include "entry/getformone.h"

#include "entry/operatorcode.h"
#include "entry/stationservices.h"
#include "sale/salesession.h"
#include "screens/sales/frmmain.h"

#include <QGuiApplication>
#include <QPointer>

namespace qiantai {

namespace {

QPointer<TFrmMain>& OpenScreen()
{
    static QPointer<TFrmMain> screen;
    return screen;
}

} // namespace

void OpenSalesModule(QWidget* hostApp, QWidget* hostControl, const unsigned char* operatorShortString,
                     int32_t /*ignored*/, ICoorDisp* host)
{
    // A second call while a sales screen is open brings that screen forward.
    if (TFrmMain* open = OpenScreen(); open && !open->Closed()) {
        open->raise();
        open->activateWindow();
        return;
    }

    SaleSession& s = Session();
    const OperatorCode code(operatorShortString);
    s.Syybm = code.text();
    s.HostAppHandle = hostApp;
    s.OwnerWindow = hostApp;
    s.HostObject.reset(host);
    s.HostControl = hostControl;

    auto* screen = new TFrmMain(hostApp, hostControl, StationStartupServices());
    OpenScreen() = screen;
    // Keyboard only: the pointer stays hidden while the screen is open;
    // the screen shows it again when it closes.
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    screen->show();
    if (OpenScreen() && screen->StartupOk())
        screen->BeginSaleDocument();
    s.OwnerWindow = nullptr;
}

} // namespace qiantai
