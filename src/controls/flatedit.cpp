#include "controls/flatedit.h"

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
}

} // namespace qiantai
