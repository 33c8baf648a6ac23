// The dialogs the line grid opens for product entry: the information box for
// messages and the product pick list when a code matches several products.
#pragma once

#include "screens/sales/itementry.h"

#include <memory>

class QWidget;

namespace qiantai {

// Dialogs owned by `owner` (the session's owner window when it has one).
std::unique_ptr<EntryPrompts> MakeDialogPrompts(QWidget* owner);

} // namespace qiantai
