// Runs a modal dialog while a key script is typed into it. A dialog still
// open a second after the script ended is a failure and is closed, so a test
// never hangs.
#pragma once

#include "keyrobot.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace qiantai::test {

// Calls `show` (which runs the modal loop) while `script` is typed; returns
// what `show` returned.
template <class Show> auto WhileTyping(const QString& script, Show show)
{
    KeyRobot robot;
    QObject::connect(&robot, &KeyRobot::finished, &robot, [&robot] {
        QTimer::singleShot(1000, &robot, [] {
            while (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                const QWidget* focus = QApplication::focusWidget();
                ADD_FAILURE() << "still open after the script: " << open->metaObject()->className()
                              << ", focus on " << (focus ? focus->metaObject()->className() : "nothing");
                open->done(-1);
            }
        });
    });
    EXPECT_TRUE(robot.start(script)) << robot.error().toStdString();
    auto result = show();
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();
    return result;
}

inline int ExecWhileTyping(QDialog& dialog, const QString& script)
{
    return WhileTyping(script, [&] { return dialog.exec(); });
}

} // namespace qiantai::test
