// A flat panel of the sales screen: filled with one colour, optionally
// outlined with a one-pixel border.
#pragma once

#include <QColor>
#include <QWidget>

namespace qiantai {

class TSalesPanel : public QWidget {
public:
    explicit TSalesPanel(QWidget* parent, const QColor& fill, const QColor& border = QColor());

    QColor fill() const { return fill_; }
    QColor border() const { return border_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor border_;
};

} // namespace qiantai
