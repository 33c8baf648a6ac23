#include "screens/discount/frmzksz.h"

#include "base/numbertext.h"
#include "controls/cjkfont.h"
#include "controls/flatedit.h"
#include "controls/inputfilter.h"
#include "screens/discount/discountentrypoint.h"
#include "screens/discount/frmzkszrules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>

#include <utility>

namespace qiantai {

namespace {

constexpr int RowHeight = 28;
constexpr int CaptionWidth = 96;
constexpr int ValueWidth = 220;
constexpr int Margin = 12;

QLabel* AddLabel(QWidget* parent, const QString& text, int row, int x, int width, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setFont(SongtiPixelFont(14));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setGeometry(x, Margin / 2 + row * RowHeight, width, RowHeight - 4);
    return label;
}

QString QuantityText(double quantity)
{
    return quantity > 0 ? FormatFixed(quantity, 2) : QString();
}

} // namespace

TfrmZksz::TfrmZksz(QWidget* parent, DiscountMode mode, int row, TSaleRecords& lines,
                   DiscountAuthority authority, double docTotalQty, int xsfkz)
    : TBlueFrame(parent), mode_(mode), row_(row), lines_(lines), authority_(std::move(authority)),
      xsfkz_(xsfkz), opening_(OpeningDiscountValues(mode, row, lines))
{
    setObjectName(QStringLiteral("frmZksz"));
    setHeading(DiscountModeTitle(mode));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】退出"));
    const bool lineMode = IsLineMode(mode);
    const int firstRow = lineMode ? 1 : 0;
    const int rows = firstRow + 4;
    setBodySize(QSize(2 * Margin + CaptionWidth + ValueWidth, rows * RowHeight + Margin));

    const int valueX = Margin + CaptionWidth;
    productNameCaption_ =
        AddLabel(body(), QStringLiteral("商品名称："), 0, Margin, CaptionWidth, Qt::AlignRight);
    productName_ = AddLabel(body(), QString(), 0, valueX, ValueWidth, Qt::AlignLeft);
    AddLabel(body(), QStringLiteral("销货数量："), firstRow, Margin, CaptionWidth, Qt::AlignRight);
    quantity_ = AddLabel(body(), QString(), firstRow, valueX, ValueWidth, Qt::AlignRight);
    AddLabel(body(), QStringLiteral("销货金额："), firstRow + 1, Margin, CaptionWidth, Qt::AlignRight);
    amount_ =
        AddLabel(body(), FormatFixed(opening_.base, 2), firstRow + 1, valueX, ValueWidth, Qt::AlignRight);

    const QString discountCaption = QStringLiteral("折扣金额:");
    const QString rateCaption = QStringLiteral("折扣扣率:");
    const bool rateMode = IsRateMode(mode);
    shownCaption_ = AddLabel(body(), rateMode ? discountCaption : rateCaption, firstRow + 2, Margin,
                             CaptionWidth, Qt::AlignRight);
    shownValue_ = AddLabel(body(), QString(), firstRow + 2, valueX, ValueWidth, Qt::AlignRight);
    inputCaption_ = AddLabel(body(), rateMode ? rateCaption : discountCaption, firstRow + 3, Margin,
                             CaptionWidth, Qt::AlignRight);
    input_ = new TFlatEdit(body());
    input_->setFont(SongtiPixelFont(14));
    input_->setAlignment(Qt::AlignRight);
    RestrictInput(input_, IsNumberChar);
    input_->setGeometry(valueX, Margin / 2 + (firstRow + 3) * RowHeight, ValueWidth, RowHeight - 4);
    routeKeys(input_);

    if (lineMode) {
        const TSaleRecord* line = row >= 1 && row <= lines.Count() ? &lines[row - 1] : nullptr;
        productName_->setText(line ? line->ProductName : QString());
        quantity_->setText(line ? QuantityText(line->Quantity) : QString());
    } else {
        productNameCaption_->hide();
        productName_->hide();
        quantity_->setText(QuantityText(docTotalQty));
    }
    showOpeningValues();
}

QLineEdit* TfrmZksz::input() const
{
    return input_;
}

void TfrmZksz::showOpeningValues()
{
    const bool rateMode = IsRateMode(mode_);
    shownValue_->setText(FormatFixed(rateMode ? opening_.discount : opening_.rate, 2));
    input_->setText(FormatFixed(rateMode ? opening_.rate : opening_.discount, 2));
    input_->setFocus();
    input_->selectAll();
}

void TfrmZksz::confirm()
{
    const DiscountEntryResult result =
        ConfirmDiscount(lines_, mode_, row_, opening_.base, input_->text(), authority_, xsfkz_);
    switch (result.outcome) {
    case DiscountEntryResult::Outcome::Applied:
        finish(QDialog::Accepted);
        return;
    case DiscountEntryResult::Outcome::NotANumber:
        // The typed text stays for the cashier to correct.
        QMessageBox::critical(this, QString(), result.message);
        input_->setFocus();
        return;
    case DiscountEntryResult::Outcome::Refused:
        ShowDiscountMessage(result.message, this);
        showOpeningValues();
        return;
    }
}

bool TfrmZksz::frameKey(QKeyEvent* event)
{
    if (IsEscKey(event)) {
        finish(QDialog::Rejected);
        return true;
    }
    if (IsEnterKey(event)) {
        confirm();
        return true;
    }
    return false;
}

} // namespace qiantai
