#include "hostwindow.h"

#include "qiantai/dispids.h"
#include "qiantai/entry.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace qiantai::host {

Result<> CheckLogin(StoreHost& host, const QString& code, const QString& password)
{
    QVariantList args{code.trimmed(), password, QVariant()};
    if (host.invoke(dispid::VerifyPassword, args).toBool())
        return {};
    return Failure{args[2].toString()};
}

bool ModuleContainer::event(QEvent* e)
{
    if (e->type() == ScreenClosedEventType) {
        emit moduleClosed();
        return true;
    }
    return QWidget::event(e);
}

void ModuleContainer::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        PanelResizeEvent resize(e->size().height(), e->size().width());
        QCoreApplication::sendEvent(child, &resize);
    }
}

HostWindow::HostWindow(StoreHost* host, QWidget* parent) : QMainWindow(parent), host_(host)
{
    host_->addRef();
    setWindowTitle(QStringLiteral("门店管理系统"));
    pages_ = new QStackedWidget(this);
    setCentralWidget(pages_);

    auto* loginPage = new QWidget;
    auto* form = new QFormLayout(loginPage);
    code_ = new QLineEdit;
    password_ = new QLineEdit;
    password_->setEchoMode(QLineEdit::Password);
    auto* enter = new QPushButton(QStringLiteral("登录"));
    form->addRow(QStringLiteral("操作员:"), code_);
    form->addRow(QStringLiteral("密  码:"), password_);
    form->addRow(enter);
    connect(enter, &QPushButton::clicked, this, &HostWindow::login);
    connect(password_, &QLineEdit::returnPressed, this, &HostWindow::login);
    connect(code_, &QLineEdit::returnPressed, password_, qOverload<>(&QWidget::setFocus));
    pages_->addWidget(loginPage);

    auto* menuPage = new QWidget;
    auto* menu = new QVBoxLayout(menuPage);
    auto* sales = new QPushButton(QStringLiteral("前台销售"));
    auto* quit = new QPushButton(QStringLiteral("退出"));
    menu->addStretch();
    menu->addWidget(sales);
    menu->addWidget(quit);
    menu->addStretch();
    connect(sales, &QPushButton::clicked, this, &HostWindow::openModule);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    pages_->addWidget(menuPage);

    container_ = new ModuleContainer;
    pages_->addWidget(container_);
    connect(container_, &ModuleContainer::moduleClosed, this, [this] {
        moduleOpen_ = false;
        if (exitOnClose_)
            QCoreApplication::exit(0);
        else
            showMenu();
    });
    code_->setFocus();
}

HostWindow::~HostWindow()
{
    host_->release();
}

void HostWindow::login()
{
    if (const Result<> login = CheckLogin(*host_, code_->text(), password_->text()); !login) {
        QMessageBox::warning(this, QStringLiteral("登录"), login.error());
        password_->clear();
        return;
    }
    operator_ = code_->text().trimmed();
    password_->clear();
    showMenu();
}

void HostWindow::showMenu()
{
    pages_->setCurrentIndex(1);
}

void HostWindow::openModule()
{
    if (!moduleLoaded_) {
        const Result<> loaded = loader_.load();
        moduleLoaded_ = loaded.ok();
        if (!loaded) {
            QMessageBox::critical(this, QStringLiteral("前台销售"), loaded.error());
            return;
        }
    }
    pages_->setCurrentWidget(container_);
    moduleOpen_ = true;
    loader_.open(this, container_, operator_, host_);
}

Result<> HostWindow::openDirectly(const QString& operatorCode)
{
    const Result<> loaded = loader_.load();
    moduleLoaded_ = loaded.ok();
    if (!loaded)
        return loaded;
    operator_ = operatorCode.trimmed();
    exitOnClose_ = true;
    pages_->setCurrentWidget(container_);
    moduleOpen_ = true;
    loader_.open(this, container_, operator_, host_);
    return {};
}

} // namespace qiantai::host
