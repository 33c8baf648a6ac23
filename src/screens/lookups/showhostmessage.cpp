#include "screens/lookups/showhostmessage.h"

#include "hostcalls/hostmessage.h"
#include "screens/lookups/frminfo.h"

namespace qiantai {

int ShowHostMessage(const QVariant& message, const QString& caption, const QString& keyHint, InfoKind kind,
                    QWidget* parent)
{
    TfrmInfo box(parent);
    box.setMessage(HostMessageText(message));
    box.setKind(kind);
    box.setCallerKeyHint(keyHint);
    box.setCaption(caption);
    return box.exec();
}

} // namespace qiantai
