// The day report as text for the screen and the receipt printer, and as CSV.
#pragma once

#include "cardreconciliation.h"
#include "dayreport.h"

#include <QString>

#include <optional>

namespace qiantai::host {

// Receipt paper widths in GBK columns (a Chinese character counts two).
constexpr int DayReportWidths[] = {32, 42, 48};

// One block per cashier and one for the day, each figure right-aligned in
// `width` columns, lines ending in "\n". With `differences` (a card server
// was asked) a reconciliation section follows: each difference, or a line
// saying there is none.
QString DayReportText(const DayReport& report, int width,
                      const std::optional<QList<CardDifference>>& differences = std::nullopt);

// A header line, one line per cashier and a "合计" line; then, with
// `differences`, a blank line and one line per difference under its own
// header. Lines end in "\r\n"; fields with a comma, a quote or a line break
// are quoted.
QString DayReportCsv(const DayReport& report,
                     const std::optional<QList<CardDifference>>& differences = std::nullopt);

} // namespace qiantai::host
