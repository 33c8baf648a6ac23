#include "screens/sales/salegridprompts.h"

#include "sale/salesession.h"
#include "screens/lookups/frmselectsp.h"
#include "screens/lookups/showhostmessage.h"

#include <QDialog>

namespace qiantai {

namespace {

class DialogPrompts : public EntryPrompts {
public:
    explicit DialogPrompts(QWidget* owner) : owner_(owner) {}

    int ShowMessage(const QVariant& message, const QString& caption, InfoKind kind) override
    {
        return ShowHostMessage(message, caption, QString(), kind, Owner());
    }
    bool PickProduct(const DataPacket& products, int& chosenRow) override
    {
        TfrmSelectSp pick(Owner());
        pick.setRows(products);
        if (pick.exec() != QDialog::Accepted || pick.chosenRow() < 0)
            return false;
        chosenRow = pick.chosenRow();
        return true;
    }

private:
    QWidget* Owner() const { return Session().OwnerWindow != nullptr ? Session().OwnerWindow : owner_; }

    QWidget* owner_;
};

} // namespace

std::unique_ptr<EntryPrompts> MakeDialogPrompts(QWidget* owner)
{
    return std::make_unique<DialogPrompts>(owner);
}

} // namespace qiantai
