// The member card identification "使用会员卡": a swiped card and its
// password, checked at the card front-end; on success the session's
// CurrentMemberCard holds the card.
#pragma once

#include "screens/cards/cardservices.h"

#include <QDialog>

class QLabel;

namespace qiantai {

struct SaleSession;
class TFlatEdit;

class TfrmUseHyk : public QDialog {
    Q_OBJECT
public:
    enum Result { Found = 1, Cancelled = 2 };

    TfrmUseHyk(QWidget* parent, SaleSession& session, CardServices services);

    TFlatEdit* cardEdit() const { return edtKh_; }
    TFlatEdit* passwordEdit() const { return edtMm_; }

    void reject() override; // only Esc ends the dialog

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key was handled here.
    bool screenKey(QKeyEvent* event);
    bool swipeGiven(bool clearWhenEmpty);
    void query();

    SaleSession& s_;
    CardServices services_;
    TFlatEdit* edtKh_;
    TFlatEdit* edtMm_;
    bool ending_ = false;
};

} // namespace qiantai
