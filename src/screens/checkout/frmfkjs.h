// The settlement screen "付款结算": amount due, amount paid, change and one
// total per payment method; runs the payment loop when it opens and takes
// Enter (record), Esc, F7 (suspension), F8 and F9 (unified collection).
#pragma once

#include "screens/checkout/checkoutdialog.h"
#include "screens/checkout/paymentloop.h"
#include "screens/checkout/recordsale.h"

class QFrame;
class QLabel;

namespace qiantai {

class TfrmFkjs : public TCheckoutDialog, public PaymentScreens, public RecordingUi {
    Q_OBJECT
public:
    explicit TfrmFkjs(QWidget* parent);

    // Shows the screen, runs the payment loop at once, then waits modally.
    int exec() override;

    // "Yfje", "Fkje" or "Zlje", or a payment-method code: that row's value
    // becomes `amount` formatted "0.00", right-aligned again.
    void UpdateValue(const QString& name, double amount);
    // Amount due, amount paid and change.
    void RefreshTotals();
    // The picker and the payment screens until the amount due is covered or
    // the picker is cancelled.
    void PaymentLoop();

    bool Busy() const { return busy_; }
    bool PendingFirstShow() const { return pendingFirstShow_; }
    QFrame* MainPanel() const { return pnlMain_; }
    QWidget* MessagePanel() const { return messagePanel_; }
    // A label of the main panel by name ("Yfje_Value", "Name_0001", ...).
    QLabel* PanelLabel(const QString& name) const;

    // PaymentScreens.
    int PickMethod() override;
    bool TakeAmount(const TPayment& m, double remaining, double& amount) override;
    bool TakeCustomerAccount(const TPayment& m, double remaining, QString& customerCode,
                             double& amount) override;
    void TakeWelfareCertificates(const TPayment& m, double remaining) override;
    bool TakeMemberCard(const TPayment& m, double remaining, MemberCardPayment& payment) override;
    bool TakeBankCard(const TPayment& m, double remaining, double& amount) override;
    void ShowPaymentTotals(const QString& code) override;

    // RecordingUi.
    void SetBusy(bool busy) override;
    void ShowSubmitting() override;
    void ShowPrinting() override;
    void ShowMainPanel() override;
    void ShowMessage(const QVariant& message, const QString& caption) override;
    bool PrintReceipt(const DataPacket& saleLines, QString& message) override;
    // A question: Enter prints again, Esc goes on without the receipt.
    bool AskPrintAgain(const QString& message, const QString& caption) override;
    void Pause(int ms) override;

protected:
    bool DialogKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The input dialog of F8 and F9.
    virtual bool AskDocumentNumbers(const QString& prompt, QString& text);

private:
    void BuildLabels();
    // The payment loop that runs when the screen opens.
    void RunOpeningLoop();
    void RightAlign(QLabel* value);
    void Record();
    void Leave();
    void Suspend();
    void Collect(bool preSale);

    QFrame* pnlMain_;
    QWidget* messagePanel_;
    QLabel* submitting_;
    QLabel* printing_;
    bool pendingFirstShow_ = true;
    bool busy_ = false;
    bool recordFailed_ = false; // a recording of this checkout failed
    bool openingLoopQueued_ = false;
    bool openingLoopDone_ = false;
};

} // namespace qiantai
