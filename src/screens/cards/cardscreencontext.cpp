#include "screens/cards/cardscreencontext.h"

#include "devices/cardfrontend.h"
#include "devices/cardterminal.h"
#include "host/inifile.h"
#include "sale/salesession.h"
#include "screens/lookups/showhostmessage.h"

#include <QPointer>
#include <QWidget>

namespace qiantai {

namespace {

constexpr int Statement = 1;

CardFrontEndSettings FrontEndSettings()
{
    CardFrontEndSettings settings;
    const QString section = QStringLiteral("CardFrontEnd");
    settings.port = StationIni::intValue(section, QStringLiteral("Port"), settings.port);
    settings.connectTimeoutSeconds =
        StationIni::intValue(section, QStringLiteral("ConnectTimeout"), settings.connectTimeoutSeconds);
    settings.readTimeoutSeconds =
        StationIni::intValue(section, QStringLiteral("ReadTimeout"), settings.readTimeoutSeconds);
    settings.tls = StationIni::boolValue(section, QStringLiteral("Tls"), settings.tls);
    return settings;
}

} // namespace

void CardScreenContext::Show(const QVariant& message, const QString& caption) const
{
    if (show)
        show(message, caption, Statement);
}

QDateTime CardScreenContext::Now() const
{
    return now ? now() : QDateTime::currentDateTime();
}

CardScreenEnvironment::CardScreenEnvironment(QWidget* owner)
{
    SaleSession& s = Session();
    QPointer<QWidget> parent(owner);
    auto show = [parent](const QVariant& message, const QString& caption, int kind) {
        return ShowHostMessage(message, caption, QString(), kind, parent.data());
    };
    host_ = std::make_unique<HostService>(s.HostObject.get());
    cards_ = std::make_unique<CardServices>(
        [](QString& error) -> std::unique_ptr<CardFrontEnd> {
            CardFrontEndSettings settings = FrontEndSettings();
            if (!ApplyFrontEndAddress(Session().Yckqzj, &settings)) {
                error = QStringLiteral("卡前置机地址无效: \"%1\"").arg(Session().Yckqzj);
                return nullptr;
            }
            return std::make_unique<CardFrontEndClient>(settings);
        },
        show);
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
