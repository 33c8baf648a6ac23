// Key-script pieces shared by the end-to-end tests.
//
// <waitfor NAME [TEXT]> waits for the dialog or the text the next keys
// need. The fixed <wait N> left follow a dialog that has closed over the
// sales screen: the screen takes the keyboard back once its window is active
// again, and no widget shows that moment.
#pragma once

#include <QString>

namespace qiantai::test {

// Begins a document from the sales method picker: the method (a key that
// selects it, empty for the first, store pickup), counter group 0101 and
// salesperson 1001.
inline QString BeginSale(const QString& method = QString())
{
    return method +
           QStringLiteral("<Enter><waitfor frmInputXsxx>0101<Enter><Enter>1001<Enter><Enter><wait 200>\n");
}

// From the next document's sales method picker: leave the module.
inline QString LeaveFromPicker()
{
    return QStringLiteral("<Esc><waitfor frmInfo><Enter>\n");
}

// From the sales screen: delete every line and leave the module.
inline QString DeleteAllAndLeave()
{
    return QStringLiteral("<F5><waitfor frmInfo><Enter><wait 100><Esc><waitfor frmInfo><Enter>\n");
}

} // namespace qiantai::test
