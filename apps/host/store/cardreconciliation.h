// The day's member card and certificate payments of the store against the
// card server's journal of the same day.
#pragma once

#include "dayreport.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace qiantai::host {

// One charge of the card server's journal.
struct JournalEntry {
    qint64 id = 0;
    int type = 0; // paytype::MemberCard or paytype::Certificate
    QString cardNo, document, cashier;
    double amount = 0;
    bool reversed = false; // given back after the charge
};

// The journal rows as the card server's JournalForDay answers them (maps
// with id, card_type "0"/"1", card_no, document_no, cashier_code,
// amount_fen, state "done"/"reversed"). False with `error` on anything else.
bool JournalFromAnswer(const QVariantList& rows, QList<JournalEntry>* journal, QString* error);

struct CardDifference {
    enum class Kind {
        StoreOnly,         // booked by the store, not charged
        JournalOnly,       // charged, not booked by the store
        AmountDiffers,     // both, with different amounts
        ReversedButBooked, // charged and given back, yet booked by the store
    };
    Kind kind = Kind::StoreOnly;
    QString document;
    int type = 0;
    QString cardNo; // member cards; certificates: the journal's number when known
    double storeAmount = 0, journalAmount = 0;
};

// Pairs each stored payment with a charge of the same document, card type
// and (member cards) card number: equal amounts first, then the rest in
// order. Certificates pair by document and amount, as the store keeps no
// certificate number. Charges given back count only against a payment left
// without a charge. In document order.
QList<CardDifference> ReconcileCardPayments(const QList<StoredCardPayment>& stored,
                                            const QList<JournalEntry>& journal);

// "仅门店有", "仅卡前置机有", "金额不符", "已冲正但门店已记账".
QString DifferenceKindText(CardDifference::Kind kind);

} // namespace qiantai::host
