// Qt's messages that tell a till's user nothing they could act on: the
// offscreen platform's "This plugin does not support raise()" and the like,
// and the runtime folder fallback when XDG_RUNTIME_DIR is not set (scripts,
// services, su). Every other message passes on unchanged.
#pragma once

#include <QString>

namespace qiantai::host {

// Whether a message of Qt's is such noise.
bool IsPlatformNoise(const QString& message);

// Installs a message handler that drops the noise and hands everything else
// to the handler it replaces.
void DropPlatformNoise();

} // namespace qiantai::host
