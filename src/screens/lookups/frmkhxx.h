// The customer information box: a free-text note about the customer.
// Enter confirms and Esc cancels; Ctrl+Enter starts a new line.
#pragma once

#include "controls/blueframe.h"

class QPlainTextEdit;

namespace qiantai {

class TfrmKhxx : public TBlueFrame {
    Q_OBJECT
public:
    explicit TfrmKhxx(QWidget* parent);

    void setText(const QString& text);
    // Lines separated by "\n".
    QString text() const;

    QPlainTextEdit* editor() const { return editor_; }

protected:
    bool frameKey(QKeyEvent* event) override;

private:
    QPlainTextEdit* editor_;
};

// Shows the box centred on the screen with `khxx`; when it is confirmed the
// edited text replaces `khxx` and the result is true; cancelled, `khxx` is
// left as it was.
bool EditCustomerInfo(QString& khxx, QWidget* parent);

} // namespace qiantai
