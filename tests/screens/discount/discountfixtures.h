// Sale lines and a recording authority for the discount tests.
#pragma once

#include "base/money.h"
#include "sale/saleitems.h"
#include "screens/discount/frmzkszrules.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qiantai::test {

// A line priced at its list price, amounts split as the grid splits them.
inline TSaleRecord& AddLine(TSaleRecords& lines, const QString& code, double listPrice, double quantity = 1,
                            double purchasePrice = 0, double lowestPrice = 0, double taxRate = 17)
{
    TSaleRecord& line = lines.Add();
    line.ProductCode = code;
    line.ProductName = QStringLiteral("商品") + code;
    line.ListPrice = listPrice;
    line.UnitPrice = listPrice;
    line.Quantity = quantity;
    line.LastPurchasePrice = purchasePrice;
    line.LowestPrice = lowestPrice;
    line.TaxRate = taxRate;
    const double amount = RoundMoney(listPrice * quantity);
    line.NetAmount = RoundMoney(amount / (1 + taxRate / 100));
    line.TaxAmount = amount - line.NetAmount;
    return line;
}

// An authority whose answers are set by the test and which logs every
// question in order, as "cashier:9907" or "grant:9912".
struct RecordingAuthority {
    QStringList cashierRights;    // rights the cashier holds
    QStringList supervisorRights; // rights a supervisor grants
    QStringList asked;

    DiscountAuthority authority()
    {
        DiscountAuthority a;
        a.cashierHolds = [this](const QString& right) {
            asked.append(QStringLiteral("cashier:") + right);
            return cashierRights.contains(right);
        };
        a.authorize = [this](const QString& right) {
            asked.append(QStringLiteral("grant:") + right);
            return supervisorRights.contains(right);
        };
        return a;
    }
};

} // namespace qiantai::test
