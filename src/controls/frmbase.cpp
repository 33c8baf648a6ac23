#include "controls/frmbase.h"

#include "qiantai/entry.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>

namespace qiantai {

TFrmBase::TFrmBase(QWidget* owner, QWidget* hostControl)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), panelMain_(new QFrame(this)),
      hostControl_(hostControl)
{
    setAttribute(Qt::WA_DeleteOnClose);
    panelMain_->setObjectName(QStringLiteral("PanelMain"));
    panelMain_->setAutoFillBackground(true);
}

bool TFrmBase::event(QEvent* e)
{
    if (e->type() == PanelResizeEventType) {
        const auto* r = static_cast<PanelResizeEvent*>(e);
        panelMain_->resize(r->width(), r->height());
        return true;
    }
    return QWidget::event(e);
}

void TFrmBase::closeEvent(QCloseEvent* e)
{
    if (!closeAnnounced_) {
        closeAnnounced_ = true;
        if (hostControl_) {
            ScreenClosedEvent closed;
            QCoreApplication::sendEvent(hostControl_, &closed);
        }
    }
    e->accept();
}

} // namespace qiantai
