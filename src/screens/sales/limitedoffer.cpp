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

QString OfferMoveUpStatement(const QString& dqny, const QString& djh, int lineNo)
{
    return QStringLiteral("Update tbXsxlqK Set f_Dnxh = ") + QString::number(lineNo - 2) +
           QStringLiteral(" Where f_Ny = ") + SqlQuote(dqny) + QStringLiteral(" And f_Djh = ") +
           SqlQuote(djh) + QStringLiteral(" And f_Dnxh = ") + QString::number(lineNo - 1);
}

namespace {

// Reservations of a unified-distribution sale are kept at the centre.
bool ExecuteReservationSql(HostService& host, const SaleSession& session, const QString& sql)
{
    if (session.Xsfs == UnifiedDistribution)
        return host.ExecuteCentreSql(sql, session.Pszxbm);
    return host.ExecuteSql(sql);
}

} // namespace

bool ReleaseOfferReservation(HostService& host, const SaleSession& session, int lineNo)
{
    return ExecuteReservationSql(host, session, OfferReleaseStatement(session.Dqny, session.Djh, lineNo));
}

bool ReleaseOfferReservation(int lineNo)
{
    HostService host(Session().HostObject.get());
    return ReleaseOfferReservation(host, Session(), lineNo);
}

bool ReleaseDeletedLineOffer(HostService& host, const SaleSession& session, int lineNo)
{
    if (!ReleaseOfferReservation(host, session, lineNo))
        return false;
    // The lines now numbered lineNo.. were lineNo + 1.. before the deletion;
    // moving them in that order never meets a position still taken.
    for (int was = lineNo + 1; was <= session.SaleLines.Count() + 1; ++was)
        if (!ExecuteReservationSql(host, session, OfferMoveUpStatement(session.Dqny, session.Djh, was)))
            return false;
    return true;
}

bool ReleaseDeletedLineOffer(int lineNo)
{
    HostService host(Session().HostObject.get());
    return ReleaseDeletedLineOffer(host, Session(), lineNo);
}

} // namespace qiantai
