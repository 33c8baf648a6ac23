#include "screens/checkout/checkoutdialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace qiantai {

TCheckoutDialog::TCheckoutDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(CheckoutFont(9));
}

void TCheckoutDialog::Finish(int result)
{
    finishing_ = true;
    done(result);
    finishing_ = false;
}

void TCheckoutDialog::reject() {}

void TCheckoutDialog::RouteKeys(QWidget* widget)
{
    widget->installEventFilter(this);
}

void TCheckoutDialog::keyPressEvent(QKeyEvent* event)
{
    if (!DialogKey(event))
        QDialog::keyPressEvent(event);
}

void TCheckoutDialog::closeEvent(QCloseEvent* event)
{
    if (finishing_)
        event->accept();
    else
        event->ignore();
}

bool TCheckoutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched != this)
        return DialogKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QFont CheckoutFont(int pointSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

bool IsEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void PlaceBeside(QWidget* dialog, const QWidget* anchor)
{
    const QRect a = anchor->frameGeometry();
    dialog->move(a.x() + a.width() + 1, a.y() + a.height() - dialog->frameGeometry().height());
}

void CentreOnScreen(QWidget* widget)
{
    QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    widget->move(area.x() + (area.width() - widget->width()) / 2,
                 area.y() + (area.height() - widget->height()) / 2);
}

} // namespace qiantai
