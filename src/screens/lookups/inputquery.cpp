#include "screens/lookups/inputquery.h"

#include "controls/cjkfont.h"
#include "controls/flatedit.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace qiantai {

namespace {

constexpr int MaxInputLength = 255;

QString ButtonSheet(const QColor& line)
{
    return QStringLiteral("QPushButton { color: %1; border: 1px solid %1; background: transparent; }"
                          "QPushButton:focus { border: 2px solid %1; }")
        .arg(line.name());
}

} // namespace

TfrmInputQuery::TfrmInputQuery(const QString& caption, const QString& prompt, const QString& value,
                               QChar passwordChar, const InputDialogColors& colors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      prompt_(new QLabel(this)), edit_(new TFlatEdit(this)), ok_(new QPushButton(this)),
      cancel_(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmInputQuery"));
    setModal(true);
    setWindowTitle(caption);
    const QFont font = SongtiPointFont(9);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowsColor(colors.back));
    setPalette(pal);

    const QFontMetrics metrics(font);
    const InputDialogLayout layout =
        ComputeInputDialogLayout(metrics.horizontalAdvance(InputMeasureLetters()), metrics.height());
    setFixedSize(layout.client);

    prompt_->setFont(font);
    prompt_->setTextFormat(Qt::PlainText);
    prompt_->setText(prompt);
    prompt_->adjustSize();
    prompt_->move(layout.prompt);

    const QColor line = WindowsColor(colors.line);
    edit_->setFont(font);
    edit_->setMaxLength(MaxInputLength);
    edit_->setLineColor(line);
    edit_->setPasswordChar(passwordChar);
    edit_->setText(value);
    edit_->setGeometry(layout.editLeft, layout.editTop, layout.editWidth, edit_->sizeHint().height());
    prompt_->setBuddy(edit_);

    ok_->setText(QString::fromUtf8("确认(&O)"));
    cancel_->setText(QString::fromUtf8("放弃(&C)"));
    for (QPushButton* button : {ok_, cancel_}) {
        button->setFont(font);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(ButtonSheet(line));
    }
    ok_->setGeometry(layout.okButton);
    cancel_->setGeometry(layout.cancelButton);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    edit_->setFocus();
}

QString TfrmInputQuery::text() const
{
    return edit_->text();
}

void TfrmInputQuery::setVisible(bool visible)
{
    if (visible) {
        QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen)
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::setVisible(visible);
    // Showing focuses the edit as by Tab, which would select its text: the
    // caret goes after the last character instead.
    if (visible) {
        edit_->deselect();
        edit_->end(false);
    }
}

bool InputTextQuery(const QString& caption, const QString& prompt, QString& value, QChar passwordChar,
                    QWidget* parent)
{
    const InputDialogColors colors = LoadInputDialogColors();
    TfrmInputQuery dialog(caption, prompt, value, passwordChar, colors, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.text();
    return true;
}

bool InputText(const QString& caption, const QString& prompt, const QString& defaultValue, QString& value,
               QWidget* parent)
{
    value = defaultValue;
    return InputTextQuery(caption, prompt, value, QChar(), parent);
}

} // namespace qiantai
