// Keeps out of a line edit every character its field does not take, whatever
// the input path: keys, input method, paste and drag all pass the validator.
#pragma once

#include <QValidator>

class QLineEdit;

namespace qiantai {

// Acceptable when `accepts` takes every character of the text, Invalid
// otherwise: the edit then keeps its text as it was.
class TCharValidator : public QValidator {
    Q_OBJECT
public:
    using CharRule = bool (*)(QChar);
    TCharValidator(CharRule accepts, QObject* parent);
    State validate(QString& text, int& pos) const override;

private:
    CharRule accepts_;
};

// Gives `edit` a TCharValidator for `accepts`. Number fields pass
// IsNumberChar, code boxes IsDigitChar (host/numbertext.h).
void RestrictInput(QLineEdit* edit, TCharValidator::CharRule accepts);

} // namespace qiantai
