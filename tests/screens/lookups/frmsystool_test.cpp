#include "screens/lookups/frmsystool.h"
#include "screens/lookups/frmsystoolrules.h"

#include "modalscript.h"

#include <QListWidget>

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

namespace {

TAllSysTools StandardTools()
{
    TAllSysTools tools;
    TSysTool& a = tools.Add();
    a.Caption = QStringLiteral("使用会员卡");
    a.FormName = QStringLiteral("FrmUseHyk");
    TSysTool& b = tools.Add();
    b.Caption = QStringLiteral("会员卡余额查询");
    b.FormName = QStringLiteral("FrmHykzf");
    return tools;
}

} // namespace

TEST(SysToolRules, KeysWrapAndDigitsSelectWithinTheEntries)
{
    const struct {
        int current, count, key;
        const char* text;
        int expected;
    } cases[] = {
        {0, 2, Qt::Key_Up, "", 1}, {1, 2, Qt::Key_Down, "", 0}, {0, 2, Qt::Key_Down, "", 1},
        {0, 2, Qt::Key_2, "2", 1}, {0, 2, Qt::Key_3, "3", 0},   {1, 2, Qt::Key_0, "0", 1},
        {1, 2, Qt::Key_1, "1", 0}, {0, 2, Qt::Key_A, "a", 0},   {0, 1, Qt::Key_Down, "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SysToolSelectionAfterKey(c.current, c.count, c.key, QString::fromLatin1(c.text)),
                  c.expected)
            << c.current << " key " << c.key;
    EXPECT_EQ(SysToolEntryText(2, QStringLiteral("会员卡余额查询")), QStringLiteral("  [2] 会员卡余额查询"));
    EXPECT_EQ(SysToolSelectionText(1), QStringLiteral("选择[1]项"));
}

TEST(SysToolRules, MenuAndToolScreenSitOverTheFooter)
{
    const QRect footer(0, 700, 1024, 68); // bottom edge at 767
    EXPECT_EQ(SysToolMenuPosition(footer, QSize(220, 100)), QPoint(402, 768 - 40 - 100));
    EXPECT_EQ(SysToolScreenPosition(footer, QSize(220, 100), QSize(300, 150)), QPoint(362, 768 - 100 - 40));
}

TEST(FrmSysTool, RowsSelectionLabelAndKeys)
{
    const TAllSysTools tools = StandardTools();
    TFrmSysTool menu(nullptr, tools);
    QStringList rows, labels;
    ModalScript typing(QStringLiteral("3<Up>2<Enter>"), [&](QWidget*) {
        for (int i = 0; i < menu.List()->count(); ++i)
            rows << menu.List()->item(i)->text();
        labels << menu.SelectionText();
    });
    EXPECT_EQ(menu.exec(), 1);
    EXPECT_TRUE(typing.done());
    EXPECT_EQ(rows,
              (QStringList{QStringLiteral("  [1] 使用会员卡"), QStringLiteral("  [2] 会员卡余额查询")}));
    EXPECT_EQ(labels, QStringList{QStringLiteral("选择[1]项")});
    EXPECT_EQ(menu.Chosen(), 2);
    EXPECT_EQ(menu.SelectionText(), QStringLiteral("选择[2]项"));
}

TEST(FrmSysTool, EscCancels)
{
    const TAllSysTools tools = StandardTools();
    TFrmSysTool menu(nullptr, tools);
    ModalScript typing(QStringLiteral("<Down><Esc>"));
    EXPECT_EQ(menu.exec(), 2);
    EXPECT_TRUE(typing.done());
    EXPECT_EQ(menu.Chosen(), 0);
}
