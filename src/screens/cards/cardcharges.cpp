#include "screens/cards/cardcharges.h"

#include "base/cardmask.h"
#include "base/logcategories.h"
#include "screens/cards/cardpayrules.h"

namespace qiantai {

void CardCharges::Add(const CardCharge& charge)
{
    charges_.removeIf([&](const CardCharge& c) { return c.documentNo != charge.documentNo; });
    charges_.append(charge);
}

QList<CardCharge> CardCharges::OfDocument(const QString& documentNo) const
{
    QList<CardCharge> found;
    for (const CardCharge& c : charges_)
        if (c.documentNo == documentNo)
            found.append(c);
    return found;
}

void CardCharges::Forget(const QString& paymentId)
{
    charges_.removeIf([&](const CardCharge& c) { return c.paymentId == paymentId; });
}

void LogCardCharge(const CardCharge& c)
{
    qCInfo(lcCardCharges).noquote() << (c.cardType == QLatin1String("0") ? "member card" : "certificate")
                                    << "charge" << MaskCardNumber(c.cardNo) << "amount"
                                    << AmountText(c.amount) << "payment" << c.paymentId << "document"
                                    << c.documentNo;
}

void LogBankCardCharge(const QString& cardNo, double amount, const QString& serial, const QString& documentNo)
{
    qCInfo(lcCardCharges).noquote() << "bank card charge" << MaskCardNumber(cardNo) << "amount"
                                    << AmountText(amount) << "serial" << serial << "document" << documentNo;
}

QString ReversalQuestion(const QList<CardCharge>& charges)
{
    QString text = QStringLiteral("本单未能记入,已收的卡支付:");
    for (const CardCharge& c : charges) {
        text += c.cardType == QLatin1String("0")
                    ? QStringLiteral("\n会员卡 %1 %2").arg(MaskCardNumber(c.cardNo), AmountText(c.amount))
                    : QStringLiteral("\n福利证 %1").arg(MaskCardNumber(c.cardNo));
    }
    return text + QStringLiteral("\n按【Enter】撤销这些卡支付并放弃结算,【Esc】返回");
}

CardCharges& MadeCardCharges()
{
    static CardCharges charges;
    return charges;
}

} // namespace qiantai
