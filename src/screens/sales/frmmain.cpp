#include "screens/sales/frmmain.h"

#include "sale/salesession.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QShowEvent>

namespace qiantai {

TFrmMain::TFrmMain(QWidget* owner, QWidget* hostControl) : TFrmBase(owner, hostControl)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromUtf8("电器前台销售系统"));
    FormCreate();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::FormCreate()
{
    firstShow_ = true;
    startupOk_ = false;
    Session().OwnerWindow = Session().HostAppHandle;
    startupOk_ = true;
}

void TFrmMain::showEvent(QShowEvent* e)
{
    TFrmBase::showEvent(e);
    if (!startupOk_) {
        close();
        return;
    }
    if (firstShow_)
        firstShow_ = false;
}

void TFrmMain::closeEvent(QCloseEvent* e)
{
    TFrmBase::closeEvent(e);
    if (closed_)
        return;
    closed_ = true;
    // Balances the pointer hidden when the screen was opened.
    QGuiApplication::restoreOverrideCursor();
}

void TFrmMain::BeginSaleDocument() {}

} // namespace qiantai
