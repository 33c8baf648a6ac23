// The modal one-line input dialog.
#pragma once

#include <QChar>
#include <QDialog>
#include <QString>

#include "screens/lookups/inputqueryrules.h"

class QLabel;
class QPushButton;

namespace qiantai {

class TFlatEdit;

// Fixed-size dialog with the caption, a prompt, an edit box of at most 255
// characters and the buttons "确认(&O)" and "放弃(&C)", laid out from the
// measured dialog font and drawn in the given colours.
class TfrmInputQuery : public QDialog {
    Q_OBJECT
public:
    TfrmInputQuery(const QString& caption, const QString& prompt, const QString& value, QChar passwordChar,
                   const InputDialogColors& colors, QWidget* parent);

    QString text() const;
    TFlatEdit* edit() const { return edit_; }
    QLabel* promptLabel() const { return prompt_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void setVisible(bool visible) override;

private:
    QLabel* prompt_;
    TFlatEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Reads the colours ([ColorOption] of the station INI; throws IniValueError
// before anything is shown when a colour is not a whole number), shows the
// dialog with `value` filled in and, when the user confirms, stores the text
// into `value` and returns true. Cancelled or closed, `value` is unchanged.
bool InputTextQuery(const QString& caption, const QString& prompt, QString& value, QChar passwordChar,
                    QWidget* parent);

// InputTextQuery without a password character, starting from `defaultValue`;
// `value` is the entered text when confirmed, else `defaultValue`.
bool InputText(const QString& caption, const QString& prompt, const QString& defaultValue, QString& value,
               QWidget* parent);

} // namespace qiantai
