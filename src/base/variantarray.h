// String lists as the variant arrays the host expects.
#pragma once

#include <QStringList>
#include <QVariant>

namespace qiantai {

// A QVariantList of the strings in order; an invalid QVariant for an empty
// list.
QVariant ListToVariantArray(const QStringList& list);

} // namespace qiantai
