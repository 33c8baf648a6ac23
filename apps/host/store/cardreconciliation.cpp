#include "cardreconciliation.h"

#include "base/money.h"

#include <QMap>
#include <QVariantMap>

#include <algorithm>

namespace qiantai::host {

namespace {

using Kind = CardDifference::Kind;

// What pairs a payment with a charge.
QString PairKey(const QString& document, int type, const QString& cardNo)
{
    return document + QLatin1Char('|') + QString::number(type) + QLatin1Char('|') +
           (type == paytype::MemberCard ? cardNo : QString());
}

struct Group {
    QString document;
    int type = 0;
    QList<const StoredCardPayment*> stored;
    QList<const JournalEntry*> charged, reversed;
};

CardDifference Difference(Kind kind, const Group& g, const StoredCardPayment* s, const JournalEntry* j)
{
    CardDifference d;
    d.kind = kind;
    d.document = g.document;
    d.type = g.type;
    d.cardNo = j ? j->cardNo : s->cardNo;
    d.storeAmount = s ? s->amount : 0;
    d.journalAmount = j ? j->amount : 0;
    return d;
}

// Takes from `from` the first entry whose amount equals `amount`.
const JournalEntry* TakeEqual(QList<const JournalEntry*>& from, double amount)
{
    for (int i = 0; i < from.size(); ++i)
        if (MoneyEquals(from[i]->amount, amount))
            return from.takeAt(i);
    return nullptr;
}

void Reconcile(Group& g, QList<CardDifference>* out)
{
    QList<const StoredCardPayment*> left;
    for (const StoredCardPayment* s : std::as_const(g.stored))
        if (!TakeEqual(g.charged, s->amount))
            left.append(s);
    QList<const StoredCardPayment*> unpaired;
    for (const StoredCardPayment* s : std::as_const(left)) {
        if (const JournalEntry* j = TakeEqual(g.reversed, s->amount))
            out->append(Difference(Kind::ReversedButBooked, g, s, j));
        else
            unpaired.append(s);
    }
    for (const StoredCardPayment* s : std::as_const(unpaired)) {
        if (!g.charged.isEmpty())
            out->append(Difference(Kind::AmountDiffers, g, s, g.charged.takeFirst()));
        else if (!g.reversed.isEmpty())
            out->append(Difference(Kind::ReversedButBooked, g, s, g.reversed.takeFirst()));
        else
            out->append(Difference(Kind::StoreOnly, g, s, nullptr));
    }
    for (const JournalEntry* j : std::as_const(g.charged))
        out->append(Difference(Kind::JournalOnly, g, nullptr, j));
}

} // namespace

bool JournalFromAnswer(const QVariantList& rows, QList<JournalEntry>* journal, QString* error)
{
    journal->clear();
    for (int i = 0; i < rows.size(); ++i) {
        const QVariantMap m = rows[i].toMap();
        const QString type = m.value(QStringLiteral("card_type")).toString();
        const QString state = m.value(QStringLiteral("state")).toString();
        bool fenOk = false;
        const qint64 fen = m.value(QStringLiteral("amount_fen")).toLongLong(&fenOk);
        if ((type != QLatin1String("0") && type != QLatin1String("1")) || !fenOk ||
            (state != QLatin1String("done") && state != QLatin1String("reversed"))) {
            *error = QStringLiteral("卡前置机流水第%1行不正确").arg(i + 1);
            return false;
        }
        JournalEntry e;
        e.id = m.value(QStringLiteral("id")).toLongLong();
        e.type = type == QLatin1String("0") ? paytype::MemberCard : paytype::Certificate;
        e.cardNo = m.value(QStringLiteral("card_no")).toString();
        e.document = m.value(QStringLiteral("document_no")).toString();
        e.cashier = m.value(QStringLiteral("cashier_code")).toString();
        e.amount = double(fen) / 100.0;
        e.reversed = state == QLatin1String("reversed");
        journal->append(e);
    }
    return true;
}

QList<CardDifference> ReconcileCardPayments(const QList<StoredCardPayment>& stored,
                                            const QList<JournalEntry>& journal)
{
    QMap<QString, Group> groups;
    auto group = [&groups](const QString& document, int type, const QString& cardNo) -> Group& {
        Group& g = groups[PairKey(document, type, cardNo)];
        g.document = document;
        g.type = type;
        return g;
    };
    for (const StoredCardPayment& s : stored)
        group(s.document, s.type, s.cardNo).stored.append(&s);
    for (const JournalEntry& j : journal) {
        Group& g = group(j.document, j.type, j.cardNo);
        (j.reversed ? g.reversed : g.charged).append(&j);
    }
    QList<CardDifference> out;
    for (Group& g : groups)
        Reconcile(g, &out);
    std::stable_sort(out.begin(), out.end(), [](const CardDifference& a, const CardDifference& b) {
        return a.document < b.document;
    });
    return out;
}

QString DifferenceKindText(CardDifference::Kind kind)
{
    switch (kind) {
    case Kind::StoreOnly:
        return QStringLiteral("仅门店有");
    case Kind::JournalOnly:
        return QStringLiteral("仅卡前置机有");
    case Kind::AmountDiffers:
        return QStringLiteral("金额不符");
    case Kind::ReversedButBooked:
        return QStringLiteral("已冲正但门店已记账");
    }
    return {};
}

} // namespace qiantai::host
