#include "cardservice.h"

#include "host/logcategories.h"
#include "host/money.h"

#include <QDebug>

#include <cmath>

namespace qiantai::cardd {

namespace {

void RequireArray(const nlohmann::json& params, std::size_t size, const char* what)
{
    if (!params.is_array() || params.size() < size)
        throw InvalidParams(std::string(what) + " needs an array of " + std::to_string(size) + " elements");
}

// A text element; null reads as empty text.
QString Text(const nlohmann::json& params, std::size_t index)
{
    const nlohmann::json& v = params.at(index);
    if (v.is_null())
        return QString();
    if (!v.is_string())
        throw InvalidParams("element " + std::to_string(index) + " is not a text");
    return QString::fromStdString(v.get<std::string>());
}

// A money element: a number, or a text holding one; in fen.
qint64 AmountFen(const nlohmann::json& params, std::size_t index)
{
    const nlohmann::json& v = params.at(index);
    double amount = 0;
    if (v.is_number()) {
        amount = v.get<double>();
    } else if (v.is_string()) {
        bool ok = false;
        amount = QString::fromStdString(v.get<std::string>()).trimmed().toDouble(&ok);
        if (!ok)
            throw InvalidParams("element " + std::to_string(index) + " is not an amount");
    } else {
        throw InvalidParams("element " + std::to_string(index) + " is not an amount");
    }
    if (!std::isfinite(amount) || std::fabs(amount) > 1e12)
        throw InvalidParams("element " + std::to_string(index) + " is out of range");
    return std::llround(RoundMoney(amount) * 100);
}

QString CardType(const nlohmann::json& params)
{
    RequireArray(params, 1, "a request");
    const QString type = Text(params, 0);
    if (type != QLatin1String("0") && type != QLatin1String("1"))
        throw InvalidParams("element 0 is not a card type (\"0\" or \"1\")");
    return type;
}

nlohmann::json Refused(const QString& text)
{
    return {{"ok", false}, {"refusal", text.toStdString()}};
}

const char* OutcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done:
        return "done";
    case Outcome::Refused:
        return "refused";
    default:
        return "failed";
    }
}

double Yuan(qint64 fen)
{
    return double(fen) / 100.0;
}

} // namespace

std::string LastFour(const QString& cardNo)
{
    return ("****" + cardNo.right(4)).toStdString();
}

nlohmann::json CardService::queryCard(const nlohmann::json& params)
{
    if (CardType(params) == QLatin1String("0")) {
        RequireArray(params, 6, "a member card query");
        const QString cardNo = Text(params, 1);
        const MemberAnswer a = store_.queryMember(cardNo, Text(params, 2).toStdString());
        qCInfo(lcCardServer).noquote()
            << "QueryCard member" << LastFour(cardNo).c_str() << "->" << OutcomeText(a.outcome);
        if (a.outcome == Outcome::Failed)
            throw ServiceFailure(a.message.toStdString());
        if (a.outcome == Outcome::Refused)
            return Refused(a.message);
        const nlohmann::json answer = {"0",
                                       Yuan(a.card.balanceFen),
                                       0.0,
                                       a.card.cardNo.toStdString(),
                                       0,
                                       a.card.memberAccount.toStdString(),
                                       double(a.card.points),
                                       0.0,
                                       0};
        return {{"ok", true}, {"answer", answer}};
    }
    RequireArray(params, 3, "a welfare certificate query");
    const QString certificateNo = Text(params, 1);
    const CertificateAnswer a = store_.queryCertificate(certificateNo);
    qCInfo(lcCardServer).noquote() << "QueryCard certificate" << LastFour(certificateNo).c_str() << "->"
                                   << OutcomeText(a.outcome);
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    const nlohmann::json answer = {"1", a.certificate.certificateNo.toStdString(),
                                   Yuan(a.certificate.faceValueFen), Yuan(a.certificate.deductionFen)};
    return {{"ok", true}, {"answer", answer}};
}

nlohmann::json CardService::payByCard(const nlohmann::json& params)
{
    Charge charge;
    ChargeAnswer a;
    const bool member = CardType(params) == QLatin1String("0");
    if (member) {
        RequireArray(params, 10, "a member card payment");
        charge.documentNo = Text(params, 1);
        charge.unitCode = Text(params, 2);
        charge.cardNo = Text(params, 3);
        charge.memberAccount = Text(params, 4);
        charge.amountFen = AmountFen(params, 5);
        charge.cashierCode = Text(params, 7);
        charge.cashierName = Text(params, 8);
        charge.stationNo = Text(params, 9);
    } else {
        RequireArray(params, 8, "a welfare certificate payment");
        charge.documentNo = Text(params, 1);
        charge.unitCode = Text(params, 2);
        charge.cardNo = Text(params, 3);
        charge.cashierCode = Text(params, 5);
        charge.cashierName = Text(params, 6);
        charge.stationNo = Text(params, 7);
    }
    if (charge.documentNo.trimmed().isEmpty())
        return Refused(QStringLiteral("缺少单据号"));
    a = member ? store_.chargeMember(charge) : store_.chargeCertificate(charge);
    qCInfo(lcCardServer).noquote() << "PayByCard" << (member ? "member" : "certificate")
                                   << LastFour(charge.cardNo).c_str() << "document" << charge.documentNo
                                   << "fen" << charge.amountFen << "->" << OutcomeText(a.outcome) << "journal"
                                   << a.journalId << (a.replayed ? "(repeat, not charged again)" : "");
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    return {{"ok", true}, {"journal", a.journalId}};
}

} // namespace qiantai::cardd
