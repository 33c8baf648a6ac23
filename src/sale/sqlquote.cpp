#include "sale/sqlquote.h"

namespace qiantai {

QString SqlQuote(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace qiantai
