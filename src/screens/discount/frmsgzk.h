// The mode picker of a manual discount: four modes, Up and Down wrap around,
// Enter checks the mode against the sale lines, Esc cancels.
#pragma once

#include "controls/blueframe.h"
#include "sale/saleitems.h"
#include "screens/discount/frmsgzkrules.h"

#include <QList>

class QLabel;

namespace qiantai {

class TfrmSgzk : public TBlueFrame {
    Q_OBJECT
public:
    // `row` is the grid row under the cursor (1 = first line).
    TfrmSgzk(QWidget* parent, int row, const TSaleRecords& lines);

    DiscountMode mode() const { return mode_; }
    int row() const { return row_; }
    QLabel* optionLabel(DiscountMode mode) const { return options_[static_cast<int>(mode)]; }
    QLabel* selectionLabel() const { return selection_; }

protected:
    bool frameKey(QKeyEvent* event) override;

private:
    void select(DiscountMode mode);

    const TSaleRecords& lines_;
    int row_;
    DiscountMode mode_ = DiscountMode::LineRate;
    QList<QLabel*> options_;
    QLabel* selection_;
};

} // namespace qiantai
