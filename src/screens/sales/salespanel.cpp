#include "screens/sales/salespanel.h"

#include <QPainter>

namespace qiantai {

TSalesPanel::TSalesPanel(QWidget* parent, const QColor& fill, const QColor& border)
    : QWidget(parent), fill_(fill), border_(border)
{
}

void TSalesPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), fill_);
    if (border_.isValid()) {
        p.setPen(border_);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace qiantai
