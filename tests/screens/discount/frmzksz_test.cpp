#include "screens/discount/frmzksz.h"

#include "discountfixtures.h"
#include "sale/linesums.h"
#include "scriptedexec.h"
#include "shownmessages.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;
using qiantai::test::ExecWhileTyping;
using qiantai::test::RecordingAuthority;
using qiantai::test::ShownMessages;

namespace {

// Line 1: 5.00 off a list amount of 50.00. Line 2: list 100.00, cost total
// 81.90, lowest price 85.00.
class TfrmZkszTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AddLine(lines, "A", 25, 2).ManualDiscount = 5;
        AddLine(lines, "P01", 100, 1, 70, 85, 17);
    }
    TfrmZksz* Open(DiscountMode mode, int row, int xsfkz = 0)
    {
        dialog.reset(new TfrmZksz(nullptr, mode, row, lines, rights.authority(), 3, xsfkz));
        return dialog.get();
    }

    TSaleRecords lines;
    RecordingAuthority rights;
    std::unique_ptr<TfrmZksz> dialog;
};

} // namespace

TEST_F(TfrmZkszTest, OpeningValuesPerMode)
{
    const struct {
        DiscountMode mode;
        const char *title, *shownCaption, *shown, *inputCaption, *input, *quantity, *amount;
        bool productShown;
    } cases[] = {
        {DiscountMode::LineRate, "单行手工折扣率设置", "折扣金额:", "5.00", "折扣扣率:", "90.00", "2.00",
         "50.00", true},
        {DiscountMode::LineAmount, "单行手工金额折扣设置", "折扣扣率:", "90.00", "折扣金额:", "5.00", "2.00",
         "50.00", true},
        {DiscountMode::WholeRate, "整单手工折扣率设置", "折扣金额:", "5.00", "折扣扣率:", "96.67", "3.00",
         "150.00", false},
        {DiscountMode::WholeAmount, "整单手工金额折扣设置", "折扣扣率:", "96.67", "折扣金额:", "5.00", "3.00",
         "150.00", false},
    };
    for (const auto& c : cases) {
        TfrmZksz* d = Open(c.mode, 1);
        EXPECT_EQ(d->heading(), QString::fromUtf8(c.title));
        EXPECT_EQ(d->keyHint(), QStringLiteral("【Enter】确定 【Esc】退出"));
        EXPECT_EQ(d->shownCaption()->text(), QString::fromUtf8(c.shownCaption));
        EXPECT_EQ(d->shownValueLabel()->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(d->inputCaption()->text(), QString::fromUtf8(c.inputCaption));
        EXPECT_EQ(d->input()->text(), QString::fromUtf8(c.input));
        EXPECT_EQ(d->quantityLabel()->text(), QString::fromUtf8(c.quantity));
        EXPECT_EQ(d->amountLabel()->text(), QString::fromUtf8(c.amount));
        EXPECT_EQ(d->productNameLabel()->isVisibleTo(d), c.productShown);
        if (c.productShown) {
            EXPECT_EQ(d->productNameLabel()->text(), QStringLiteral("商品A"));
        }
        EXPECT_EQ(d->input()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
    lines[0].Quantity = 0;
    EXPECT_EQ(Open(DiscountMode::LineRate, 1)->quantityLabel()->text(), QString());
}

TEST_F(TfrmZkszTest, TypingReplacesTheSelectionAndDropsOtherCharacters)
{
    TfrmZksz* d = Open(DiscountMode::LineRate, 2);
    EXPECT_EQ(ExecWhileTyping(*d, "a9x<Space>+0e<Enter>"), QDialog::Accepted);
    EXPECT_EQ(d->input()->text(), "90");
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 10);
    EXPECT_NEAR(LineAmount(lines[1]), 90, 1e-9);
    EXPECT_TRUE(rights.asked.isEmpty());
}

TEST_F(TfrmZkszTest, ARefusalShowsItsMessageAndTheOpeningValues)
{
    ShownMessages shown;
    TfrmZksz* d = Open(DiscountMode::LineRate, 2);
    // 84 needs a supervisor, who is not there; after the message the opening
    // rate is selected again, so 90 replaces it.
    EXPECT_EQ(ExecWhileTyping(*d, "84<Enter><Enter>90<Enter>"), QDialog::Accepted);
    EXPECT_EQ(shown.texts, QStringList({QStringLiteral("商品P01折扣以后的实际售价不能小于最低售价！")}));
    EXPECT_EQ(shown.captions, QStringList({QStringLiteral("错误提示")}));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907"}));
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 10);
}

TEST_F(TfrmZkszTest, AfterARefusalEscChangesNothing)
{
    TfrmZksz* d = Open(DiscountMode::LineAmount, 2);
    EXPECT_EQ(ExecWhileTyping(*d, "30<Enter><Enter><Esc>"), QDialog::Rejected);
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912", "grant:9912"}));
    EXPECT_EQ(d->input()->text(), "0.00");
    EXPECT_EQ(d->shownValueLabel()->text(), "100.00");
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 0);
    EXPECT_NEAR(LineAmount(lines[1]), 100, 1e-9);
}

TEST_F(TfrmZkszTest, NoNumberKeepsTheTypedText)
{
    ShownMessages shown;
    TfrmZksz* d = Open(DiscountMode::WholeAmount, 1);
    EXPECT_EQ(ExecWhileTyping(*d, "1.2.3<Enter><Enter><Esc>"), QDialog::Rejected);
    EXPECT_EQ(shown.errors, QStringList({QStringLiteral("“1.2.3”不是有效的数字")}));
    EXPECT_EQ(d->input()->text(), "1.2.3");
    EXPECT_DOUBLE_EQ(lines[0].ManualDiscount, 5);
    EXPECT_TRUE(rights.asked.isEmpty());
}

TEST_F(TfrmZkszTest, WholeSaleAmountWithTheStoreRounding)
{
    TfrmZksz* d = Open(DiscountMode::WholeAmount, 1, 1);
    rights.cashierRights = {"9912"};
    // 31.00 over 50.00 and 100.00: 50 - 10.333 = 39.67 and 100 - 20.667 =
    // 79.33 (below cost), rounded by the store to 39.7 and 79.3.
    EXPECT_EQ(ExecWhileTyping(*d, "31<Enter>"), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(lines[0].ManualDiscount, 31.0 * 50 / 150);
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 31.0 * 100 / 150);
    EXPECT_NEAR(LineAmount(lines[0]), 39.7, 1e-9);
    EXPECT_NEAR(LineAmount(lines[1]), 79.3, 1e-9);
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912"}));
}
