#include "screens/discount/frmsgzk.h"

#include "discountfixtures.h"
#include "scriptedexec.h"
#include "shownmessages.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;
using qiantai::test::ExecWhileTyping;
using qiantai::test::ShownMessages;

namespace {

} // namespace

TEST(TfrmSgzkTest, SelectionWrapsAndIsShown)
{
    TSaleRecords lines;
    AddLine(lines, "A", 10);
    const struct {
        const char* script;
        DiscountMode mode;
    } cases[] = {
        {"<Enter>", DiscountMode::LineRate},
        {"<Down><Down><Down><Down><Down><Enter>", DiscountMode::WholeRate},
        {"<Up><Enter>", DiscountMode::WholeAmount},
        {"<Up><Up><Down><Down><Down><Enter>", DiscountMode::WholeRate},
        {"<Down><Left><Right>2<Space><Tab><Enter>", DiscountMode::WholeRate}, // other keys do nothing
    };
    for (const auto& c : cases) {
        TfrmSgzk picker(nullptr, 1, lines);
        EXPECT_EQ(ExecWhileTyping(picker, c.script), QDialog::Accepted) << c.script;
        EXPECT_EQ(picker.mode(), c.mode) << c.script;
        EXPECT_EQ(picker.selectionLabel()->text(), DiscountModeSelectionText(c.mode)) << c.script;
        for (int i = 0; i < DiscountModeCount; ++i) {
            const auto mode = static_cast<DiscountMode>(i);
            const QColor back = picker.optionLabel(mode)->palette().color(QPalette::Window);
            EXPECT_EQ(back == QColor(0, 0, 0xC0), mode == c.mode) << c.script << " option " << i;
        }
    }
}

TEST(TfrmSgzkTest, TextsAndEsc)
{
    TSaleRecords lines;
    TfrmSgzk picker(nullptr, 1, lines);
    EXPECT_EQ(picker.heading(), QStringLiteral("手工折扣方式"));
    EXPECT_EQ(picker.keyHint(), QStringLiteral("【Enter】确定 【Esc】退出"));
    EXPECT_EQ(picker.optionLabel(DiscountMode::WholeAmount)->text(),
              QStringLiteral("[3] 整单记录按金额打折"));
    EXPECT_EQ(ExecWhileTyping(picker, "<Down><Esc>"), QDialog::Rejected);
}

TEST(TfrmSgzkTest, AFailedCheckKeepsThePickerOpen)
{
    TSaleRecords lines;
    AddLine(lines, "A", 10);
    AddLine(lines, "B", 10).LimitedOffer = 1;
    ShownMessages shown;
    // Empty row, then the whole sale with its limited-offer line, then Esc.
    TfrmSgzk picker(nullptr, 3, lines);
    EXPECT_EQ(ExecWhileTyping(picker, "<Enter><Enter><Down><Enter><Enter><Esc>"), QDialog::Rejected);
    EXPECT_EQ(shown.texts, QStringList({QStringLiteral("本行没有数据，不能进行单行折扣！"),
                                        QStringLiteral("该单据含有限时限量商品，不允许整单打折！")}));
    EXPECT_EQ(shown.captions, QStringList({QStringLiteral("错误提示"), QStringLiteral("错误提示")}));
}
