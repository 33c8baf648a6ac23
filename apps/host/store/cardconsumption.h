// Card consumption records: each bank card transaction ("2") or welfare
// certificate ("3") gets a serial number that is never handed out twice.
#pragma once

#include "hostcontext.h"

#include <QVariantList>

namespace qiantai::host {

// `request`: element 0 the card type, 1 department, 2 document, 3
// transaction code, 4 card, 5 amount, 6 time, 7 date, then the rest.
bool RecordConsumption(HostContext& ctx, const QVariantList& request, QString* serial, QString* message);

} // namespace qiantai::host
