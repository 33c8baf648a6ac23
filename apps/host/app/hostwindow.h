// The host's main window: login, a menu entry that opens the sales module,
// and the container the module's screen lives in.
#pragma once

#include "moduleloader.h"

#include "base/result.h"
#include "store/storehost.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QStackedWidget>

namespace qiantai::host {

// The container handed to GetFormOne: reports the module's close (1028) and
// passes its size on to the module's screen (1026).
class ModuleContainer : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void moduleClosed();

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    // Takes a reference on `host`.
    explicit HostWindow(StoreHost* host, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Opens the sales module at once for an operator whose password was
    // checked; the program ends with status 0 when the module closes.
    Result<> openDirectly(const QString& operatorCode);
    // Between opening the module and its close event.
    bool moduleOpen() const { return moduleOpen_; }

private:
    void login();
    void openModule();
    void showMenu();

    StoreHost* host_;
    ModuleLoader loader_;
    bool moduleLoaded_ = false;
    bool exitOnClose_ = false;
    bool moduleOpen_ = false;
    QString operator_;
    QStackedWidget* pages_;
    QLineEdit* code_;
    QLineEdit* password_;
    ModuleContainer* container_;
};

// Asks the host whether `password` is right for `code`.
Result<> CheckLogin(StoreHost& host, const QString& code, const QString& password);

} // namespace qiantai::host
