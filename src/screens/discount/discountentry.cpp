#include "screens/discount/discountentry.h"

#include "host/numbertext.h"

namespace qiantai {

namespace {

using Outcome = DiscountEntryResult::Outcome;

DiscountEntryResult Refusal(DiscountEntryResult result, const QString& message)
{
    result.outcome = Outcome::Refused;
    result.message = message;
    return result;
}

} // namespace

DiscountEntryResult ConfirmDiscount(TSaleRecords& lines, DiscountMode mode, int row, double base,
                                    const QString& input, const DiscountAuthority& authority, int xsfkz)
{
    DiscountEntryResult result;
    double typed = 0;
    if (!ReadTypedNumber(input, typed, result.message)) {
        result.outcome = Outcome::NotANumber;
        return result;
    }
    result.values.base = base;
    if (IsRateMode(mode)) {
        result.values.rate = typed;
        result.values.discount = DiscountFromRate(typed, base);
    } else {
        result.values.discount = typed;
        result.values.rate = RateFromDiscount(typed, base);
    }
    const double discount = result.values.discount;

    // The picker has checked the mode; a caller that skipped it gets the
    // same refusal instead of a discount on the wrong lines.
    const QString modeRefusal = CheckDiscountMode(mode, row, lines);
    if (!modeRefusal.isEmpty())
        return Refusal(result, modeRefusal);

    QString message;
    if (IsLineMode(mode)) {
        TSaleRecord& line = lines[row - 1];
        if (!CheckLineDiscount(line, discount, authority, message))
            return Refusal(result, message);
        ApplyLineDiscount(line, discount, xsfkz);
    } else {
        const QVector<double> shares = WholeSaleShares(lines, discount, base);
        for (int i = 0; i < lines.Count(); ++i) {
            if (IsAmountControlled(lines[i]))
                continue;
            if (!CheckLineDiscount(lines[i], shares[i], authority, message))
                return Refusal(result, message);
        }
        for (int i = 0; i < lines.Count(); ++i)
            if (!IsAmountControlled(lines[i]))
                ApplyLineDiscount(lines[i], shares[i], xsfkz);
    }
    result.outcome = Outcome::Applied;
    return result;
}

} // namespace qiantai
