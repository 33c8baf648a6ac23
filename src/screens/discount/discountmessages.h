// The information box for a refused discount.
#pragma once

#include <QString>

class QWidget;

namespace qiantai {

// Shows `message` with the caption "错误提示"; Enter closes it.
void ShowDiscountMessage(const QString& message, QWidget* parent);

} // namespace qiantai
