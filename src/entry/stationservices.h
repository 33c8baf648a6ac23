// The start-up services of this station: the module's clock and the INI
// switch for setting it, the receipt report engine and the receipt printer
// the station INI names.
#pragma once

#include "screens/sales/startup.h"

namespace qiantai {

StartupServices StationStartupServices();

} // namespace qiantai
