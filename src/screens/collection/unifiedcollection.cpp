#include "screens/collection/unifiedcollection.h"

#include "base/commonhelpers.h"
#include "base/numbers.h"
#include "hostcalls/hostservice.h"
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
    const QString header =
        MonthlyTableName(s.Dqny, isPreSale ? QStringLiteral("yXsmxzb") : QStringLiteral("Xsmxzb"));
    const QString payments =
        MonthlyTableName(s.Dqny, isPreSale ? QStringLiteral("yXszffs") : QStringLiteral("Xszffs"));
    if (header.isEmpty() || payments.isEmpty())
        return {};
    const QString dateColumn = isPreSale ? QStringLiteral("A.f_Zdrq") : QStringLiteral("A.f_Rzrq");
    // What is still owed is the suspension entry: the last cash row (f_Zffs
    // 0) of the document's payments. A document without payment rows owes
    // its cash amount.
    const QString owed = QStringLiteral("IsNull((Select P.f_Zfje From ") + payments +
                         QStringLiteral(" P Where P.f_Djh = A.f_Djh And P.f_Xh = (Select Max(Q.f_Xh) From ") +
                         payments +
                         QStringLiteral(" Q Where Q.f_Djh = A.f_Djh And Q.f_Zffs = 0)), A.f_Xjje)");
    return QStringLiteral(" Select ") + owed + QStringLiteral(" f_Dsje From ") + header +
           QStringLiteral(" A ") + QStringLiteral(" Where ") + dateColumn + QStringLiteral(" = ") +
           SqlQuote(hostDate) + QStringLiteral(" ") + QStringLiteral("   And A.f_Syybm = ") +
           SqlQuote(s.Syybm) + QStringLiteral(" ") +
           QStringLiteral("   And A.f_Xsbz Like '%统收单据XXXX%' ") + QStringLiteral("   And A.f_Djh = ") +
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
    const double owed = rows.value(0, QStringLiteral("f_Dsje")).toDouble();
    collected.append(number);
    s.UnifiedTotal += owed;
    s.AmountDue += owed;
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
