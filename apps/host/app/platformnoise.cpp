#include "platformnoise.h"

#include <QtGlobal>

namespace qiantai::host {

namespace {

QtMessageHandler previousHandler = nullptr;

void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (IsPlatformNoise(message))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

bool IsPlatformNoise(const QString& message)
{
    return message.startsWith(QLatin1String("This plugin does not support")) ||
           message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void DropPlatformNoise()
{
    previousHandler = qInstallMessageHandler(Handler);
}

} // namespace qiantai::host
