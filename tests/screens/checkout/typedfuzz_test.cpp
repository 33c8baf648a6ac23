// A bounded fuzz run over the amount fields: random text of every kind
// (quotes, CJK, full-width digits, signs, exponents, control characters,
// 10 kB strings) typed, pasted and committed by the input method. A field
// never holds a character outside its rule, and whatever Enter would take
// is a finite amount that is not negative. Fixed seed; the count comes from
// QIANTAI_FUZZ_COUNT (scripts/fuzz runs a long one).
#include "checkoutfixture.h"
#include "host/numbertext.h"
#include "screens/checkout/amountrules.h"
#include "screens/checkout/frmdjzf.h"
#include "screens/checkout/frmfkje.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace qiantai {
namespace {

const QStringList Pieces = {"0",     "1",   "9",   ".",    "..",   "-",  "+",  "e",     "E",  "e-3",
                            "1e308", "inf", "nan", "0x1f", "'",    "\"", "''", ";",     "--", " ",
                            "\t",    "\n",  "\r",  "\b",   "\x1b", "电", "视", "１",    "２", "．",
                            "－",    "€",   "¥",   "😀",    "%",    "_",  ",",  "1,000", "00", "5."};

QString RandomText(std::mt19937& rng, int round)
{
    if (round % 97 == 96) // now and then a 10 kB string
        return QString(10240, QLatin1Char(round % 2 ? '9' : 'x'));
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<int> piece(0, int(Pieces.size()) - 1);
    QString text;
    for (int n = count(rng); n > 0; --n)
        text += Pieces[piece(rng)];
    return text;
}

int FuzzCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("QIANTAI_FUZZ_COUNT", &ok);
    return ok && n > 0 ? n : 400;
}

void ExpectSoundAmount(const AmountDecision& d, const QString& text)
{
    if (d.accepted) {
        EXPECT_TRUE(std::isfinite(d.amount)) << text.toStdString();
        EXPECT_GE(d.amount, 0) << text.toStdString();
    }
}

// Each character as a key press that carries it as its text, whatever it is.
void TypeKeys(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

bool KeepsToTheRule(const QString& text)
{
    for (QChar c : text)
        if (!IsNumberChar(c))
            return false;
    return true;
}

TEST(TypedNumberFuzz, AmountFieldsHoldOnlyTheirCharactersAndTakeOnlySoundAmounts)
{
    const unsigned seed = 16;
    const int count = FuzzCount();
    std::printf("typed-number fuzz: seed %u, %d inputs\n", seed, count);
    std::mt19937 rng(seed);

    SaleSession s;
    test::PrepareCheckoutSession(s);
    s.AmountDue = 100;
    TfrmFkje entry(nullptr);
    entry.Payment = s.PaymentMethods[0];
    entry.Remaining = 100;
    entry.show();
    TfrmDjzf deposit(5000, nullptr);
    deposit.show();

    for (int round = 0; round < count; ++round) {
        const QString text = RandomText(rng, round);
        double value = -1;
        QString error;
        if (ReadTypedNumber(text, value, error)) {
            EXPECT_TRUE(std::isfinite(value) && value >= 0) << text.toStdString();
        } else {
            EXPECT_EQ(error, NotANumberText(text));
        }
        for (const TPayment& m : s.PaymentMethods)
            ExpectSoundAmount(DecidePaymentAmount(s, m, 100, 50, text), text);
        ExpectSoundAmount(DecideDeposit(5000, text), text);

        for (QLineEdit* field : {entry.AmountField(), deposit.AmountField()}) {
            field->clear();
            switch (round % 3) {
            case 0:
                QApplication::clipboard()->setText(text);
                field->paste();
                break;
            case 1: {
                QInputMethodEvent commit;
                commit.setCommitString(text);
                QApplication::sendEvent(field, &commit);
                break;
            }
            default:
                TypeKeys(field, text.left(24));
                break;
            }
            EXPECT_TRUE(KeepsToTheRule(field->text())) << text.toStdString();
            ExpectSoundAmount(DecidePaymentAmount(s, s.PaymentMethods[0], 100, 0, field->text()), text);
            ExpectSoundAmount(DecideDeposit(5000, field->text()), text);
        }
    }
}

} // namespace
} // namespace qiantai
