// The module's only exported symbol.
#include "entry/getformone.h"
#include "qiantai/entry.h"

extern "C" __attribute__((visibility("default"))) void GetFormOne(QWidget* hostApp, QWidget* hostControl,
                                                                  const unsigned char* operatorShortString,
                                                                  int32_t ignored, qiantai::ICoorDisp* host)
{
    qiantai::OpenSalesModule(hostApp, hostControl, operatorShortString, ignored, host);
}
