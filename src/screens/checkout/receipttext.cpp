#include "screens/checkout/receipttext.h"

#include "base/gbk.h"
#include "base/money.h"
#include "base/numbers.h"
#include "base/numbertext.h"
#include "sale/payments.h"
#include "sale/salesession.h"
#include "sale/salesmethod.h"
#include "sale/sqlquote.h"
#include "sale/tablenames.h"

#include <QStringList>

namespace qiantai {

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QString MemberCardCode = QStringLiteral("0005");
constexpr int AmountWidth = 19; // an amount ends in column 40 after its 21-byte label

QString blanks(int count)
{
    return count > 0 ? QString(count, QLatin1Char(' ')) : QString();
}

// `text` after as many blanks as centre it on `width` columns.
QString centred(const QString& text, int width)
{
    return blanks((width - GbkWidth(text)) / 2) + text;
}

// A document number as an integer ("0000000012" gives "12"); a text that is
// no number stays as it is.
QString asInteger(const QString& number)
{
    bool ok = false;
    const qlonglong n = number.trimmed().toLongLong(&ok);
    return ok ? QString::number(n) : number.trimmed();
}

QString dateTimeText(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

const char* const ReprintMark = "*** 重印 ***";

QString ReprintMarked(const QString& body)
{
    const QString end = body.contains(Crlf) ? Crlf : QStringLiteral("\n");
    int widest = 0;
    for (const QString& line : body.split(end))
        widest = qMax(widest, GbkWidth(line));
    return centred(QString::fromUtf8(ReprintMark), widest) + end + body;
}

QString BuildTextReceipt(const SaleSession& s, const DataPacket& saleLines, const QDateTime& now)
{
    QString out;
    auto line = [&out](const QString& text) { out += text + Crlf; };

    const QString title = s.Bmmc + QStringLiteral("销货单");
    line(centred(title, ReceiptWidth));
    line({});
    line(QStringLiteral("销售单号：") + s.Djh);
    line(QStringLiteral("销售方式：") + SalesMethodName(s.Xsfs));
    line({});

    for (int r = 0; r < saleLines.rowCount(); ++r) {
        line(QStringLiteral("商品编码：") + saleLines.value(r, QStringLiteral("f_Spbm")).toString());
        line(QStringLiteral("商品名称：") + saleLines.value(r, QStringLiteral("f_Spmc")).toString());
        line(QStringLiteral("销售数量：") +
             MoneyText(saleLines.value(r, QStringLiteral("f_Xssl")).toDouble()));
        line(QStringLiteral("销售金额：") +
             MoneyText(saleLines.value(r, QStringLiteral("f_Ssje")).toDouble()));
    }
    line({});

    const QPair<QString, double> amounts[] = {
        {QStringLiteral("            应收金额:"), s.AmountDue},
        {QStringLiteral("实交金额:            "), s.AmountPaid},
        {QStringLiteral("            找零金额:"), s.AmountPaid - s.AmountDue},
        {QStringLiteral("返利金额:            "), s.RebateAmount},
        {QStringLiteral("            欠款金额:"), s.DocTotalAmount - s.AmountDue},
    };
    for (const auto& [label, amount] : amounts)
        line(label + PadText(MoneyText(amount), AmountWidth, 0));
    line({});

    line(blanks(24) + QStringLiteral("仓库编码：  ") + s.Ckbm);
    line(blanks(24) + QStringLiteral("营业员编码：") + s.Yyybm);
    line(blanks(24) + QStringLiteral("收银员编码：") + s.Syybm);
    line(blanks(21) + dateTimeText(now));
    line(QStringLiteral("    多谢惠顾！欢迎再次光临！"));
    return out;
}

QString MemberCardBalanceText(const SaleSession& s)
{
    QStringList items;
    for (const TPayDetail& e : s.PaymentEntries)
        if (e.Code == MemberCardCode)
            items << QStringLiteral("卡号:") + e.CardNo + QStringLiteral(" 余额:") + MoneyText(e.CardBalance);
    return items.join(Crlf);
}

QString UnifiedCollectionRemark(const SaleSession& s)
{
    if (s.SuspendFlag == 1)
        return QStringLiteral("待统收");
    QStringList numbers;
    for (const QString& djh : s.CollectedSales)
        numbers << asInteger(djh);
    for (const QString& djh : s.CollectedPreSales)
        numbers << QLatin1Char('Y') + asInteger(djh.mid(6, 6)); // the year-month dropped
    if (numbers.isEmpty())
        return {};
    return QStringLiteral("统收单据:") + numbers.join(QLatin1Char(',')) + QStringLiteral(" 统收金额:") +
           MoneyText(s.UnifiedTotal);
}

QString PaymentSummaryText(const SaleSession& s)
{
    QStringList items;
    for (const TPayment& m : s.PaymentMethods)
        items << m.Name + QStringLiteral("金额:") + MoneyText(TotalByCode(s, m.Code));
    return items.join(QLatin1Char(' '));
}

QString RelatedDocumentQuery(const QString& djh)
{
    const QString table = SpgjcbTableName(djh);
    if (table.isEmpty())
        return {};
    return QStringLiteral("Select f_Djh From ") + table + QStringLiteral(" Where f_YDjh = ") + SqlQuote(djh) +
           QLatin1Char(' ');
}

ReportVariables ReceiptVariables(const SaleSession& s, const QDateTime& now,
                                 const std::optional<QString>& relatedDocument)
{
    const double change = RoundMoney(s.AmountPaid - s.AmountDue);
    const double owed = RoundMoney(s.DocTotalAmount - s.AmountDue);
    ReportVariables v{
        {QStringLiteral("Xjje"), TotalByCode(s, QStringLiteral("0001"))},
        {QStringLiteral("Qlje"), TotalByCode(s, QStringLiteral("0003"))},
        {QStringLiteral("Zzje"), TotalByCode(s, QStringLiteral("0002"))},
        {QStringLiteral("Xykje"), TotalByCode(s, QStringLiteral("0004"))},
        {QStringLiteral("Kickje"), 0},
        {QStringLiteral("Hykje"), TotalByCode(s, QStringLiteral("0005"))},
        {QStringLiteral("Flzje"), TotalByCode(s, QStringLiteral("0006"))},
        {QStringLiteral("Sxje"), TotalByCode(s, QStringLiteral("0007"))},
        {QStringLiteral("Sjysfk"), s.AmountDue},
        {QStringLiteral("Zlje"), change},
        {QStringLiteral("Bmbm"), s.Dybm},
        {QStringLiteral("Bmmc"), s.Bmmc},
        {QStringLiteral("Rq"), dateTimeText(now)},
        {QStringLiteral("Flje"), s.RebateAmount},
        {QStringLiteral("Djh"), s.Djh},
        {QStringLiteral("Xsfs"), s.Xsfs},
        {QStringLiteral("Qk"), owed},
        {QStringLiteral("Syybm"), s.Syybm},
        {QStringLiteral("Syymc"), s.Syymc},
        {QStringLiteral("Yyybm"), s.Yyybm},
        {QStringLiteral("Yyymc"), s.Yyymc},
        {QStringLiteral("Ckbm"), s.Ckbm},
        {QStringLiteral("Gzbm"), s.Gzbm},
        {QStringLiteral("Gzmc"), s.Gzmc},
        {QStringLiteral("Khxx"), s.Khxx},
        {QStringLiteral("Hykh"), s.CurrentMemberCard.CardNo},
        {QStringLiteral("Bcjf"), s.PointsEarned},
        {QStringLiteral("Xsbz"), UnifiedCollectionRemark(s)},
        {QStringLiteral("Hykye"), MemberCardBalanceText(s)},
        {QStringLiteral("f_Thlx"), QStringLiteral("实物退货")},
        {QStringLiteral("f_Thrq"), now.toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("f_Thsj"), now.toString(QStringLiteral("HH:mm:ss"))},
        {QStringLiteral("f_Zffs"), PaymentSummaryText(s)},
        {QStringLiteral("f_Ydjh"), QString()},
        {QStringLiteral("f_Djje"), 0},
        {QStringLiteral("f_Qkje"), s.DocTotalAmount},
        {QStringLiteral("f_Stje"), s.AmountDue},
        {QStringLiteral("f_Bmbm"), s.Dybm},
        {QStringLiteral("f_BMmc"), s.Bmmc},
        {QStringLiteral("f_Gzbm"), s.Gzbm},
        {QStringLiteral("f_Gzmc"), s.Gzmc},
        {QStringLiteral("f_Djh"), s.Djh},
        {QStringLiteral("f_Syybm"), s.Syybm},
        {QStringLiteral("f_Syymc"), s.Syymc},
        {QStringLiteral("f_Yyybm"), s.Yyybm},
        {QStringLiteral("f_Yyymc"), s.Yyymc},
    };
    if (relatedDocument)
        v.append({QStringLiteral("Gjdjh"), *relatedDocument});
    return v;
}

} // namespace qiantai
