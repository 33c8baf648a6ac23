#include "modalscript.h"

#include "controls/blueframe.h"
#include "screens/lookups/frminfo.h"
#include "screens/lookups/frminforules.h"
#include "screens/lookups/showhostmessage.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ModalScript;

namespace {

const QString EnterHint = QString::fromUtf8("【Enter】确定");
const QString EnterEscHint = QString::fromUtf8("【Enter】确定  【Esc】取消");

struct Seen {
    QSize frame;
    QRect body;
    QRect hint;
    QRect label;
    QString labelText;
    QString heading;
    QString keyHint;
    QPoint centre;
};

Seen Look(QWidget* modal)
{
    Seen s;
    auto* box = qobject_cast<TfrmInfo*>(modal);
    if (!box) {
        ADD_FAILURE() << "the open dialog is not a TfrmInfo";
        return s;
    }
    s.frame = box->size();
    s.body = box->body()->geometry();
    s.hint = box->findChild<QLabel*>(QStringLiteral("frameHint"))->geometry();
    s.label = box->messageLabel()->geometry();
    s.labelText = box->messageLabel()->text();
    s.heading = box->heading();
    s.keyHint = box->keyHint();
    s.centre = box->geometry().center();
    return s;
}

} // namespace

TEST(TfrmInfo, KindDecidesWhetherEscCloses)
{
    const struct {
        InfoKind kind;
        const char* script;
        int result;
    } cases[] = {
        {InfoKind::Statement, "<Esc><Esc><Enter>", 1}, // Esc is ignored
        {InfoKind::Notice, "<Esc><Enter>", 1},         // accepts only Enter as well
        {InfoKind::Question, "<Esc>", 2},              // Esc is "no"
        {InfoKind::Question, "<Enter>", 1},
        {InfoKind(3), "<Esc>", 2},
        {InfoKind::Statement, "x<Space><F1><Enter>", 1}, // other keys do nothing
    };
    for (const auto& c : cases) {
        ModalScript keys(QString::fromUtf8(c.script));
        EXPECT_EQ(ShowHostMessage(QString::fromUtf8("库存不足"), {}, {}, c.kind, nullptr), c.result)
            << "kind " << int(c.kind) << " " << c.script;
        EXPECT_TRUE(keys.done());
    }
}

TEST(TfrmInfo, HeadingAndKeyHintFollowKindCallerHintAndCaption)
{
    const struct {
        InfoKind kind;
        const char* hint;
        const char* caption;
        QString keyHint;
        QString heading;
    } cases[] = {
        {InfoKind::Statement, "", "", EnterHint, QString::fromUtf8("信息窗口")},
        {InfoKind::Question, "", "", EnterEscHint, QString::fromUtf8("信息窗口")},
        {InfoKind::Notice, "", "错误提示", EnterEscHint, QString::fromUtf8("错误提示")},
        {InfoKind(7), "", "", EnterEscHint, QString::fromUtf8("信息窗口")},
        {InfoKind::Statement, "【Enter】继续", "出错提示", QString::fromUtf8("【Enter】继续"),
         QString::fromUtf8("出错提示")},
        {InfoKind::Question, "【Enter】是  【Esc】否", "", QString::fromUtf8("【Enter】是  【Esc】否"),
         QString::fromUtf8("信息窗口")},
    };
    for (const auto& c : cases) {
        Seen seen;
        ModalScript keys(QStringLiteral("<Enter>"), [&seen](QWidget* w) { seen = Look(w); });
        ShowHostMessage(QStringLiteral("m"), QString::fromUtf8(c.caption), QString::fromUtf8(c.hint), c.kind,
                        nullptr);
        ASSERT_TRUE(keys.done());
        EXPECT_EQ(seen.keyHint, c.keyHint) << int(c.kind);
        EXPECT_EQ(seen.heading, c.heading) << int(c.kind);
    }
}

TEST(TfrmInfo, ShortMessageKeepsTheDesignedSizeCentredOnTheScreen)
{
    Seen seen;
    ModalScript keys(QStringLiteral("<Enter>"), [&seen](QWidget* w) { seen = Look(w); });
    ShowHostMessage(QString::fromUtf8("确定要退出本模块吗？"), {}, {}, InfoKind::Question, nullptr);
    ASSERT_TRUE(keys.done());
    EXPECT_EQ(seen.frame, QSize(335, 138));
    EXPECT_EQ(seen.body.size(), QSize(317, 48));
    EXPECT_TRUE(seen.body.contains(seen.label.translated(seen.body.topLeft())));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((seen.centre - screenCentre).manhattanLength(), 2);
}

TEST(TfrmInfo, TwoLongLinesWidenTheBoxSoThatBothShowInFull)
{
    const QString first =
        QString::fromUtf8("商品 100001 在柜组 0101 的库存不足，现有库存 0 台，请与仓库联系后再销售");
    const QString second =
        QString::fromUtf8("或者改为配送中心发货（销售方式：配送中心配送），再重新录入本商品的数量");
    Seen seen;
    ModalScript keys(QStringLiteral("<Enter>"), [&seen](QWidget* w) { seen = Look(w); });
    EXPECT_EQ(ShowHostMessage(QVariantList{first, second}, {}, {}, InfoKind::Statement, nullptr), 1);
    ASSERT_TRUE(keys.done());

    EXPECT_EQ(seen.labelText, first + QLatin1Char('\n') + second);
    TfrmInfo probe(nullptr);
    const QFontMetrics fm(probe.messageLabel()->font());
    for (const QString& line : {first, second})
        EXPECT_GE(seen.label.width(), fm.horizontalAdvance(line));
    EXPECT_GE(seen.label.height(), 2 * fm.height());
    // The label lies inside the panel, the panel inside the frame.
    EXPECT_TRUE(QRect(QPoint(), seen.body.size()).contains(seen.label));
    EXPECT_GE(seen.body.width(), seen.label.width() + 16);
    EXPECT_GT(seen.body.height(), 48);
    EXPECT_GT(seen.frame.width(), 335);
    EXPECT_TRUE(QRect(QPoint(), seen.frame).contains(seen.body));
    // Frame and hint line grow and move with the panel.
    EXPECT_EQ(seen.frame.width() - seen.body.width(), 335 - 317);
    EXPECT_EQ(seen.frame.height() - seen.body.height(), 138 - 48);
    EXPECT_EQ(seen.hint.top() - 92, seen.body.height() - 48);
    EXPECT_EQ(seen.hint.width(), seen.body.width());
}

TEST(TfrmInfo, NeverShrinksWhenItsMessageBecomesShorter)
{
    TfrmInfo box(nullptr);
    box.setMessage(QString(80, QChar(0x5E93)));
    const QSize wide = box.size();
    box.setMessage(QStringLiteral("ok"));
    EXPECT_EQ(box.size(), wide);
    EXPECT_GT(wide.width(), 335);
}

TEST(TfrmInfo, ClosesOnlyByItsKeys)
{
    bool stayedOpen = false;
    ModalScript keys(QStringLiteral("<Enter>"), [&stayedOpen](QWidget* w) {
        w->close();
        static_cast<QDialog*>(w)->reject();
        stayedOpen = w->isVisible() && QApplication::activeModalWidget() == w;
    });
    EXPECT_EQ(ShowHostMessage(QVariant(), {}, {}, InfoKind::Question, nullptr), 1);
    ASSERT_TRUE(keys.done());
    EXPECT_TRUE(stayedOpen);
}

TEST(TfrmInfo, ShowsUnknownErrorForAMessageThatIsNoText)
{
    QString shown;
    ModalScript keys(QStringLiteral("<Enter>"),
                     [&shown](QWidget* w) { shown = qobject_cast<TfrmInfo*>(w)->messageLabel()->text(); });
    ShowHostMessage(QVariant(), {}, {}, InfoKind::Statement, nullptr);
    ASSERT_TRUE(keys.done());
    EXPECT_EQ(shown, QString::fromUtf8("未知错误！"));
}

TEST(TfrmInfo, IsOwnedByTheGivenWindow)
{
    QWidget owner;
    QWidget* parent = nullptr;
    ModalScript keys(QStringLiteral("<Enter>"), [&parent](QWidget* w) { parent = w->parentWidget(); });
    ShowHostMessage(QStringLiteral("m"), {}, {}, InfoKind::Statement, &owner);
    ASSERT_TRUE(keys.done());
    EXPECT_EQ(parent, &owner);
}

TEST(InfoRules, MessagePanelGrowsWithTheMessageOnly)
{
    EXPECT_EQ(InfoMessagePanelSize(QSize(100, 14)), QSize(317, 48));
    EXPECT_EQ(InfoMessagePanelSize(QSize(301, 14)), QSize(317, 48));
    EXPECT_EQ(InfoMessagePanelSize(QSize(302, 15)), QSize(318, 49));
    EXPECT_EQ(InfoMessagePanelSize(QSize(500, 60)), QSize(516, 94));
    // A font with 17-pixel lines: one line keeps the designed height, two
    // lines add one line.
    EXPECT_EQ(InfoMessagePanelSize(QSize(100, 17), 17), QSize(317, 48));
    EXPECT_EQ(InfoMessagePanelSize(QSize(100, 34), 17), QSize(317, 65));
    EXPECT_EQ(InfoDisplayText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
}
