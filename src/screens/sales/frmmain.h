// The cashier's full-screen sales screen.
#pragma once

#include "controls/frmbase.h"

namespace qiantai {

class TFrmMain : public TFrmBase {
    Q_OBJECT
public:
    // Runs the whole start-up; StartupOk() tells whether it completed.
    TFrmMain(QWidget* owner, QWidget* hostControl);
    ~TFrmMain() override;

    bool StartupOk() const { return startupOk_; }
    bool FirstShow() const { return firstShow_; }
    bool Closed() const { return closed_; }

    // Begins a sale document: sales method, sales information, number.
    void BeginSaleDocument();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();

    bool firstShow_ = true;
    bool startupOk_ = false;
    bool closed_ = false;
};

} // namespace qiantai
