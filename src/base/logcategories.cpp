#include "base/logcategories.h"

namespace qiantai {

Q_LOGGING_CATEGORY(lcStartup, "qiantai.startup", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRecording, "qiantai.recording", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPrinting, "qiantai.printing", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCardCharges, "qiantai.cards", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFrontEnd, "qiantai.devices.frontend", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTerminal, "qiantai.devices.terminal", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHostStore, "qiantai.host.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCardServer, "qiantai.cardd", QtWarningMsg)

} // namespace qiantai
