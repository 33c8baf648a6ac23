// The welfare certificate screen: certificate after certificate, each checked,
// charged at the card front-end, registered at the host and booked as a
// payment entry of its face value, while more than 50 remains unpaid.
#pragma once

#include "controls/blueframe.h"
#include "sale/cardinfo.h"
#include "sale/saleitems.h"
#include "screens/cards/cardscreencontext.h"

class QLabel;

namespace qiantai {

class TFlatEdit;

class TFrmFlzzf : public TBlueFrame {
    Q_OBJECT
public:
    TFrmFlzzf(QWidget* parent, CardScreenContext context);

    // Set by the caller before showing; Remaining goes down with each
    // certificate paid here.
    TPayment Payment;
    double Remaining = 0;
    TFlzInfo Certificate;
    double CertificateTotal = 0;
    bool Busy() const { return busy_; }

    QString Caption() const { return heading(); }
    QString TotalText() const;
    TFlatEdit* NumberField() const { return edtQh_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Confirm();
    void WaitForNext();

    CardScreenContext context_;
    QLabel* label1_;
    QLabel* lblZk2_;
    TFlatEdit* edtQh_;
    bool busy_ = false;
};

} // namespace qiantai
