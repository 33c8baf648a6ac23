#include "screens/lookups/frmselect.h"

#include "controls/cjkfont.h"
#include "screens/lookups/frminputxsxxrules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace qiantai {

namespace {

constexpr int OptionHeight = 28;
constexpr int BodyWidth = 317;
const QColor SelectedBack(0, 0, 0xC0);

} // namespace

TfrmSelect::TfrmSelect(QWidget* parent) : TBlueFrame(parent), choice_(new QLabel(body()))
{
    setObjectName(QStringLiteral("frmSelect"));
    setHeading(QStringLiteral("销售方式"));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】退出"));
    setBodySize(QSize(BodyWidth, SalesMethodCount * OptionHeight + 34));
    for (int i = 0; i < SalesMethodCount; ++i) {
        auto* label = new QLabel(SalesMethodOptionText(i), body());
        label->setObjectName(QStringLiteral("option%1").arg(i));
        label->setFont(SongtiPixelFont(16));
        label->setGeometry(40, 4 + i * OptionHeight, BodyWidth - 80, OptionHeight - 4);
        label->setIndent(12);
        label->setAutoFillBackground(true);
        label->installEventFilter(this);
        options_.append(label);
    }
    choice_->setObjectName(QStringLiteral("choice"));
    choice_->setFont(SongtiPixelFont(14));
    choice_->setAlignment(Qt::AlignCenter);
    choice_->setGeometry(0, 8 + SalesMethodCount * OptionHeight, BodyWidth, 22);
    setSelected(0);
}

void TfrmSelect::setSelected(int xsfs)
{
    if (xsfs < 0 || xsfs >= SalesMethodCount)
        xsfs = 0;
    selected_ = xsfs;
    for (int i = 0; i < options_.size(); ++i) {
        QPalette pal = options_[i]->palette();
        const bool on = i == selected_;
        pal.setColor(QPalette::Window, on ? SelectedBack : body()->palette().color(QPalette::Window));
        pal.setColor(QPalette::WindowText, on ? QColor(Qt::white) : QColor(Qt::black));
        options_[i]->setPalette(pal);
    }
    choice_->setText(SalesMethodChoiceText(selected_));
}

bool TfrmSelect::frameKey(QKeyEvent* event)
{
    if (IsEnterKey(event)) {
        finish(Confirmed);
        return true;
    }
    if (IsEscKey(event)) {
        finish(Cancelled);
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Down:
        setSelected(NextSalesMethod(selected_));
        return true;
    case Qt::Key_Up:
        setSelected(PreviousSalesMethod(selected_));
        return true;
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
        setSelected(event->key() - Qt::Key_0);
        return true;
    default:
        return false;
    }
}

bool TfrmSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const int i = int(options_.indexOf(qobject_cast<QLabel*>(watched)));
        if (i >= 0) {
            setSelected(i);
            return true;
        }
    }
    return TBlueFrame::eventFilter(watched, event);
}

} // namespace qiantai
