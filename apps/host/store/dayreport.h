// The cashiers' day report: what each cashier took on one business day,
// read from the sale and pre-sale documents recorded that day.
#pragma once

#include "database.h"
#include "paymenttypes.h"

#include <QList>
#include <QMap>
#include <QString>

namespace qiantai::host {

// The payment types in the order the till offers them, with their names.
struct PaymentTypeName {
    int type;
    const char* name; // UTF-8
};
const QList<PaymentTypeName>& PaymentTypeNames();

// A right another employee granted during a recorded document.
struct Grant {
    QString document;
    QString right; // "9907" below the lowest price, "9912" below cost
    QString employee, employeeName;
};

struct CashierDay {
    QString cashier, name;
    int documents = 0; // sale and pre-sale documents
    int lines = 0;
    double total = 0;                       // sale amount of the lines
    QMap<int, double> payments;             // by payment type, change and collection rows not included
    double change = 0;                      // given back in cash
    int deposits = 0;                       // pre-sale documents: paid by deposit
    double depositAmount = 0;               // what they took
    int suspended = 0;                      // documents put on suspension (挂账)
    double suspendedAmount = 0;             // the cash they wait for (their f_Xjje)
    int collected = 0;                      // other documents this cashier collected (统收)
    double collectedAmount = 0;             // the cash collected for them
    QMap<QString, double> customerAccounts; // customer code -> amount booked
    double autoDiscount = 0, manualDiscount = 0;
    QList<Grant> grants;

    double payment(int type) const { return payments.value(type); }
    // Cash in the drawer: cash taken, less change, less the suspended
    // documents' cash, which their collector takes.
    double cashToHandIn() const;
};

struct DayReport {
    QString day;                // YYYYMMDD
    QList<CashierDay> cashiers; // by cashier code
    CashierDay total;           // every cashier together; no code
};

// A card payment the store booked: member card (type 6, with the card
// number) or welfare certificate (type 8; the store keeps no number).
struct StoredCardPayment {
    QString document, cashier;
    int type = 0;
    QString cardNo;
    double amount = 0;
};

struct DayReportQuery {
    QString day;     // YYYYMMDD
    QString cashier; // empty: every cashier
};

// Reads the documents whose posting date is `query.day` from the monthly
// tables of that month and of the months next to it. Refuses an unknown
// cashier by name.
bool ReadDayReport(Database& store, const DayReportQuery& query, DayReport* report,
                   QList<StoredCardPayment>* cardPayments, QString* error);

// Whether `day` is a date written YYYYMMDD.
bool IsDayText(const QString& day);

} // namespace qiantai::host
