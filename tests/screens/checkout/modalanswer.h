// Answers the next modal dialog that opens: waits for it, remembers the
// texts of its labels and sends it a key.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace qiantai::test {

class ModalAnswer : public QObject {
public:
    // Starts watching for a modal dialog other than the one active now.
    explicit ModalAnswer(int key = Qt::Key_Return) : key_(key)
    {
        before_ = QApplication::activeModalWidget();
        auto* timer = new QTimer(this);
        timer->setInterval(5);
        connect(timer, &QTimer::timeout, this, [this, timer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == before_)
                return;
            for (QLabel* l : modal->findChildren<QLabel*>())
                texts_ << l->text();
            timer->stop();
            QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
            QKeyEvent press(QEvent::KeyPress, key_, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(target, &press);
            answered_ = true;
        });
        timer->start();
    }

    bool Answered() const { return answered_; }
    QString Texts() const { return texts_.join(QLatin1Char('|')); }

private:
    int key_;
    QPointer<QWidget> before_;
    QStringList texts_;
    bool answered_ = false;
};

} // namespace qiantai::test
