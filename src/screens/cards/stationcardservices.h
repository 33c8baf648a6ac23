// Card services of this station: the card front-end named by the store's
// Yckqzj, with the port, time-outs and TLS of the station INI, and messages
// in the information box.
#pragma once

#include "devices/cardfrontend.h"
#include "screens/cards/cardservices.h"

class QWidget;

namespace qiantai {

// [CardFrontEnd] Port, ConnectTimeout, ReadTimeout, Tls, CaFile, TillKey, CertFile and KeyFile of
// the station INI
// around the machine `yckqzj`; false with `error` when the name gives no
// usable address.
bool StationFrontEndSettings(const QString& yckqzj, CardFrontEndSettings& settings, QString& error);

// Messages are shown in the information box owned by `owner`.
CardServices StationCardServices(const QString& yckqzj, QWidget* owner);

} // namespace qiantai
