#include "screens/sales/limitedoffer.h"

#include "sale/sqlquote.h"

namespace qiantai {

namespace {

constexpr int UnifiedDistribution = 3;

double SameProductQuantity(const TSaleRecords& lines, int lineNo, bool skipAcceptedShortfall)
{
    if (lineNo < 1 || lineNo > lines.Count())
        return 0;
    const QString& code = lines[lineNo - 1].ProductCode;
    double sum = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        const TSaleRecord& other = lines[i];
        if (i == lineNo - 1 || other.ProductCode != code)
            continue;
        if (skipAcceptedShortfall && other.ShortfallAccepted == 1)
            continue;
        sum += other.Quantity;
    }
    return sum;
}

} // namespace

double OtherLinesQuantity(const TSaleRecords& lines, int lineNo)
{
    return SameProductQuantity(lines, lineNo, false);
}

bool CheckLimitedOffer(HostService& host, const SaleSession& session, int lineNo, double quantity,
                       const QString& mode, OfferAnswer& answer)
{
    const TSaleRecords& lines = session.SaleLines;
    if (lineNo < 1 || lineNo > lines.Count())
        return false;
    const TSaleRecord& line = lines[lineNo - 1];
    const double other = SameProductQuantity(lines, lineNo, mode == offermode::Shortfall);
    QVariant modeArg = mode;
    return host.QueryLimitedOffer(session.Xsfs == UnifiedDistribution ? 1 : 0, session.Dybm, session.Djh,
                                  lineNo - 1, line.ProductCode, quantity, other, line.UnitPrice,
                                  answer.unused, answer.offerPrice, answer.offerValue, modeArg);
}

QString OfferReleaseStatement(const QString& dqny, const QString& djh, int lineNo)
{
    QString sql = QStringLiteral("Delete From tbXsxlqK Where f_Ny = ") + SqlQuote(dqny) +
                  QStringLiteral(" And f_Djh = ") + SqlQuote(djh) + QStringLiteral(" ");
    if (lineNo != -1)
        sql += QStringLiteral("And f_Dnxh = ") + QString::number(lineNo - 1);
    return sql;
}

bool ReleaseOfferReservation(HostService& host, const SaleSession& session, int lineNo)
{
    const QString sql = OfferReleaseStatement(session.Dqny, session.Djh, lineNo);
    if (session.Xsfs == UnifiedDistribution)
        return host.ExecuteCentreSql(sql, session.Pszxbm);
    return host.ExecuteSql(sql);
}

bool ReleaseOfferReservation(int lineNo)
{
    HostService host(Session().HostObject.get());
    return ReleaseOfferReservation(host, Session(), lineNo);
}

} // namespace qiantai
