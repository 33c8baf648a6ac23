#include "base/numbertext.h"
#include "controls/inputfilter.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

// Each input path that brings text without a key press.
enum class Path { Paste, InputMethod, Drop, Insert };

void Bring(QLineEdit& edit, Path path, const QString& text)
{
    switch (path) {
    case Path::Paste:
        QApplication::clipboard()->setText(text);
        edit.paste();
        return;
    case Path::InputMethod: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&edit, &event);
        return;
    }
    case Path::Drop: {
        QMimeData mime;
        mime.setText(text);
        const QPoint at(edit.width() - 2, edit.height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&edit, &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&edit, &drop);
        return;
    }
    case Path::Insert:
        edit.insert(text);
        return;
    }
}

} // namespace

TEST(InputFilter, EveryInputPathKeepsTheFieldsCharacters)
{
    for (Path path : {Path::Paste, Path::InputMethod, Path::Drop, Path::Insert}) {
        QLineEdit edit;
        RestrictInput(&edit, IsNumberChar);
        edit.resize(200, 24);
        edit.show();
        QTest::keyClicks(&edit, QStringLiteral("1a-2"));
        EXPECT_EQ(edit.text(), QStringLiteral("12"));
        edit.end(false);
        for (const QString& refused :
             {QStringLiteral("-1e3"), QStringLiteral("１２"), QStringLiteral("'; --"), QStringLiteral("inf"),
              QStringLiteral("3\t")}) {
            Bring(edit, path, refused);
            EXPECT_EQ(edit.text(), QStringLiteral("12")) << int(path) << refused.toStdString();
        }
        Bring(edit, path, QStringLiteral(".5"));
        EXPECT_EQ(edit.text(), QStringLiteral("12.5")) << int(path);
    }
}

TEST(InputFilter, CodeBoxesTakeDigitsOnly)
{
    QLineEdit edit;
    RestrictInput(&edit, IsDigitChar);
    QTest::keyClicks(&edit, QStringLiteral("1.2-3x"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    edit.insert(QStringLiteral("4.5"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
}
