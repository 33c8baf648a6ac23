// The sales method picker "销售方式": four numbered options, the selected
// one highlighted; Enter confirms, Esc cancels.
#pragma once

#include "controls/blueframe.h"

#include <QList>

class QLabel;

namespace qiantai {

class TfrmSelect : public TBlueFrame {
    Q_OBJECT
public:
    enum Result { Confirmed = 1, Cancelled = 2 };

    explicit TfrmSelect(QWidget* parent);

    void setSelected(int xsfs);
    int selected() const { return selected_; }
    QLabel* option(int xsfs) const { return options_.value(xsfs); }
    QLabel* choiceLabel() const { return choice_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLabel*> options_;
    QLabel* choice_;
    int selected_ = 0;
};

} // namespace qiantai
