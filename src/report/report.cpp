#include "report/report.h"

#include "base/gbk.h"
#include "base/numbers.h"
#include "report/numberformat.h"

#include <QDateTime>
#include <QFont>
#include <QTextDocument>

namespace qiantai {

namespace {

constexpr int NoRow = -1;

bool isNumber(const QVariant& v, double* number)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        *number = v.toDouble();
        return true;
    case QMetaType::QString: {
        bool ok = false;
        *number = v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default:
        return false;
    }
}

QString valueText(const QVariant& v, const QString& format)
{
    if (!v.isValid() || v.isNull())
        return {};
    double number = 0;
    if (!format.isEmpty() && isNumber(v, &number))
        return FormatNumber(number, format);
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

} // namespace

bool Report::Load(const QString& text, QString* error)
{
    ReportTemplate parsed;
    loaded_ = ReportTemplate::Parse(text, &parsed, error);
    layout_ = loaded_ ? std::move(parsed) : ReportTemplate();
    return loaded_;
}

void Report::SetVariable(const QString& name, const QVariant& value)
{
    variables_.insert(name.toLower(), value);
}

bool Report::HasVariable(const QString& name) const
{
    return variables_.contains(name.toLower());
}

QVariant Report::Variable(const QString& name) const
{
    return variables_.value(name.toLower());
}

QVariant Report::lookup(const QString& name, int row) const
{
    if (row != NoRow) {
        const int column = rows_.columnIndex(name);
        if (column >= 0)
            return rows_.value(row, column);
    }
    return Variable(name);
}

QString Report::renderLine(const ReportLine& line, int row) const
{
    QString out;
    for (const ReportSegment& s : line) {
        if (!s.isField) {
            out += s.text;
            continue;
        }
        QString value = valueText(lookup(s.text, row), s.format);
        value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        out += s.width > 0 ? PadText(value, s.width, s.leftAligned ? 1 : 0) : value;
    }
    // Printed as the text receipt prints it: what GBK cannot carry becomes
    // its look-alike or "?", as the widths above counted it.
    return GbkPrintable(out) + QLatin1Char('\n');
}

QString Report::RenderText() const
{
    QString out;
    for (const ReportLine& line : layout_.header())
        out += renderLine(line, NoRow);
    for (int row = 0; row < rows_.rowCount() && layout_.hasBand(); ++row)
        for (const ReportLine& line : layout_.band())
            out += renderLine(line, row);
    for (const ReportLine& line : layout_.footer())
        out += renderLine(line, NoRow);
    return out;
}

QString Report::RenderHtml() const
{
    return QStringLiteral("<html><body><pre style=\"font-family: '%1', monospace;\">%2</pre></body></html>")
        .arg(Font().family(), RenderText().toHtmlEscaped());
}

void Report::RenderDocument(QTextDocument& document) const
{
    document.setDefaultFont(Font());
    document.setDocumentMargin(0);
    document.setPlainText(RenderText());
}

QFont Report::Font()
{
    QFont font(QStringLiteral("WenQuanYi Micro Hei Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

} // namespace qiantai
