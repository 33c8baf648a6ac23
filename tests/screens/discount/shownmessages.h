// Records every information box and message box shown while it lives: its
// heading or title and its text, at the moment it appears.
#pragma once

#include "screens/lookups/frminfo.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QStringList>

namespace qiantai::test {

class ShownMessages : public QObject {
public:
    ShownMessages() { qApp->installEventFilter(this); }
    ~ShownMessages() override { qApp->removeEventFilter(this); }

    QStringList captions; // TfrmInfo headings
    QStringList texts;    // TfrmInfo messages
    QStringList errors;   // QMessageBox texts

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* info = qobject_cast<TfrmInfo*>(watched)) {
                captions.append(info->heading());
                texts.append(info->message());
            } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                errors.append(box->text());
            }
        }
        return false;
    }
};

} // namespace qiantai::test
