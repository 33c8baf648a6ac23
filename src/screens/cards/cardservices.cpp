#include "screens/cards/cardservices.h"

#include "base/money.h"
#include "hostcalls/hostmessage.h"
#include "hostcalls/hostservice.h"
#include "sale/salesession.h"

#include <QUuid>

namespace qiantai {

namespace {

constexpr int Yes = 1;
// Status questions asked on their own after a lost answer, and rounds of
// them the cashier may ask for before the payment is left as unknown.
constexpr int StatusAttempts = 3;
constexpr int CashierRounds = 5;

const QString ServiceCaption = QStringLiteral("提  示");
const QString RefusalCaption = QStringLiteral("提 示");

bool readNumber(const QVariantList& answer, int index, double& out, QString& error)
{
    bool ok = false;
    const QVariant v = answer.value(index);
    const double d = v.toDouble(&ok);
    if (!ok || !qIsFinite(d)) {
        error = QStringLiteral("应答第%1项\"%2\"不是数值").arg(index).arg(v.toString());
        return false;
    }
    out = d;
    return true;
}

bool readInteger(const QVariantList& answer, int index, int& out, QString& error)
{
    double d = 0;
    if (!readNumber(answer, index, d, error))
        return false;
    if (d < -2147483648.0 || d > 2147483647.0 || d != static_cast<double>(static_cast<qint64>(d))) {
        error = QStringLiteral("应答第%1项\"%2\"不是整数").arg(index).arg(answer.value(index).toString());
        return false;
    }
    out = static_cast<int>(d);
    return true;
}

bool hasElements(const QVariantList& answer, int last, QString& error)
{
    if (answer.size() > last)
        return true;
    error = QStringLiteral("应答只有%1项，应有%2项").arg(qMax<qsizetype>(answer.size() - 1, 0)).arg(last);
    return false;
}

} // namespace

QString FrontEndConnectionFailedPrefix()
{
    return QStringLiteral("远程卡前置机连接失败:");
}

bool ReadCardInfo(const QVariantList& answer, TCardInfo& card, QString& error)
{
    TCardInfo c;
    double balance = 0;
    if (!hasElements(answer, 8, error) || !readNumber(answer, 1, balance, error) ||
        !readNumber(answer, 2, c.Element2, error) || !readInteger(answer, 4, c.Element4, error) ||
        !readNumber(answer, 6, c.Points, error) || !readNumber(answer, 7, c.Element7, error) ||
        !readInteger(answer, 8, c.Element8, error))
        return false;
    c.Balance = RoundMoney(balance);
    c.CardNo = answer[3].toString();
    c.MemberAccount = answer[5].toString();
    card = c;
    return true;
}

bool ReadFlzInfo(const QVariantList& answer, TFlzInfo& certificate, QString& error)
{
    double face = 0, element3 = 0;
    if (!hasElements(answer, 3, error) || !readNumber(answer, 2, face, error) ||
        !readNumber(answer, 3, element3, error))
        return false;
    certificate.CertificateNo = answer[1].toString();
    certificate.FaceValue = face;
    certificate.Element3 = element3;
    return true;
}

// What a charge token is kept under: the card type and number.
QString TokenKey(const QVariantList& request, int numberIndex)
{
    return request.value(0).toString() + QLatin1Char('|') + request.value(numberIndex).toString();
}

CardServices::CardServices(FrontEndFactory factory, ShowMessage show, CardCharges* charges)
    : factory_(std::move(factory)), show_(std::move(show)), charges_(charges ? charges : &MadeCardCharges())
{
}

int CardServices::show(const QVariant& message, const QString& caption, InfoKind kind)
{
    return show_ ? show_(message, caption, kind) : Yes;
}

std::unique_ptr<CardFrontEnd> CardServices::connect()
{
    QString error;
    std::unique_ptr<CardFrontEnd> frontEnd = factory_ ? factory_(error) : nullptr;
    if (!frontEnd)
        show(FrontEndConnectionFailedPrefix() + error, ServiceCaption);
    return frontEnd;
}

bool CardServices::query(const QVariantList& request, const QString& failurePrefix,
                         const std::function<bool(const QVariantList&, QString&)>& read)
{
    std::unique_ptr<CardFrontEnd> frontEnd = connect();
    if (!frontEnd)
        return false;
    const CardFrontEndResult r = frontEnd->queryCard(request);
    QString error;
    switch (r.status) {
    case CardFrontEndStatus::Ok:
        if (read(r.answer, error)) {
            tokens_.insert(TokenKey(request, 1), r.token);
            return true;
        }
        break;
    case CardFrontEndStatus::Refused:
        show(r.refusal, RefusalCaption);
        return false;
    case CardFrontEndStatus::ConnectionFailed:
        show(FrontEndConnectionFailedPrefix() + r.error, ServiceCaption);
        return false;
    case CardFrontEndStatus::OutcomeUnknown:
    case CardFrontEndStatus::BadAnswer:
        error = r.error;
        break;
    }
    show(failurePrefix + error, ServiceCaption);
    return false;
}

CardServices::Settled CardServices::settle(CardFrontEnd& frontEnd, const QString& paymentId,
                                           const QString& failure)
{
    QString error = failure;
    for (int round = 0; round < CashierRounds; ++round) {
        for (int attempt = 0; attempt < StatusAttempts; ++attempt) {
            const CardFrontEndResult r = frontEnd.paymentStatus(paymentId);
            if (r.ok())
                return r.state == QLatin1String("done") ? Settled::Made : Settled::NotMade;
            error = r.status == CardFrontEndStatus::Refused ? HostMessageText(r.refusal) : r.error;
        }
        if (round + 1 < CashierRounds &&
            show(QStringLiteral("卡支付结果未知:%1\n按【Enter】再次查询").arg(error), ServiceCaption,
                 InfoKind::Question) != Yes)
            break;
    }
    return Settled::Unknown;
}

bool CardServices::pay(const QVariantList& request, double amount, const QString& refusalCaption,
                       const QString& failurePrefix)
{
    std::unique_ptr<CardFrontEnd> frontEnd = connect();
    if (!frontEnd)
        return false;
    // One id per confirmed payment; only a resend of it would carry it again.
    const QString paymentId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString tokenKey = TokenKey(request, 3);
    const CardFrontEndResult r = frontEnd->payByCard(request, paymentId, tokens_.value(tokenKey));
    bool made = false;
    switch (r.status) {
    case CardFrontEndStatus::Ok:
        made = true;
        break;
    case CardFrontEndStatus::Refused:
        show(r.refusal, refusalCaption);
        return false;
    case CardFrontEndStatus::ConnectionFailed:
        show(FrontEndConnectionFailedPrefix() + r.error, ServiceCaption);
        return false;
    case CardFrontEndStatus::OutcomeUnknown:
    case CardFrontEndStatus::BadAnswer:
        // The charge may have been made: the cashier hears nothing before
        // the front-end has told what became of it.
        switch (settle(*frontEnd, paymentId, r.error)) {
        case Settled::Made:
            made = true;
            break;
        case Settled::NotMade:
            show(failurePrefix + r.error, ServiceCaption);
            return false;
        case Settled::Unknown:
            show(QStringLiteral("卡支付结果未知,未记入本单;请与卡前置机核对支付编号 %1").arg(paymentId),
                 refusalCaption);
            return false;
        }
        break;
    }
    tokens_.remove(tokenKey);
    const CardCharge charge{paymentId, request.value(0).toString(), request.value(3).toString(), amount,
                            request.value(1).toString()};
    charges_->Add(charge);
    LogCardCharge(charge);
    return made;
}

bool CardServices::ReverseCharge(const CardCharge& charge)
{
    std::unique_ptr<CardFrontEnd> frontEnd = connect();
    if (!frontEnd)
        return false;
    CardFrontEndResult r = frontEnd->reverseCharge(charge.paymentId);
    if (r.status == CardFrontEndStatus::OutcomeUnknown || r.status == CardFrontEndStatus::BadAnswer) {
        // A reversal is given once however often it is asked.
        r = frontEnd->reverseCharge(charge.paymentId);
    }
    switch (r.status) {
    case CardFrontEndStatus::Ok:
        charges_->Forget(charge.paymentId);
        return true;
    case CardFrontEndStatus::Refused:
        show(r.refusal, QStringLiteral("撤销卡支付时出错"));
        return false;
    case CardFrontEndStatus::ConnectionFailed:
        show(FrontEndConnectionFailedPrefix() + r.error, ServiceCaption);
        return false;
    default:
        show(QStringLiteral("撤销卡支付失败:") + r.error, ServiceCaption);
        return false;
    }
}

bool CardServices::QueryMemberCard(const QVariantList& request, TCardInfo& card)
{
    return query(
        request, QStringLiteral("取会员卡信息失败:"),
        [&card](const QVariantList& answer, QString& error) { return ReadCardInfo(answer, card, error); });
}

bool CardServices::QueryWelfareCertificate(const QVariantList& request, TFlzInfo& certificate)
{
    return query(request, QStringLiteral("取福利证信息失败:"),
                 [&certificate](const QVariantList& answer, QString& error) {
                     return ReadFlzInfo(answer, certificate, error);
                 });
}

bool CardServices::PayMemberCard(const QVariantList& request)
{
    return pay(request, request.value(5).toDouble(), QStringLiteral("会员卡支付时出错"),
               QStringLiteral("取会员卡信息失败:"));
}

bool CardServices::PayWelfareCertificate(const QVariantList& request, double faceValue)
{
    // The request has no amount: the face value from the query is booked.
    return pay(request, faceValue, QStringLiteral("福利证支付时出错"), QStringLiteral("取福利证信息失败:"));
}

bool CardServices::record(HostService& host, QVariant& request, const QString& refusalCaption)
{
    QVariant answer;
    if (!host.RecordCardConsumption(request, answer)) {
        show(host.lastStatus() == HostCallStatus::Refused ? answer : host.lastError(), refusalCaption);
        return false;
    }
    request = answer.toString();
    return true;
}

bool CardServices::RecordBankCardConsumption(HostService& host, QVariant& request)
{
    return record(host, request, QStringLiteral("取信用卡消费流水报错"));
}

bool CardServices::RecordWelfareConsumption(HostService& host, QVariant& request)
{
    return record(host, request, QStringLiteral("取福利证消费流水报错"));
}

} // namespace qiantai
