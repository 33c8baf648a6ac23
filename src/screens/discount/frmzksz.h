// The discount dialog: shows the base amount, takes a rate or an amount and,
// on Enter, writes the discount into the sale lines once every affected line
// has passed its limits. Esc leaves the lines as they were.
#pragma once

#include "controls/blueframe.h"
#include "sale/saleitems.h"
#include "screens/discount/frmsgzkrules.h"
#include "screens/discount/frmzkszrules.h"

class QLabel;
class QLineEdit;

namespace qiantai {

class TFlatEdit;

class TfrmZksz : public TBlueFrame {
    Q_OBJECT
public:
    // `row` is the grid row of the line (line modes); `docTotalQty` the
    // document's total quantity shown in whole-sale modes; `xsfkz` the store's
    // line rounding.
    TfrmZksz(QWidget* parent, DiscountMode mode, int row, TSaleRecords& lines, DiscountAuthority authority,
             double docTotalQty, int xsfkz);

    DiscountMode mode() const { return mode_; }
    const DiscountValues& openingValues() const { return opening_; }

    QLabel* productNameLabel() const { return productName_; }
    QLabel* productNameCaption() const { return productNameCaption_; }
    QLabel* quantityLabel() const { return quantity_; }
    QLabel* amountLabel() const { return amount_; }
    QLabel* shownCaption() const { return shownCaption_; }
    QLabel* shownValueLabel() const { return shownValue_; }
    QLabel* inputCaption() const { return inputCaption_; }
    QLineEdit* input() const;

protected:
    bool frameKey(QKeyEvent* event) override;

private:
    void showOpeningValues();
    void confirm();

    DiscountMode mode_;
    int row_;
    TSaleRecords& lines_;
    DiscountAuthority authority_;
    int xsfkz_;
    DiscountValues opening_;

    QLabel* productNameCaption_;
    QLabel* productName_;
    QLabel* quantity_;
    QLabel* amount_;
    QLabel* shownCaption_;
    QLabel* shownValue_;
    QLabel* inputCaption_;
    TFlatEdit* input_;
};

} // namespace qiantai
