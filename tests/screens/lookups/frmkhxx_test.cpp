#include "modalscript.h"

#include "screens/lookups/frmkhxx.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ModalScript;

TEST(TfrmKhxx, EnterConfirmsTheEditedTextAndCtrlEnterBreaksTheLine)
{
    QString khxx = QString::fromUtf8("张先生");
    bool focused = false;
    ModalScript keys(
        QString::fromUtf8("<End>，送货上门<Ctrl+Enter>电话 1 3 9<Enter>"),
        [&focused](QWidget* w) { focused = w->focusWidget() == static_cast<TfrmKhxx*>(w)->editor(); });
    EXPECT_TRUE(EditCustomerInfo(khxx, nullptr));
    ASSERT_TRUE(keys.done());
    EXPECT_TRUE(focused);
    EXPECT_EQ(khxx, QString::fromUtf8("张先生，送货上门\n电话139"));
}

TEST(TfrmKhxx, EscKeepsThePreviousText)
{
    QString khxx = QString::fromUtf8("张先生");
    ModalScript keys(QString::fromUtf8("<Backspace>改掉<Esc>"));
    EXPECT_FALSE(EditCustomerInfo(khxx, nullptr));
    ASSERT_TRUE(keys.done());
    EXPECT_EQ(khxx, QString::fromUtf8("张先生"));
}
