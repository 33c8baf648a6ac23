#include "report/reporttemplate.h"

#include "report/numberformat.h"

#include <QRegularExpression>
#include <QStringList>

namespace qiantai {

namespace {

constexpr int MaxWidth = 200;

const QString BandKeyword = QStringLiteral("Band");
const QString EndBandKeyword = QStringLiteral("EndBand");

bool isKeyword(const QString& name)
{
    return name.compare(BandKeyword, Qt::CaseInsensitive) == 0 ||
           name.compare(EndBandKeyword, Qt::CaseInsensitive) == 0;
}

// "[Band]" or "[EndBand]" alone on a line (blanks around allowed).
bool isDirective(const QString& line, const QString& keyword)
{
    const QString t = line.trimmed();
    return t.size() == keyword.size() + 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')) &&
           t.mid(1, keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0;
}

// Parses the inside of "[...]" into a field; false with *error otherwise.
bool parseField(const QString& inside, ReportSegment* field, QString* error)
{
    static const QRegularExpression shape(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?::([^<>]*))?(?:([<>])(.*))?$"));
    const QRegularExpressionMatch m = shape.match(inside);
    if (!m.hasMatch()) {
        *error = QStringLiteral("无法识别的标记“[%1]”").arg(inside);
        return false;
    }
    field->isField = true;
    field->text = m.captured(1);
    if (isKeyword(field->text)) {
        *error = QStringLiteral("“[%1]”须单独成行").arg(inside);
        return false;
    }
    if (m.capturedStart(2) >= 0) {
        field->format = m.captured(2);
        if (!IsNumberFormat(field->format)) {
            *error = QStringLiteral("数字格式“%1”无效").arg(field->format);
            return false;
        }
    }
    if (m.capturedStart(3) >= 0) {
        bool ok = false;
        const QString widthText = m.captured(4);
        field->width = widthText.toInt(&ok);
        if (!ok || !widthText.front().isDigit() || field->width < 1 || field->width > MaxWidth) {
            *error = QStringLiteral("宽度“%1”无效").arg(widthText);
            return false;
        }
        field->leftAligned = m.captured(3) == QLatin1String("<");
    }
    return true;
}

bool parseLine(const QString& line, ReportLine* out, QString* error)
{
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty())
            out->append(ReportSegment{false, literal, {}, 0, false});
        literal.clear();
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c != QLatin1Char('[')) {
            literal += c;
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        const qsizetype close = line.indexOf(QLatin1Char(']'), i + 1);
        if (close < 0) {
            *error = QStringLiteral("“[”缺少对应的“]”");
            return false;
        }
        ReportSegment field;
        if (!parseField(line.mid(i + 1, close - i - 1), &field, error))
            return false;
        flush();
        out->append(field);
        i = close;
    }
    flush();
    return true;
}

QString lineError(int lineNo, const QString& what)
{
    return QStringLiteral("报表模板第%1行：%2").arg(lineNo).arg(what);
}

} // namespace

bool ReportTemplate::Parse(const QString& text, ReportTemplate* result, QString* error)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // the final line break ends the last line
    ReportTemplate t;
    enum { Header, InBand, Footer } part = Header;
    int bandLine = 0;
    QString what;
    auto fail = [&](int lineNo, const QString& message) {
        if (error)
            *error = lineError(lineNo, message);
        return false;
    };
    if (text.trimmed().isEmpty())
        return fail(1, QStringLiteral("模板为空"));
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        const int lineNo = n + 1;
        if (isDirective(line, BandKeyword)) {
            if (part != Header)
                return fail(lineNo, part == InBand ? QStringLiteral("“[Band]”不能嵌套")
                                                   : QStringLiteral("只能有一个“[Band]”"));
            part = InBand;
            bandLine = lineNo;
            t.hasBand_ = true;
            continue;
        }
        if (isDirective(line, EndBandKeyword)) {
            if (part != InBand)
                return fail(lineNo, QStringLiteral("“[EndBand]”前没有“[Band]”"));
            part = Footer;
            continue;
        }
        ReportLine parsed;
        if (!parseLine(line, &parsed, &what))
            return fail(lineNo, what);
        (part == Header ? t.header_ : part == InBand ? t.band_ : t.footer_).append(parsed);
    }
    if (part == InBand)
        return fail(bandLine, QStringLiteral("“[Band]”缺少对应的“[EndBand]”"));
    *result = std::move(t);
    return true;
}

} // namespace qiantai
