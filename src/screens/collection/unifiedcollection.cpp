#include "screens/collection/unifiedcollection.h"

#include "host/commonhelpers.h"
#include "host/hostservice.h"
#include "host/numbers.h"
#include "sale/salesession.h"
#include "sale/sqlquote.h"
#include "sale/tablenames.h"

#include <QStringList>

namespace qiantai {

namespace {

constexpr int SaleNumberWidth = 10;
constexpr int PreSaleSerialWidth = 6;

QStringList& collectedList(SaleSession& s, bool isPreSale)
{
    return isPreSale ? s.CollectedPreSales : s.CollectedSales;
}

} // namespace

QString UnifiedDocumentSql(const SaleSession& s, bool isPreSale, const QString& number,
                           const QString& hostDate)
{
    const QString table =
        MonthlyTableName(s.Dqny, isPreSale ? QStringLiteral("yXsmxzb") : QStringLiteral("Xsmxzb"));
    if (table.isEmpty())
        return {};
    const QString dateColumn = isPreSale ? QStringLiteral("f_Zdrq") : QStringLiteral("f_Rzrq");
    return QStringLiteral(" Select f_Xjje From ") + table + QStringLiteral(" ") + QStringLiteral(" Where ") +
           dateColumn + QStringLiteral(" = ") + SqlQuote(hostDate) + QStringLiteral(" ") +
           QStringLiteral("   And f_Syybm = ") + SqlQuote(s.Syybm) + QStringLiteral(" ") +
           QStringLiteral("   And f_Xsbz Like '%统收单据XXXX%' ") + QStringLiteral("   And f_Djh = ") +
           SqlQuote(number) + QStringLiteral(" ");
}

bool AddUnifiedDocument(SaleSession& s, HostService& host, bool isPreSale, const QString& number)
{
    QStringList& collected = collectedList(s, isPreSale);
    if (collected.contains(number))
        return false;
    const QString sql = UnifiedDocumentSql(s, isPreSale, number, HostDateText(host));
    if (sql.isEmpty())
        return false;
    DataPacket rows;
    if (!host.OpenQuery(sql, rows) || rows.isEmpty())
        return false;
    const double cash = rows.value(0, QStringLiteral("f_Xjje")).toDouble();
    collected.append(number);
    s.UnifiedTotal += cash;
    s.AmountDue += cash;
    return true;
}

QString UnifiedSaleNumber(qint64 typed)
{
    return PadNumber(SaleNumberWidth, true, typed);
}

QString UnifiedPreSaleNumber(const QString& dqny, qint64 typed)
{
    return dqny + PadNumber(PreSaleSerialWidth, true, typed);
}

bool CollectTypedDocuments(SaleSession& s, HostService& host, bool isPreSale, const QString& typed,
                           QString& error)
{
    error.clear();
    if (typed.trimmed().isEmpty())
        return true;
    QStringList pieces;
    SplitText(QStringLiteral(","), typed, pieces);
    for (const QString& piece : pieces) {
        bool ok = false;
        const qint64 n = piece.toLongLong(&ok);
        if (!ok) {
            error = QStringLiteral("“%1”不是有效的整数").arg(piece);
            return false;
        }
        const QString number = isPreSale ? UnifiedPreSaleNumber(s.Dqny, n) : UnifiedSaleNumber(n);
        AddUnifiedDocument(s, host, isPreSale, number);
    }
    return true;
}

} // namespace qiantai
