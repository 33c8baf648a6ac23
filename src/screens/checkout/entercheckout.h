// F1 on the sales screen.
#pragma once

#include <functional>

class QWidget;

namespace qiantai {

// Enters checkout for the current document of Session(): rounds the total
// (the last line may change: `showLastLine` is called then), takes the
// deposit of a delivery sale, lets the cashier edit the customer
// information and opens the settlement screen. True when the sale was
// recorded: the caller then begins the next document. False when there is
// no line or the deposit or the settlement was cancelled; the document
// stays (redraw its last line and totals either way).
bool EnterCheckout(QWidget* owner, const std::function<void()>& showLastLine = {});

} // namespace qiantai
