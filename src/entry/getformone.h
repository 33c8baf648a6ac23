#pragma once

#include "qiantai/coordisp.h"

#include <cstdint>

class QWidget;

namespace qiantai {

// What the exported GetFormOne does; see qiantai/entry.h.
void OpenSalesModule(QWidget* hostApp, QWidget* hostControl, const unsigned char* operatorShortString,
                     int32_t ignored, ICoorDisp* host);

} // namespace qiantai
