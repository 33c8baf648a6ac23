#include "screens/discount/frmzkszrules.h"

#include "base/money.h"
#include "base/numbertext.h"
#include "sale/lineamount.h"
#include "sale/linesums.h"

namespace qiantai {

namespace {

// `amount` is below `limit` by more than the money tolerance.
bool Below(double amount, double limit)
{
    return amount - limit < -MoneyEpsilon;
}

// The cashier's right or, failing that, a supervisor's.
bool Granted(const DiscountAuthority& authority, const QString& right)
{
    if (authority.cashierHolds && authority.cashierHolds(right))
        return true;
    return authority.authorize && authority.authorize(right);
}

using Outcome = DiscountEntryResult::Outcome;

DiscountEntryResult Refusal(DiscountEntryResult result, const QString& message)
{
    result.outcome = Outcome::Refused;
    result.message = message;
    return result;
}

} // namespace

bool IsAmountControlled(const TSaleRecord& line)
{
    return !(line.ListPrice > MoneyEpsilon);
}

double MinimumTotal(const TSaleRecord& line)
{
    return line.LowestPrice * line.Quantity;
}

double CostTotal(const TSaleRecord& line)
{
    return line.LastPurchasePrice * line.Quantity * (1 + line.TaxRate / 100);
}

double RateFromDiscount(double discount, double base)
{
    if (base <= MoneyEpsilon)
        return 100;
    return 100 - discount * 100 / base;
}

double DiscountFromRate(double rate, double base)
{
    return (100 - rate) * base / 100;
}

DiscountValues OpeningDiscountValues(DiscountMode mode, int row, const TSaleRecords& lines)
{
    DiscountValues v;
    if (IsLineMode(mode)) {
        if (row >= 1 && row <= lines.Count()) {
            const TSaleRecord& line = lines[row - 1];
            v.base = ListAmount(line);
            v.discount = line.ManualDiscount;
        }
    } else {
        v.base = DiscountBasis(lines);
        v.discount = ManualDiscountTotal(lines);
    }
    v.rate = RateFromDiscount(v.discount, v.base);
    return v;
}

QVector<double> WholeSaleShares(const TSaleRecords& lines, double discount, double base)
{
    QVector<double> shares;
    shares.reserve(lines.Count());
    for (const TSaleRecord& line : lines)
        shares.append(base <= MoneyEpsilon ? 0.0 : ListAmount(line) * discount / base);
    return shares;
}

double DiscountedLineAmount(const TSaleRecord& line, double discount, int xsfkz)
{
    return RoundLineAmount(RoundMoney(line.Quantity * line.ListPrice - discount), xsfkz);
}

bool CheckLineDiscount(const TSaleRecord& line, double discount, int xsfkz,
                       const DiscountAuthority& authority, QString& message)
{
    const double amount = DiscountedLineAmount(line, discount, xsfkz);
    if (Below(amount, CostTotal(line))) {
        if (Granted(authority, RightBelowCost))
            return true;
        message =
            QStringLiteral("商品") + line.ProductCode + QStringLiteral("折扣以后的实际售价不能小于进价！");
        return false;
    }
    const double minimum = MinimumTotal(line);
    if (Below(amount, minimum)) {
        if (minimum <= MoneyEpsilon) {
            message = QStringLiteral("商品") + line.ProductCode +
                      QStringLiteral("折扣以后的实际销售金额不能小于等于零！");
            return false;
        }
        if (Granted(authority, RightBelowLowestPrice))
            return true;
        message = QStringLiteral("商品") + line.ProductCode +
                  QStringLiteral("折扣以后的实际售价不能小于最低售价！");
        return false;
    }
    return true;
}

void ApplyLineDiscount(TSaleRecord& line, double discount, int xsfkz)
{
    const double exact = line.Quantity * line.ListPrice - discount;
    const double discounted = RoundMoney(exact);
    const double amount = RoundLineAmount(discounted, xsfkz);
    line.NetAmount = RoundMoney((RoundsEachLine(xsfkz) ? amount : exact) / (1 + line.TaxRate / 100));
    line.TaxAmount = amount - line.NetAmount;
    line.ManualDiscount = discount;
    line.AutoDiscount = RoundMoney(discounted - amount);
}

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
        if (!CheckLineDiscount(line, discount, xsfkz, authority, message))
            return Refusal(result, message);
        ApplyLineDiscount(line, discount, xsfkz);
    } else {
        const QVector<double> shares = WholeSaleShares(lines, discount, base);
        for (int i = 0; i < lines.Count(); ++i) {
            if (IsAmountControlled(lines[i]))
                continue;
            if (!CheckLineDiscount(lines[i], shares[i], xsfkz, authority, message))
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
