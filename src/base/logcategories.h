// The logging categories of every area, in one place. Each is off below
// warning by default; QT_LOGGING_RULES switches them, e.g.
//   QT_LOGGING_RULES="qiantai.*.info=true"        everything down to info
//   QT_LOGGING_RULES="qiantai.recording.debug=true"
// Log lines never hold a card number beyond its last four digits, track data
// or a password.
#pragma once

#include <QLoggingCategory>

namespace qiantai {

Q_DECLARE_LOGGING_CATEGORY(lcStartup)     // qiantai.startup: programs and the sales screen starting
Q_DECLARE_LOGGING_CATEGORY(lcRecording)   // qiantai.recording: sales recorded
Q_DECLARE_LOGGING_CATEGORY(lcPrinting)    // qiantai.printing: receipts
Q_DECLARE_LOGGING_CATEGORY(lcCardCharges) // qiantai.cards: card charges the till made
Q_DECLARE_LOGGING_CATEGORY(lcFrontEnd)    // qiantai.devices.frontend: the card front-end client
Q_DECLARE_LOGGING_CATEGORY(lcTerminal)    // qiantai.devices.terminal: the card-terminal library
Q_DECLARE_LOGGING_CATEGORY(lcHostStore)   // qiantai.host.store: the reference host's databases
Q_DECLARE_LOGGING_CATEGORY(lcCardServer)  // qiantai.cardd: the card front-end server

} // namespace qiantai
