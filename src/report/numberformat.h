// Number formats of report fields and receipts: "0", "0.00" (any count of
// decimals), optionally with thousands separators as in "#,##0.00".
#pragma once

#include <QString>

namespace qiantai {

// Whether `pattern` is a number format this module writes.
bool IsNumberFormat(const QString& pattern);

// `value` written with `pattern`, rounded half away from zero (the module's
// money rounding); never "-0.00". An invalid pattern writes the value as
// plain decimal text.
QString FormatNumber(double value, const QString& pattern);

} // namespace qiantai
