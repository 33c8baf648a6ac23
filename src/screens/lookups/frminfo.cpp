#include "screens/lookups/frminfo.h"

#include "controls/cjkfont.h"
#include "screens/lookups/frminforules.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

// Height of a one-line message label in `font`.
int OneLineHeight(const QFont& font)
{
    QLabel line;
    line.setFont(font);
    line.setText(QString::fromUtf8("信"));
    return line.sizeHint().height();
}

} // namespace

TfrmInfo::TfrmInfo(QWidget* parent) : TBlueFrame(parent), messageLabel_(new QLabel(body()))
{
    setObjectName(QStringLiteral("frmInfo"));
    messageLabel_->setObjectName(QStringLiteral("message"));
    messageLabel_->setFont(SongtiPixelFont(14));
    messageLabel_->setTextFormat(Qt::PlainText);
    messageLabel_->setWordWrap(false);
    setHeading(InfoDefaultHeading());
    arrange();
}

void TfrmInfo::setMessage(const QString& message)
{
    message_ = message;
    arrange();
}

void TfrmInfo::setKind(InfoKind kind)
{
    kind_ = kind;
    arrange();
}

void TfrmInfo::setCallerKeyHint(const QString& hint)
{
    callerHint_ = hint;
    arrange();
}

void TfrmInfo::setCaption(const QString& caption)
{
    setHeading(InfoHeading(caption));
}

void TfrmInfo::arrange()
{
    setKeyHint(InfoKeyHint(kind_, callerHint_));
    messageLabel_->setText(InfoDisplayText(message_));
    messageLabel_->adjustSize();
    // Grows with the message and never shrinks below what it already is.
    QSize panel = InfoMessagePanelSize(messageLabel_->size(), OneLineHeight(messageLabel_->font()));
    panel = panel.expandedTo(bodySize());
    setBodySize(panel);
    messageLabel_->move((panel.width() - messageLabel_->width()) / 2,
                        (panel.height() - messageLabel_->height()) / 2);
}

void TfrmInfo::showEvent(QShowEvent* event)
{
    arrange();
    centreOnScreen();
    TBlueFrame::showEvent(event);
}

bool TfrmInfo::frameKey(QKeyEvent* event)
{
    if (IsEnterKey(event)) {
        finish(1);
        return true;
    }
    if (IsEscKey(event)) {
        if (InfoAcceptsEsc(kind_))
            finish(2);
        return true;
    }
    return false;
}

} // namespace qiantai
