#include "screens/checkout/frmfkjerules.h"

#include "base/money.h"
#include "base/numbertext.h"
#include "sale/payments.h"
#include "sale/salesession.h"

namespace qiantai {

bool DropsTypedText(const QString& text)
{
    return !text.isEmpty() && text.at(0).isPrint() && !(text.size() == 1 && IsNumberChar(text.at(0)));
}

AmountDecision DecidePaymentAmount(const SaleSession& s, const TPayment& m, double remaining,
                                   double cardBalanceShown, const QString& text)
{
    AmountDecision d;
    if (text.isEmpty()) {
        d.amount = remaining;
        if (m.Kind == paykind::MemberCard && remaining - cardBalanceShown > MoneyEpsilon)
            d.amount = cardBalanceShown;
    } else if (!ReadTypedNumber(text, d.amount, d.message)) {
        return d;
    }
    if (!CheckPaymentCap(s, m.Kind, d.amount)) {
        d.message = m.Name + QStringLiteral("支付不能大于剩余支付金额，请从新录入");
        d.clearField = true;
        return d;
    }
    if (d.amount > MaxSingleAmount) {
        d.message = QStringLiteral("单笔销售不能大于10000000，请从新录入金额");
        d.clearField = true;
        return d;
    }
    d.accepted = true;
    return d;
}

QString AmountEntryCaption(const TPayment& m)
{
    return QStringLiteral("输入") + m.Name + QStringLiteral("付款金额");
}

AmountDecision DecideDeposit(double docTotal, const QString& text)
{
    AmountDecision d;
    if (text.trimmed().isEmpty())
        d.amount = docTotal;
    else if (!ReadTypedNumber(text, d.amount, d.message))
        return d;
    if (d.amount - docTotal > MoneyEpsilon) {
        d.message = QStringLiteral("定金不应大于实际销售金额！");
        return d;
    }
    d.accepted = true;
    return d;
}

} // namespace qiantai
