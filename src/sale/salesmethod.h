// Names of the sales methods (Xsfs) as the cashier reads them.
#pragma once

#include <QString>

namespace qiantai {

// 0 门店自提, 1 门店送货, 2 带货安装, 3 统一配送; empty for any other value.
QString SalesMethodName(int xsfs);

} // namespace qiantai
