// A one-line edit box drawn flat: a one-pixel border in a line colour.
#pragma once

#include <QColor>
#include <QLineEdit>

namespace qiantai {

class TFlatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFlatEdit(QWidget* parent = nullptr);

    void setLineColor(const QColor& color);
    QColor lineColor() const { return lineColor_; }
    // Shows `ch` for every character; a null character shows the text.
    void setPasswordChar(QChar ch);
    QChar passwordChar() const { return passwordChar_; }

private:
    void restyle();

    QColor lineColor_ = Qt::black;
    QChar passwordChar_;
};

} // namespace qiantai
