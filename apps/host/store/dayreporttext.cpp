#include "dayreporttext.h"

#include "base/gbk.h"
#include "base/numbers.h"
#include "base/numbertext.h"

#include <QDate>
#include <QStringList>

namespace qiantai::host {

namespace {

QString RightName(const QString& right)
{
    if (right == QLatin1String("9907"))
        return QStringLiteral("低于最低售价");
    if (right == QLatin1String("9912"))
        return QStringLiteral("低于进价");
    return QStringLiteral("权限") + right;
}

QString TypeName(int type)
{
    for (const PaymentTypeName& n : PaymentTypeNames())
        if (n.type == type)
            return QString::fromUtf8(n.name);
    return QString::number(type);
}

QString DayText(const QString& day)
{
    return QDate::fromString(day, QStringLiteral("yyyyMMdd")).toString(QStringLiteral("yyyy-MM-dd"));
}

// The figures of one cashier (or of the day) in report order.
QList<QPair<QString, QString>> Figures(const CashierDay& c)
{
    QList<QPair<QString, QString>> f = {
        {QStringLiteral("单据数"), QString::number(c.documents)},
        {QStringLiteral("明细行数"), QString::number(c.lines)},
        {QStringLiteral("销售金额"), MoneyText(c.total)},
    };
    for (const PaymentTypeName& n : PaymentTypeNames())
        f.append({QString::fromUtf8(n.name), MoneyText(c.payment(n.type))});
    f += QList<QPair<QString, QString>>{
        {QStringLiteral("找零"), MoneyText(c.change)},
        {QStringLiteral("应交现金"), MoneyText(c.cashToHandIn())},
        {QStringLiteral("定金单据"), QString::number(c.deposits)},
        {QStringLiteral("定金金额"), MoneyText(c.depositAmount)},
        {QStringLiteral("挂账单据"), QString::number(c.suspended)},
        {QStringLiteral("挂账金额"), MoneyText(c.suspendedAmount)},
        {QStringLiteral("统收单据"), QString::number(c.collected)},
        {QStringLiteral("统收金额"), MoneyText(c.collectedAmount)},
        {QStringLiteral("自动折扣"), MoneyText(c.autoDiscount)},
        {QStringLiteral("手工折扣"), MoneyText(c.manualDiscount)},
    };
    return f;
}

class TextWriter {
public:
    explicit TextWriter(int width) : width_(width) {}

    void line(const QString& text) { out_ += text + QLatin1Char('\n'); }
    void centred(const QString& text)
    {
        line(QString(qMax(0, (width_ - GbkWidth(text)) / 2), QLatin1Char(' ')) + text);
    }
    void rule(QChar c) { line(QString(width_, c)); }
    // The value ends in the last column.
    void figure(const QString& label, const QString& value)
    {
        line(label + PadText(value, width_ - GbkWidth(label), 0));
    }

    void cashier(const QString& heading, const CashierDay& c)
    {
        line(heading);
        for (const auto& [label, value] : Figures(c))
            figure(label, value);
        for (auto it = c.customerAccounts.cbegin(); it != c.customerAccounts.cend(); ++it)
            figure(QStringLiteral("  客户") + it.key(), MoneyText(it.value()));
        for (const Grant& g : c.grants) {
            line(QStringLiteral("授权 单据") + g.document);
            line(QStringLiteral("  ") + RightName(g.right) + QLatin1Char(' ') + g.employee +
                 QLatin1Char(' ') + g.employeeName);
        }
    }

    QString text() const { return out_; }

private:
    int width_;
    QString out_;
};

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted.append(CsvField(f));
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList CsvRow(const QString& code, const QString& name, const CashierDay& c)
{
    QStringList row{code, name};
    for (const auto& figure : Figures(c))
        row.append(figure.second);
    QStringList grants;
    for (const Grant& g : c.grants)
        grants.append(g.document + QLatin1Char(':') + g.right + QLatin1Char(':') + g.employee);
    row.append(grants.join(QLatin1Char(' ')));
    return row;
}

} // namespace

QString DayReportText(const DayReport& report, int width,
                      const std::optional<QList<CardDifference>>& differences)
{
    TextWriter w(width);
    w.centred(QStringLiteral("收银员日报"));
    w.line(QStringLiteral("日期: ") + DayText(report.day));
    w.rule(QLatin1Char('='));
    if (report.cashiers.isEmpty())
        w.line(QStringLiteral("当日没有销售单据"));
    for (const CashierDay& c : report.cashiers) {
        w.cashier(QStringLiteral("收银员: ") + c.cashier + QLatin1Char(' ') + c.name, c);
        w.rule(QLatin1Char('-'));
    }
    if (!report.cashiers.isEmpty()) {
        w.cashier(QStringLiteral("合计"), report.total);
        w.rule(QLatin1Char('='));
    }
    if (differences) {
        w.line(QStringLiteral("卡前置机对账"));
        if (differences->isEmpty())
            w.line(QStringLiteral("  无差异"));
        for (const CardDifference& d : *differences) {
            w.line(DifferenceKindText(d.kind));
            w.line(QStringLiteral("  单据") + d.document);
            w.line(QStringLiteral("  ") + TypeName(d.type) + QLatin1Char(' ') + d.cardNo);
            w.figure(QStringLiteral("  门店"), MoneyText(d.storeAmount));
            w.figure(QStringLiteral("  卡前置机"), MoneyText(d.journalAmount));
        }
        w.rule(QLatin1Char('='));
    }
    return w.text();
}

QString DayReportCsv(const DayReport& report, const std::optional<QList<CardDifference>>& differences)
{
    QStringList header{QStringLiteral("收银员编码"), QStringLiteral("收银员")};
    for (const auto& figure : Figures(CashierDay()))
        header.append(figure.first);
    header.append(QStringLiteral("授权"));
    QString out = CsvLine(header);
    for (const CashierDay& c : report.cashiers)
        out += CsvLine(CsvRow(c.cashier, c.name, c));
    out += CsvLine(CsvRow(QStringLiteral("合计"), QString(), report.total));
    if (differences) {
        out += QStringLiteral("\r\n");
        out += CsvLine({QStringLiteral("对账差异"), QStringLiteral("单据号"), QStringLiteral("付款方式"),
                        QStringLiteral("卡号"), QStringLiteral("门店金额"), QStringLiteral("卡前置机金额")});
        for (const CardDifference& d : *differences)
            out += CsvLine({DifferenceKindText(d.kind), d.document, TypeName(d.type), d.cardNo,
                            MoneyText(d.storeAmount), MoneyText(d.journalAmount)});
    }
    return out;
}

} // namespace qiantai::host
