#include "base/variantarray.h"

#include <QVariantList>

namespace qiantai {

QVariant ListToVariantArray(const QStringList& list)
{
    if (list.isEmpty())
        return {};
    QVariantList array;
    array.reserve(list.size());
    for (const QString& s : list)
        array.append(s);
    return array;
}

} // namespace qiantai
