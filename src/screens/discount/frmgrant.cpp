#include "screens/discount/frmgrant.h"

#include "controls/cjkfont.h"
#include "controls/flatedit.h"
#include "screens/discount/frmgrantrules.h"
#include "screens/lookups/showhostmessage.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int RowHeight = 30;
constexpr int CaptionWidth = 70;
constexpr int EditWidth = 170;
constexpr int Margin = 12;

TFlatEdit* AddField(QWidget* parent, const QString& caption, int row)
{
    auto* label = new QLabel(caption, parent);
    label->setFont(SongtiPixelFont(14));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(Margin, Margin / 2 + row * RowHeight, CaptionWidth, RowHeight - 6);
    auto* edit = new TFlatEdit(parent);
    edit->setFont(SongtiPixelFont(14));
    edit->setGeometry(Margin + CaptionWidth + 6, Margin / 2 + row * RowHeight, EditWidth, RowHeight - 6);
    return edit;
}

} // namespace

TFrmGrant::TFrmGrant(QWidget* parent, ICoorDisp* host, const QString& right)
    : TBlueFrame(parent), host_(host), right_(right)
{
    setObjectName(QStringLiteral("frmGrant"));
    setHeading(GrantHeading(right));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】取消"));
    setBodySize(QSize(2 * Margin + CaptionWidth + 6 + EditWidth, 2 * RowHeight + Margin));
    code_ = AddField(body(), QStringLiteral("工  号:"), 0);
    password_ = AddField(body(), QStringLiteral("密  码:"), 1);
    password_->setPasswordChar(QLatin1Char('*'));
    routeKeys(code_);
    routeKeys(password_);
    code_->setFocus();
}

QLineEdit* TFrmGrant::codeEdit() const
{
    return code_;
}

QLineEdit* TFrmGrant::passwordEdit() const
{
    return password_;
}

void TFrmGrant::tryGrant()
{
    QVariant refusal;
    if (TryGrant(host_, code_->text(), password_->text(), right_, refusal)) {
        finish(QDialog::Accepted);
        return;
    }
    ShowHostMessage(refusal, GrantErrorCaption(), QString(), InfoKind::Statement, this);
    code_->clear();
    password_->clear();
    code_->setFocus();
}

bool TFrmGrant::frameKey(QKeyEvent* event)
{
    if (IsEscKey(event)) {
        finish(QDialog::Rejected);
        return true;
    }
    if (!IsEnterKey(event))
        return false;
    // The field that holds the focus within the dialog, also for a moment
    // after a message box closed, before the dialog is active again.
    if (focusWidget() == password_)
        tryGrant();
    else if (!code_->text().trimmed().isEmpty())
        password_->setFocus();
    return true;
}

bool AuthorizeRight(QWidget* parent, ICoorDisp* host, const QString& right)
{
    TFrmGrant grant(parent, host, right);
    grant.centreOnScreen();
    return grant.exec() == QDialog::Accepted;
}

} // namespace qiantai
