// Shows a host refusal or a fixed message in the information box.
#pragma once

#include "screens/lookups/frminforules.h"

#include <QString>
#include <QVariant>

class QWidget;

namespace qiantai {

// Shows HostMessageText(message) in a modal TfrmInfo of `kind` owned by
// `parent`; a non-empty caption replaces the heading and a non-empty key hint
// the key hint line. Returns 1 (Enter) or 2 (Esc, questions only).
int ShowHostMessage(const QVariant& message, const QString& caption, const QString& keyHint, InfoKind kind,
                    QWidget* parent);

} // namespace qiantai
