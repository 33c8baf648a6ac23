#include "entry/getformone.h"

namespace qiantai {

void OpenSalesModule(QWidget*, QWidget*, const unsigned char*, int32_t, ICoorDisp*) {}

} // namespace qiantai
