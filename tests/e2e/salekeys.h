// Key-script pieces shared by the end-to-end tests.
#pragma once

#include <QString>

namespace qiantai::test {

// Begins a document from the sales method picker: the method (a key that
// selects it, empty for the first, store pickup), counter group 0101 and
// salesperson 1001.
inline QString BeginSale(const QString& method = QString())
{
    return method + QStringLiteral("<Enter><wait 100>0101<Enter><Enter>1001<Enter><Enter><wait 200>\n");
}

// From the next document's sales method picker: leave the module.
inline QString LeaveFromPicker()
{
    return QStringLiteral("<Esc><wait 100><Enter><wait 100>\n");
}

// From the sales screen: delete every line and leave the module.
inline QString DeleteAllAndLeave()
{
    return QStringLiteral("<F5><wait 100><Enter><wait 100><Esc><wait 100><Enter>\n");
}

} // namespace qiantai::test
