// Drives the next modal dialog: once it is open, `inspect` sees it and then
// the key script is typed into it.
#pragma once

#include "keyrobot.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace qiantai::test {

class ModalScript {
public:
    explicit ModalScript(const QString& script, std::function<void(QWidget*)> inspect = {})
    {
        QTimer::singleShot(0, &robot_, [this, script, inspect] {
            QWidget* modal = QApplication::activeModalWidget();
            opened_ = modal != nullptr;
            if (modal && inspect)
                inspect(modal);
            EXPECT_TRUE(robot_.start(script)) << robot_.error().toStdString();
        });
    }
    // Whether a modal dialog was open and the whole script was typed.
    bool done()
    {
        const bool typed = robot_.waitDone();
        EXPECT_TRUE(typed) << robot_.error().toStdString();
        return opened_ && typed;
    }
    KeyRobot& robot() { return robot_; }

private:
    KeyRobot robot_;
    bool opened_ = false;
};

} // namespace qiantai::test
