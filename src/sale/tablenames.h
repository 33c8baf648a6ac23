// Names of the store's monthly tables: "tb" + YYYYMM + "_" + suffix.
#pragma once

#include <QString>

namespace qiantai {

// Whether `text` is a year-month "YYYYMM": exactly six ASCII digits.
bool IsYearMonth(const QString& text);

// "tb" + yearMonth + "_" + suffix, e.g. ("200406", "Xsmxzb") gives
// "tb200406_Xsmxzb". The suffix is used as spelled. Empty when yearMonth is
// not a year-month or the suffix is not a plain name (letters, digits, "_"),
// so that nothing else can reach the statement as a table name.
QString MonthlyTableName(const QString& yearMonth, const QString& suffix);

// The table of documents made from an installation sale; its year-month is
// the first six characters of the sale's document number. Empty when those
// are not a year-month.
QString SpgjcbTableName(const QString& documentNumber);

} // namespace qiantai
