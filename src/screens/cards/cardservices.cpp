#include "screens/cards/cardservices.h"

#include "host/hostservice.h"
#include "host/money.h"
#include "sale/salesession.h"

namespace qiantai {

namespace {

constexpr int Statement = 1;

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

CardServices::CardServices(FrontEndFactory factory, ShowMessage show)
    : factory_(std::move(factory)), show_(std::move(show))
{
}

void CardServices::show(const QVariant& message, const QString& caption)
{
    if (show_)
        show_(message, caption, Statement);
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
        if (read(r.answer, error))
            return true;
        break;
    case CardFrontEndStatus::Refused:
        show(r.refusal, RefusalCaption);
        return false;
    case CardFrontEndStatus::ConnectionFailed:
        show(FrontEndConnectionFailedPrefix() + r.error, ServiceCaption);
        return false;
    case CardFrontEndStatus::BadAnswer:
        error = r.error;
        break;
    }
    show(failurePrefix + error, ServiceCaption);
    return false;
}

bool CardServices::pay(const QVariantList& request, const QString& refusalCaption)
{
    std::unique_ptr<CardFrontEnd> frontEnd = connect();
    if (!frontEnd)
        return false;
    const CardFrontEndResult r = frontEnd->payByCard(request);
    switch (r.status) {
    case CardFrontEndStatus::Ok:
        return true;
    case CardFrontEndStatus::Refused:
        show(r.refusal, refusalCaption);
        return false;
    case CardFrontEndStatus::ConnectionFailed:
        show(FrontEndConnectionFailedPrefix() + r.error, ServiceCaption);
        return false;
    case CardFrontEndStatus::BadAnswer:
        break;
    }
    show(r.error, refusalCaption);
    return false;
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
    return pay(request, QStringLiteral("会员卡支付时出错"));
}

bool CardServices::PayWelfareCertificate(const QVariantList& request)
{
    return pay(request, QStringLiteral("福利证支付时出错"));
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
