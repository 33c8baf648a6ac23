// The one way a value goes between single quotes in SQL text.
#pragma once

#include <QString>

namespace qiantai {

// `value` as an SQL string literal: enclosed in single quotes, every quote
// inside doubled, so that a typed code can never end the literal early.
// SqlQuote("O'Brien") gives "'O''Brien'".
QString SqlQuote(const QString& value);

} // namespace qiantai
