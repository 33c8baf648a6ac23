// A card screen's world for tests: a session, a FakeHost, a scripted card
// front-end and card terminal that log every request, and the messages shown.
#pragma once

#include "devices/cardterminal.h"
#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"
#include "sale/salesession.h"
#include "screens/cards/cardscreencontext.h"

#include "fakehost.h"

#include <QList>

namespace qiantai::test {

struct ShownMessage {
    QString text;
    QString caption;
};

class ScriptedFrontEnd : public CardFrontEnd {
public:
    explicit ScriptedFrontEnd(class CardScreenKit* kit) : kit_(kit) {}
    CardFrontEndResult queryCard(const QVariantList& request) override;
    CardFrontEndResult payByCard(const QVariantList& request, const QString& paymentId,
                                 const QString& token) override;
    CardFrontEndResult paymentStatus(const QString& paymentId) override;
    CardFrontEndResult reverseCharge(const QString& paymentId) override;

private:
    CardScreenKit* kit_;
};

class ScriptedTerminal : public CardTerminal {
public:
    CardTerminalResult transact(const QByteArray& request) override
    {
        requests.append(request);
        if (during)
            during();
        return result;
    }
    QList<QByteArray> requests;
    CardTerminalResult result;
    std::function<void()> during; // runs while the transaction is under way
};

class CardScreenKit {
public:
    CardScreenKit()
        : host(&fakeHost), cards([this](QString&) { return std::make_unique<ScriptedFrontEnd>(this); },
                                 [this](const QVariant& m, const QString& c, InfoKind) {
                                     shown.append({m.toString(), c});
                                     return 1;
                                 },
                                 &charges)
    {
        session.Dybm = QStringLiteral("0101");
        session.Djh = QStringLiteral("0101200406150001");
        session.Syybm = QStringLiteral("0012");
        session.Syymc = QStringLiteral("张三");
        session.Gzbm = QStringLiteral("G01");
        fakeHost.answer(dispid::GetCurrentDate, 0, QStringLiteral("20040615"));
        fakeHost.on(dispid::RecordCardConsumption, [this](QVariantList& args) {
            consumptionRecords.append(args[0].toList());
            args[1] = QStringLiteral("LS%1").arg(consumptionRecords.size());
            return QVariant(consumptionAccepted);
        });
    }

    CardScreenContext Context()
    {
        CardScreenContext c;
        c.session = &session;
        c.host = &host;
        c.cards = &cards;
        c.terminal = &terminal;
        c.show = [this](const QVariant& m, const QString& caption, InfoKind) {
            shown.append({m.toString(), caption});
            return 1;
        };
        c.now = [] { return QDateTime(QDate(2004, 6, 15), QTime(9, 8, 7)); };
        return c;
    }

    QStringList ShownTexts() const
    {
        QStringList texts;
        for (const ShownMessage& m : shown)
            texts << m.text;
        return texts;
    }

    SaleSession session;
    FakeHost fakeHost;
    HostService host;
    CardServices cards;
    ScriptedTerminal terminal;
    QList<ShownMessage> shown;
    QList<QVariantList> consumptionRecords;
    bool consumptionAccepted = true;

    // Front-end: answers handed out in order; each request is logged.
    QList<CardFrontEndResult> queryAnswers;
    QList<CardFrontEndResult> payAnswers;
    QList<CardFrontEndResult> statusAnswers;
    QList<CardFrontEndResult> reverseAnswers;
    QList<QVariantList> queries;
    QList<QVariantList> payments;
    QStringList paymentIds;  // sent with each payment
    QStringList tokens;      // sent with each payment
    QStringList statusAsked; // payment ids
    QStringList reversed;    // payment ids
    CardCharges charges;
};

inline CardFrontEndResult ScriptedFrontEnd::queryCard(const QVariantList& request)
{
    kit_->queries.append(request);
    return kit_->queryAnswers.isEmpty() ? CardFrontEndResult{} : kit_->queryAnswers.takeFirst();
}

inline CardFrontEndResult ScriptedFrontEnd::payByCard(const QVariantList& request, const QString& paymentId,
                                                      const QString& token)
{
    kit_->payments.append(request);
    kit_->paymentIds.append(paymentId);
    kit_->tokens.append(token);
    return kit_->payAnswers.isEmpty() ? CardFrontEndResult{} : kit_->payAnswers.takeFirst();
}

inline CardFrontEndResult ScriptedFrontEnd::paymentStatus(const QString& paymentId)
{
    kit_->statusAsked.append(paymentId);
    return kit_->statusAnswers.isEmpty() ? CardFrontEndResult{} : kit_->statusAnswers.takeFirst();
}

inline CardFrontEndResult ScriptedFrontEnd::reverseCharge(const QString& paymentId)
{
    kit_->reversed.append(paymentId);
    return kit_->reverseAnswers.isEmpty() ? CardFrontEndResult{} : kit_->reverseAnswers.takeFirst();
}

inline CardFrontEndResult Answer(const QVariantList& elements)
{
    CardFrontEndResult r;
    r.status = CardFrontEndStatus::Ok;
    r.answer = elements;
    return r;
}

inline CardFrontEndResult Status(const QString& state)
{
    CardFrontEndResult r;
    r.status = CardFrontEndStatus::Ok;
    r.state = state;
    return r;
}

inline CardFrontEndResult Failed(CardFrontEndStatus status, const QString& error)
{
    CardFrontEndResult r;
    r.status = status;
    r.error = error;
    return r;
}

inline CardFrontEndResult Refusal(const QString& text)
{
    CardFrontEndResult r;
    r.status = CardFrontEndStatus::Refused;
    r.refusal = text;
    return r;
}

// A member card answer: balance, card number, member account.
inline CardFrontEndResult MemberCard(double balance, const QString& cardNo,
                                     const QString& account = QStringLiteral("M001"))
{
    return Answer({QVariant(), balance, 0, cardNo, 0, account, 10.0, 0, 0});
}

// A welfare certificate answer: number, face value, Element3.
inline CardFrontEndResult Certificate(const QString& number, double face, double element3 = 0)
{
    return Answer({QVariant(), number, face, element3});
}

} // namespace qiantai::test
