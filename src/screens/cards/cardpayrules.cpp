#include "screens/cards/cardpayrules.h"

#include "base/cardmask.h"
#include "base/money.h"
#include "base/numbertext.h"
#include "sale/payments.h"
#include "sale/salesession.h"

namespace qiantai {

namespace {

bool SellsAtCounters(const QString& dwlx)
{
    return dwlx == QLatin1String("11") || dwlx == QLatin1String("10");
}

} // namespace

QString AmountText(double amount)
{
    return MoneyText(amount);
}

QString PaymentUnitCode(const SaleSession& s)
{
    return SellsAtCounters(s.Dwlx) ? s.Gzbm : s.Dybm;
}

QString WelfareConsumptionUnitCode(const SaleSession& s)
{
    return s.Dwlx == QLatin1String("11") ? s.Gzbm : s.Dybm;
}

QString BankCardCapRefusal(const TPayment& m)
{
    return m.Name + QStringLiteral("支付不能大于剩余支付金额，请从新录入");
}

QByteArray BankCardRequest(const SaleSession& s, const QString& swipeText, double amount)
{
    const SwipePieces pieces = SplitSwipe(swipeText);
    return BuildCardRequest(pieces.first, pieces.second, AmountToFen(amount), s.Syybm);
}

void ApplyCardResponse(TXykDetail& record, const CardResponse& response, double amount)
{
    record.f_Jydm = response.transactionCode();
    record.f_Jyje = response.approved() ? QString::number(AmountToFen(amount)) : QStringLiteral("0");
    // A terminal library may hand back the whole card number: what is kept
    // and recorded shows its first six and last four digits at most.
    record.f_Khxx = MaskCardNumbersIn(response.khxx);
    record.f_2gxx = MaskCardNumbersIn(response.gxx2);
    record.f_3gxx = MaskCardNumbersIn(response.gxx3);
}

void CompleteCardRecord(TXykDetail& record, const SaleSession& s, const QString& hostDate,
                        const QDateTime& now)
{
    record.f_Bmbm = s.Dybm;
    record.f_Djh = s.Djh;
    record.f_Rzrq = hostDate;
    record.f_Jyrq = now.toString(QStringLiteral("MMdd"));
    record.f_Jysk = now.toString(QStringLiteral("HHmmss"));
    record.f_zdxx = QString(); // the session has no station number
}

QVariantList BankCardConsumptionRequest(const TXykDetail& r)
{
    return {QStringLiteral("2"),
            r.f_Bmbm,
            r.f_Djh,
            r.f_Jydm,
            r.f_Khxx,
            r.f_Jyje,
            r.f_Jysk,
            r.f_Jyrq,
            r.f_2gxx,
            r.f_3gxx,
            r.f_zdxx};
}

QString BankCardRefusalText(const CardResponse& response)
{
    return QStringLiteral("交易失败，错误码") + response.code;
}

QVariantList MemberCardPaymentRequest(const SaleSession& s, const TCardInfo& card, double amount)
{
    return {QStringLiteral("0"),
            s.Djh,
            PaymentUnitCode(s),
            card.CardNo,
            card.MemberAccount,
            amount,
            QString(),
            s.Syybm,
            s.Syymc,
            QString()};
}

bool MemberBalanceUsable(double balance)
{
    return !(balance < -MoneyEpsilon);
}

QString MemberQueryText(const TCardInfo& card)
{
    return QStringLiteral("卡号:") + card.CardNo + QStringLiteral(" 余额:") + AmountText(card.Balance);
}

QVariantList WelfareQueryRequest(const QString& number, const SaleSession& s)
{
    return {QStringLiteral("1"), number, s.Dybm};
}

QVariantList WelfarePaymentRequest(const SaleSession& s, const QString& number)
{
    return {QStringLiteral("1"), s.Djh, PaymentUnitCode(s), number, QString(), s.Syybm, s.Syymc, QString()};
}

QVariantList WelfareConsumptionRequest(const SaleSession& s, const TFlzInfo& c, const QDateTime& now)
{
    return {QStringLiteral("3"),
            WelfareConsumptionUnitCode(s),
            s.Djh,
            QStringLiteral("PCA"),
            c.CertificateNo,
            RoundTo(c.FaceValue * 100, 6),
            now.toString(QStringLiteral("HHmmss")),
            now.toString(QStringLiteral("MMdd")),
            QString(),
            QString(),
            c.StationNo};
}

bool CertificateUsable(const TFlzInfo& c, double remaining)
{
    return !(c.FaceValue - c.Element3 > remaining + MoneyEpsilon);
}

bool WantsAnotherCertificate(double remaining)
{
    return MoneyExceeds(remaining, 50);
}

void BookCertificate(SaleSession& s, const TPayment& m, const TFlzInfo& c)
{
    AddPaymentEntry(s, m.Code, m.Kind, c.StationNo, c.Serial, paysource::Welfare, QString(), c.FaceValue, 0);
}

QString CertificateTotalText(double total)
{
    return QStringLiteral("券累计支付金额:") + AmountText(total);
}

} // namespace qiantai
