// Supervisor authorization: an employee code and password that the host
// verifies, then the host checks that the employee holds the right. Enter in
// the code field moves to the password, Enter in the password field tries;
// a refusal clears both fields for another try. Esc cancels.
#pragma once

#include "controls/blueframe.h"
#include "hostcalls/hostservice.h"

class QLineEdit;

namespace qiantai {

class TFlatEdit;

class TFrmGrant : public TBlueFrame {
    Q_OBJECT
public:
    // The heading follows the right: "低于进价授权" for "9912", else
    // "低于最低售价授权".
    TFrmGrant(QWidget* parent, ICoorDisp* host, const QString& right);

    const QString& right() const { return right_; }
    QLineEdit* codeEdit() const;
    QLineEdit* passwordEdit() const;

protected:
    bool frameKey(QKeyEvent* event) override;

private:
    void tryGrant();

    HostService host_;
    QString right_;
    TFlatEdit* code_;
    TFlatEdit* password_;
};

// Shows the authorization for `right` centred on the screen; true when a
// supervisor granted it.
bool AuthorizeRight(QWidget* parent, ICoorDisp* host, const QString& right);

} // namespace qiantai
