#include "controls/inputfilter.h"

#include <QLineEdit>

namespace qiantai {

TCharValidator::TCharValidator(CharRule accepts, QObject* parent) : QValidator(parent), accepts_(accepts) {}

QValidator::State TCharValidator::validate(QString& text, int&) const
{
    for (QChar c : text)
        if (!accepts_(c))
            return Invalid;
    return Acceptable;
}

void RestrictInput(QLineEdit* edit, TCharValidator::CharRule accepts)
{
    edit->setValidator(new TCharValidator(accepts, edit));
}

} // namespace qiantai
