#include "cardservice.h"

#include "base/cardmask.h"
#include "base/logcategories.h"
#include "base/money.h"

#include <QDate>
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

// What a charge token is bound to: the card type and number.
std::string Subject(const QString& type, const QString& number)
{
    return (type + QLatin1Char('|') + number).toStdString();
}

QString PaymentId(const nlohmann::json& params)
{
    RequireArray(params, 1, "a payment id");
    const QString id = Text(params, 0);
    if (id.isEmpty() || id.size() > 64)
        throw InvalidParams("element 0 is not a payment id");
    return id;
}

QString TillOf(const CallContext& call)
{
    return QString::fromStdString(call.till);
}

} // namespace

CardService::CardService(CardStore& store, ServiceSettings settings)
    : store_(store), settings_(settings), tokens_(std::chrono::seconds(qMax(1, settings.tokenSeconds))),
      queries_(settings.queriesPerMinute)
{
}

nlohmann::json CardService::queryCard(const nlohmann::json& params, const CallContext& call)
{
    const QString type = CardType(params);
    RequireArray(params, type == QLatin1String("0") ? 6 : 3, "a card query");
    if (!queries_.admit(call.till)) {
        qCWarning(lcCardServer).noquote() << "QueryCard refused: too many queries from" << TillOf(call);
        return Refused(QStringLiteral("查询过于频繁,请稍后再试"));
    }
    if (type == QLatin1String("0")) {
        const QString cardNo = Text(params, 1);
        const MemberAnswer a = store_.queryMember(cardNo, Text(params, 2).toStdString(), settings_.lock);
        qCInfo(lcCardServer).noquote() << "QueryCard member" << MaskCardNumber(cardNo) << "from"
                                       << TillOf(call) << "->" << OutcomeText(a.outcome);
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
        return {{"ok", true}, {"answer", answer}, {"token", tokens_.issue(Subject(type, cardNo), call.till)}};
    }
    const QString certificateNo = Text(params, 1);
    const CertificateAnswer a = store_.queryCertificate(certificateNo);
    qCInfo(lcCardServer).noquote() << "QueryCard certificate" << MaskCardNumber(certificateNo) << "from"
                                   << TillOf(call) << "->" << OutcomeText(a.outcome);
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    const nlohmann::json answer = {"1", a.certificate.certificateNo.toStdString(),
                                   Yuan(a.certificate.faceValueFen), Yuan(a.certificate.deductionFen)};
    return {
        {"ok", true}, {"answer", answer}, {"token", tokens_.issue(Subject(type, certificateNo), call.till)}};
}

nlohmann::json CardService::payByCard(const nlohmann::json& params, const CallContext& call)
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
    charge.paymentId = QString::fromStdString(call.text("paymentId"));
    charge.till = TillOf(call);
    if (charge.paymentId.isEmpty() || charge.paymentId.size() > 64)
        return Refused(QStringLiteral("缺少支付编号"));
    const QString type = member ? QStringLiteral("0") : QStringLiteral("1");
    const std::string subject = Subject(type, charge.cardNo);
    const std::string token = call.text("token");
    // A resend of a payment already met needs no token: the store answers
    // it from the journal. A new one spends the token of its card's query.
    const StatusAnswer known = store_.paymentStatus(charge.paymentId, false);
    if (known.outcome == Outcome::Failed)
        throw ServiceFailure(known.message.toStdString());
    const bool spent = !known.known;
    if (spent && !tokens_.take(token, subject, call.till)) {
        qCWarning(lcCardServer).noquote() << "PayByCard refused: no valid charge token from" << TillOf(call);
        return Refused(member ? QStringLiteral("会员卡未经密码验证,请重新刷卡")
                              : QStringLiteral("福利证未经查询验证,请重新输入券号"));
    }
    a = member ? store_.chargeMember(charge) : store_.chargeCertificate(charge);
    if (spent && (a.outcome != Outcome::Done || a.replayed))
        tokens_.giveBack(token, subject, call.till);
    qCInfo(lcCardServer).noquote() << "PayByCard" << (member ? "member" : "certificate")
                                   << MaskCardNumber(charge.cardNo) << "document" << charge.documentNo
                                   << "fen" << charge.amountFen << "from" << charge.till << "->"
                                   << OutcomeText(a.outcome) << "journal" << a.journalId
                                   << (a.replayed ? "(repeat, not charged again)" : "");
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    return {{"ok", true}, {"journal", a.journalId}};
}

nlohmann::json CardService::paymentStatus(const nlohmann::json& params, const CallContext& call)
{
    const QString id = PaymentId(params);
    const StatusAnswer a = store_.paymentStatus(id);
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    const char* state = a.state == PaymentState::Done       ? "done"
                        : a.state == PaymentState::Reversed ? "reversed"
                                                            : "none";
    qCInfo(lcCardServer).noquote() << "PaymentStatus from" << TillOf(call) << "->" << state;
    return {{"ok", true}, {"state", state}, {"journal", a.journalId}};
}

nlohmann::json CardService::reverseCharge(const nlohmann::json& params, const CallContext& call)
{
    const QString id = PaymentId(params);
    const ChargeAnswer a = store_.reverseCharge(id, TillOf(call));
    qCInfo(lcCardServer).noquote() << "ReverseCharge journal" << a.journalId << "from" << TillOf(call) << "->"
                                   << OutcomeText(a.outcome);
    if (a.outcome == Outcome::Failed)
        throw ServiceFailure(a.message.toStdString());
    if (a.outcome == Outcome::Refused)
        return Refused(a.message);
    return {{"ok", true}, {"journal", a.journalId}};
}

nlohmann::json CardService::journalForDay(const nlohmann::json& params, const CallContext& call)
{
    RequireArray(params, 1, "a day");
    const QString day = Text(params, 0);
    if (day.size() != 8 || !QDate::fromString(day, QStringLiteral("yyyyMMdd")).isValid())
        throw InvalidParams("element 0 is not a day (YYYYMMDD)");
    const Result<QList<JournalRecord>> rows = store_.journalForDay(day);
    if (!rows)
        throw ServiceFailure(rows.error().toStdString());
    nlohmann::json entries = nlohmann::json::array();
    for (const JournalRecord& r : rows.value())
        entries.push_back({{"id", r.id},
                           {"card_type", r.cardType.toStdString()},
                           {"card_no", r.cardNo.toStdString()},
                           {"document_no", r.documentNo.toStdString()},
                           {"unit_code", r.unitCode.toStdString()},
                           {"cashier_code", r.cashierCode.toStdString()},
                           {"till", r.till.toStdString()},
                           {"amount_fen", r.amountFen},
                           {"state", r.state.toStdString()},
                           {"created_at", r.createdAt.toStdString()}});
    qCInfo(lcCardServer).noquote() << "JournalForDay" << day << "from" << TillOf(call) << "->"
                                   << rows.value().size() << "charges";
    return {{"ok", true}, {"entries", entries}};
}

} // namespace qiantai::cardd
