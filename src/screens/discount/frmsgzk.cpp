#include "screens/discount/frmsgzk.h"

#include "controls/cjkfont.h"
#include "screens/discount/discountentrypoint.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int OptionHeight = 26;
constexpr int OptionWidth = 260;

const QColor SelectedBack(0x00, 0x00, 0xC0);

} // namespace

TfrmSgzk::TfrmSgzk(QWidget* parent, int row, const TSaleRecords& lines)
    : TBlueFrame(parent), lines_(lines), row_(row), selection_(new QLabel(body()))
{
    setObjectName(QStringLiteral("frmSgzk"));
    setHeading(QStringLiteral("手工折扣方式"));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】退出"));
    setBodySize(QSize(OptionWidth, OptionHeight * (DiscountModeCount + 1) + 8));
    for (int i = 0; i < DiscountModeCount; ++i) {
        auto* option = new QLabel(DiscountModeOptionText(static_cast<DiscountMode>(i)), body());
        option->setFont(SongtiPixelFont(16));
        option->setTextFormat(Qt::PlainText);
        option->setGeometry(16, 4 + i * OptionHeight, OptionWidth - 32, OptionHeight - 2);
        option->setAutoFillBackground(true);
        options_.append(option);
    }
    selection_->setFont(SongtiPixelFont(14));
    selection_->setTextFormat(Qt::PlainText);
    selection_->setGeometry(16, 8 + DiscountModeCount * OptionHeight, OptionWidth - 32, OptionHeight - 2);
    setFocusPolicy(Qt::StrongFocus);
    select(DiscountMode::LineRate);
}

void TfrmSgzk::select(DiscountMode mode)
{
    mode_ = mode;
    for (int i = 0; i < options_.size(); ++i) {
        QLabel* option = options_[i];
        QPalette pal = palette();
        if (i == static_cast<int>(mode)) {
            pal.setColor(QPalette::Window, SelectedBack);
            pal.setColor(QPalette::WindowText, Qt::white);
        } else {
            pal.setColor(QPalette::Window, body()->palette().color(QPalette::Window));
        }
        option->setPalette(pal);
    }
    selection_->setText(DiscountModeSelectionText(mode));
}

bool TfrmSgzk::frameKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down) {
        select(NextDiscountMode(mode_));
        return true;
    }
    if (event->key() == Qt::Key_Up) {
        select(PreviousDiscountMode(mode_));
        return true;
    }
    if (IsEscKey(event)) {
        finish(QDialog::Rejected);
        return true;
    }
    if (IsEnterKey(event)) {
        const QString refusal = CheckDiscountMode(mode_, row_, lines_);
        if (refusal.isEmpty())
            finish(QDialog::Accepted);
        else
            ShowDiscountMessage(refusal, this);
        return true;
    }
    return false;
}

} // namespace qiantai
