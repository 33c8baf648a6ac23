#include "screens/lookups/frmkhxx.h"

#include "controls/cjkfont.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace qiantai {

namespace {

constexpr QSize EditorPanel{420, 150};

bool IsLineBreakKey(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && (event->modifiers() & Qt::ControlModifier);
}

} // namespace

TfrmKhxx::TfrmKhxx(QWidget* parent) : TBlueFrame(parent), editor_(new QPlainTextEdit(body()))
{
    setObjectName(QStringLiteral("frmKhxx"));
    setHeading(QString::fromUtf8("客户信息"));
    setKeyHint(QString::fromUtf8("【Enter】确定 【Esc】取消"));
    setBodySize(EditorPanel);
    editor_->setGeometry(QRect(QPoint(0, 0), EditorPanel));
    editor_->setFont(SongtiPixelFont(14));
    editor_->setTabChangesFocus(true);
    routeKeys(editor_);
    editor_->setFocus();
}

void TfrmKhxx::setText(const QString& text)
{
    editor_->setPlainText(text);
    editor_->moveCursor(QTextCursor::End);
}

QString TfrmKhxx::text() const
{
    return editor_->toPlainText();
}

bool TfrmKhxx::frameKey(QKeyEvent* event)
{
    if (IsLineBreakKey(event)) {
        editor_->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    if (IsEnterKey(event)) {
        finish(QDialog::Accepted);
        return true;
    }
    if (IsEscKey(event)) {
        finish(QDialog::Rejected);
        return true;
    }
    return false;
}

bool EditCustomerInfo(QString& khxx, QWidget* parent)
{
    TfrmKhxx box(parent);
    box.setText(khxx);
    box.centreOnScreen();
    if (box.exec() != QDialog::Accepted)
        return false;
    khxx = box.text();
    return true;
}

} // namespace qiantai
