#include "screens/cards/cardscreencontext.h"

#include "base/inifile.h"
#include "devices/cardterminal.h"
#include "sale/salesession.h"
#include "screens/cards/stationcardservices.h"
#include "screens/lookups/showhostmessage.h"

#include <QPointer>
#include <QWidget>

namespace qiantai {

void CardScreenContext::Show(const QVariant& message, const QString& caption) const
{
    if (show)
        show(message, caption, InfoKind::Statement);
}

QDateTime CardScreenContext::Now() const
{
    return now ? now() : QDateTime::currentDateTime();
}

CardScreenEnvironment::CardScreenEnvironment(QWidget* owner)
{
    SaleSession& s = Session();
    QPointer<QWidget> parent(owner);
    auto show = [parent](const QVariant& message, const QString& caption, InfoKind kind) {
        return ShowHostMessage(message, caption, QString(), kind, parent.data());
    };
    host_ = std::make_unique<HostService>(s.HostObject.get());
    cards_ = std::make_unique<CardServices>(StationCardServices(s.Yckqzj, owner));
    CardTerminalSettings terminal;
    terminal.library =
        StationIni::value(QStringLiteral("CardTerminal"), QStringLiteral("Library"), terminal.library);
    terminal_ = std::make_unique<LibraryCardTerminal>(terminal);
    context_.session = &s;
    context_.host = host_.get();
    context_.cards = cards_.get();
    context_.terminal = terminal_.get();
    context_.show = show;
}

CardScreenEnvironment::~CardScreenEnvironment() = default;

} // namespace qiantai
