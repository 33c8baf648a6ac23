// The sales information dialog "输入柜组及营业员信息": counter group,
// salesperson and, for unified distribution, the warehouse; each a code box
// and a read-only name box.
#pragma once

#include "controls/blueframe.h"
#include "hostcalls/hostservice.h"

class QLabel;

namespace qiantai {

struct SaleSession;
class TFlatEdit;

class TfrmInputXsxx : public TBlueFrame {
    Q_OBJECT
public:
    enum Result { Confirmed = 1, Exit = 2, PreviousStep = 3 };

    TfrmInputXsxx(QWidget* parent, SaleSession& session);

    // Enables the warehouse row (sales method 3).
    void setWarehouseEnabled(bool enabled);

    TFlatEdit* counterCode() const { return gzbm_; }
    TFlatEdit* counterName() const { return gzmc_; }
    TFlatEdit* salespersonCode() const { return yyybm_; }
    TFlatEdit* salespersonName() const { return yyymc_; }
    TFlatEdit* warehouseCode() const { return ckbm_; }
    TFlatEdit* warehouseName() const { return ckmc_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool chainMall() const;
    void counterCodeEnter();
    void salespersonCodeEnter();
    void salespersonNameEnter();
    void warehouseCodeEnter();
    // Shift+Tab: the box before `at` that is enabled; none before the first.
    void backOneBox(QWidget* at);
    void tell(const QString& message);

    SaleSession& s_;
    HostService host_;
    TFlatEdit* gzbm_;
    TFlatEdit* gzmc_;
    TFlatEdit* yyybm_;
    TFlatEdit* yyymc_;
    TFlatEdit* ckbm_;
    TFlatEdit* ckmc_;
    bool warehouse_ = false;
};

} // namespace qiantai
