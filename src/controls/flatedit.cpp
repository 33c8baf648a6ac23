#include "controls/flatedit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStyle>

namespace qiantai {

TFlatEdit::TFlatEdit(QWidget* parent) : QLineEdit(parent)
{
    restyle();
}

void TFlatEdit::setLineColor(const QColor& color)
{
    lineColor_ = color;
    restyle();
}

void TFlatEdit::setPasswordChar(QChar ch)
{
    passwordChar_ = ch;
    setEchoMode(ch.isNull() ? QLineEdit::Normal : QLineEdit::Password);
    restyle();
}

void TFlatEdit::restyle()
{
    QString sheet = QStringLiteral("QLineEdit { border: 1px solid %1; background: white; padding: 1px 2px; ")
                        .arg(lineColor_.name());
    if (!passwordChar_.isNull())
        sheet += QStringLiteral("lineedit-password-character: %1; ").arg(passwordChar_.unicode());
    sheet += QLatin1Char('}');
    setStyleSheet(sheet);
    // Before the edit is first polished a changed sheet keeps its old rules
    // cached and sends no style change, from which the edit would take its
    // password character: drop the cache and send the change here.
    style()->unpolish(this);
    style()->polish(this);
    QEvent changed(QEvent::StyleChange);
    QCoreApplication::sendEvent(this, &changed);
}

} // namespace qiantai
