// The member card and certificate charges this till made for the current
// document and has not given back: what abandoning its checkout must reverse.
#pragma once

#include <QList>
#include <QString>

namespace qiantai {

struct CardCharge {
    QString paymentId;
    QString cardType; // "0" member card, "1" welfare certificate
    QString cardNo;
    double amount = 0; // a certificate: its face value is booked
    QString documentNo;
};

class CardCharges {
public:
    // Charges of other documents are forgotten: they were recorded.
    void Add(const CardCharge& charge);
    QList<CardCharge> OfDocument(const QString& documentNo) const;
    void Forget(const QString& paymentId);

private:
    QList<CardCharge> charges_;
};

// The till's one list, for the life of the process like the session.
CardCharges& MadeCardCharges();

// One info line (qiantai.cards) per charge made: the kind, the masked number,
// the amount, the payment id and the document.
void LogCardCharge(const CardCharge& charge);
// The same for a bank card charge the terminal approved: `serial` is the
// host's consumption serial of its record (empty when it was not recorded).
void LogBankCardCharge(const QString& cardNo, double amount, const QString& serial,
                       const QString& documentNo);

// The question before charges are given back: one line per charge (card
// numbers masked), then what Enter does.
QString ReversalQuestion(const QList<CardCharge>& charges);

} // namespace qiantai
