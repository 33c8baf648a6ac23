// A FakeHost that answers as a complete, valid store: the sales screen's
// start-up passes against it and a sale document can be begun. Every value
// is a public field read when the host is called, so a test changes one
// field (or replaces one handler with on()) to make one step fail.
#pragma once

#include "fakehost.h"

#include <QDateTime>
#include <QMap>
#include <QString>

namespace qiantai::test {

class StoreFixture : public FakeHost {
public:
    StoreFixture();

    // tbSysmsg rows handed out by GetSystemParameters (f_Csmc -> f_Csz).
    QMap<QString, QString> parameters;
    QString databaseType = QStringLiteral("SQLSERVER");
    QString currentYearMonth = QStringLiteral("200406");
    QDateTime serverTime{QDate(2004, 6, 15), QTime(10, 20, 30)};
    QString departmentName = QStringLiteral("电器一店");
    QString operatorTag = QStringLiteral("OP-TAG");
    QString cashierName = QStringLiteral("张三");
    QString distributionCentre = QStringLiteral("PS01");
    QString receiptMode = QStringLiteral("0"); // tbSysMsg xsxpdyfs; "1" = OPOS printer
    QString saleTemplate = QStringLiteral("[Djh]");
    QString returnTemplate = QStringLiteral("[Djh]");
    bool uniqueIndexExists = true;
    QString nextDocumentNumber = QStringLiteral("0101200406150001");

    // Employees known to LookupEmployee: code -> (name, kind text, status).
    struct Employee {
        QString name;
        QString kind = QStringLiteral("3");
        int status = 1;
    };
    QMap<QString, Employee> employees;
    // Counter groups (code -> name) and warehouses at the centre.
    QMap<QString, QString> counterGroups;
    QMap<QString, QString> warehouses;

    // Answers for OpenQuery by exact statement; they take precedence over
    // the store's own statements. Any other statement returns no row.
    QMap<QString, DataPacket> queries;
    // Statements that OpenQuery refuses, with the refusal's text.
    QMap<QString, QVariant> refusedQueries;

    // Shorthand for parameters["dwlx"] etc.
    void setParameter(const QString& key, const QString& value) { parameters[key] = value; }
    QString parameter(const QString& key) const { return parameters.value(key); }

    // Statements sent to OpenQuery, in order.
    QStringList queriesSent() const;

    // A one-column packet "f_Csz" holding `value`.
    static DataPacket sysmsgRow(const QString& value);

private:
    QVariant openQuery(QVariantList& args);
};

} // namespace qiantai::test
