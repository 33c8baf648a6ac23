// The cashier's full-screen sales screen.
#pragma once

#include "controls/frmbase.h"
#include "hostcalls/sysparams.h"
#include "screens/sales/beginsale.h"
#include "screens/sales/startup.h"

#include <QSize>

class QLabel;
class QLineEdit;
class QTimer;

namespace qiantai {

class TSaleGrid;
class TSalesPanel;

class TFrmMain : public TFrmBase, public SaleDocumentScreen {
    Q_OBJECT
public:
    // Runs the whole start-up with the station's `services` (stops are shown
    // at once); StartupOk() tells whether it completed.
    TFrmMain(QWidget* owner, QWidget* hostControl, const StartupServices& services);
    ~TFrmMain() override;

    bool StartupOk() const { return startupOk_; }
    bool FirstShow() const { return firstShow_; }
    bool Closed() const { return closed_; }
    const TSysParamRecord& Params() const { return params_; }

    // Begins a sale document: sales method, sales information, number.
    void BeginSaleDocument();

    // Lays the screen out for a screen of `screen` (done on the first display).
    void ApplyLayout(QSize screen);
    void UpdateClock();

    // SaleDocumentScreen
    void ResetGrid() override;
    void RefreshLabels() override;
    bool ChooseSalesMethod(int& xsfs) override;
    SalesInfoOutcome EnterSalesInformation(bool withWarehouse) override;
    int ShowMessage(const QString& text, InfoKind kind) override;
    void CloseScreen() override;
    bool IdentifyMemberCard() override;
    void RefreshMemberLine() override;
    void ClearMemberLine() override;

    QLabel* label(const char* name) const;
    QLineEdit* footerField(const char* name) const;
    QWidget* gridPanel() const;
    TSaleGrid* Grid() const { return grid_; }

protected:
    // F1 with lines: checkout; a recorded sale begins the next document.
    virtual void Checkout();
    // F3: the manual discount of the cursor line or of the whole sale.
    virtual void Discount();
    // F10 with entries: the system tools menu, then the member line.
    virtual void SystemTools();

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const StartupServices& services);
    void showStop(const StartupStop& stop);
    void buildWidgets();
    void flowNumberPanel();
    // The function keys; true when the key was acted on.
    bool FormKeyDown(int key);
    void deleteCurrentLine();
    void deleteAllLines();
    void showLineDetails(int row);
    void regainFocus();
    QWidget* dialogOwner();

    bool firstShow_ = true;
    bool startupOk_ = false;
    bool closed_ = false;
    TSysParamRecord params_;

    TSalesPanel* panTitle1_ = nullptr;
    TSalesPanel* panTitle2_ = nullptr;
    TSalesPanel* panNr1_ = nullptr;
    TSalesPanel* panNr2_ = nullptr;
    TSalesPanel* panBody1_ = nullptr;
    TSalesPanel* sapGrid_ = nullptr;
    TSalesPanel* panGrid_ = nullptr;
    TSalesPanel* panFooter_ = nullptr;
    QLabel* lblBmbm_ = nullptr;
    QLabel* lblTitle1_ = nullptr;
    QLabel* lblTitle2_ = nullptr;
    QLabel* lblTime_ = nullptr;
    QLabel* lblDjh_ = nullptr;
    QLabel* lblNr_ = nullptr;
    QLabel* lbljs1_ = nullptr;
    QLabel* lbljs2_ = nullptr;
    QLabel* lbljs_ = nullptr;
    QLabel* lblje1_ = nullptr;
    QLabel* lblje2_ = nullptr;
    QLabel* lblje_ = nullptr;
    QLabel* lblTsxx_ = nullptr;
    QLineEdit* edtHy_ = nullptr;
    TSaleGrid* grid_ = nullptr;
    QTimer* timer1_ = nullptr;
};

} // namespace qiantai
