#include "screens/cards/stationcardservices.h"

#include "base/inifile.h"
#include "screens/lookups/showhostmessage.h"

#include <QPointer>
#include <QWidget>

namespace qiantai {

bool StationFrontEndSettings(const QString& yckqzj, CardFrontEndSettings& settings, QString& error)
{
    const QString section = QStringLiteral("CardFrontEnd");
    CardFrontEndSettings s;
    s.port = StationIni::intValue(section, QStringLiteral("Port"), s.port);
    s.connectTimeoutSeconds =
        StationIni::intValue(section, QStringLiteral("ConnectTimeout"), s.connectTimeoutSeconds);
    s.readTimeoutSeconds = StationIni::intValue(section, QStringLiteral("ReadTimeout"), s.readTimeoutSeconds);
    s.tls = StationIni::boolValue(section, QStringLiteral("Tls"), s.tls);
    s.caFile = StationIni::value(section, QStringLiteral("CaFile"), s.caFile);
    s.tillKey = StationIni::value(section, QStringLiteral("TillKey"), s.tillKey);
    s.certFile = StationIni::value(section, QStringLiteral("CertFile"), s.certFile);
    s.keyFile = StationIni::value(section, QStringLiteral("KeyFile"), s.keyFile);
    if (!ApplyFrontEndAddress(yckqzj.trimmed(), &s)) {
        error = QStringLiteral("无效的卡前置机地址 ") + yckqzj;
        return false;
    }
    settings = s;
    return true;
}

CardServices StationCardServices(const QString& yckqzj, QWidget* owner)
{
    QPointer<QWidget> parent(owner);
    return CardServices(
        [yckqzj](QString& error) -> std::unique_ptr<CardFrontEnd> {
            CardFrontEndSettings settings;
            if (!StationFrontEndSettings(yckqzj, settings, error))
                return nullptr;
            return std::make_unique<CardFrontEndClient>(settings);
        },
        [parent](const QVariant& message, const QString& caption, InfoKind kind) {
            return ShowHostMessage(message, caption, QString(), kind, parent.data());
        });
}

} // namespace qiantai
