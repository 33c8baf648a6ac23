// The information box: every message and yes/no question of the module.
// Enter closes it with 1; Esc closes it with 2, but only for a question
// (InfoKind). It cannot be closed in any other way.
#pragma once

#include "controls/blueframe.h"
#include "screens/lookups/frminforules.h"

class QLabel;

namespace qiantai {

class TfrmInfo : public TBlueFrame {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent);

    void setMessage(const QString& message);
    QString message() const { return message_; }
    void setKind(InfoKind kind);
    InfoKind kind() const { return kind_; }
    // Replaces the key hint line when not empty.
    void setCallerKeyHint(const QString& hint);
    // Replaces the heading "信息窗口" when not empty.
    void setCaption(const QString& caption);

    QLabel* messageLabel() const { return messageLabel_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void arrange();

    QLabel* messageLabel_;
    QString message_;
    QString callerHint_;
    InfoKind kind_ = InfoKind::Statement;
};

} // namespace qiantai
