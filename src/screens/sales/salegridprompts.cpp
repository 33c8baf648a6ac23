#include "screens/sales/salegridprompts.h"

namespace qiantai {

namespace {

// Interim: replaced by the information box and pick list.
class InterimPrompts : public EntryPrompts {
public:
    int ShowMessage(const QVariant&, const QString&, int) override { return 1; }
    bool PickProduct(const DataPacket&, int&) override { return false; }
};

} // namespace

std::unique_ptr<EntryPrompts> MakeDialogPrompts(QWidget*)
{
    return std::make_unique<InterimPrompts>();
}

} // namespace qiantai
