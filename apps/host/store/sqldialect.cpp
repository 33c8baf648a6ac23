#include "sqldialect.h"

#include <QList>

namespace qiantai::host {
namespace {

enum class Tok { Space, Word, Number, String, Ident, Comment, Punct };

struct Token {
    Tok kind;
    QString text;
};

bool IsWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Reads a '...' literal starting at `i` (on the opening quote); doubled
// quotes stay inside. Returns the index after the closing quote.
qsizetype ScanString(const QString& s, qsizetype i)
{
    ++i;
    while (i < s.size()) {
        if (s[i] == u'\'') {
            if (i + 1 < s.size() && s[i + 1] == u'\'') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

QList<Token> Tokenize(const QString& s)
{
    QList<Token> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            out.append({Tok::Space, s.mid(i, j - i)});
        } else if (c == u'-' && j < n && s[j] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            out.append({Tok::Comment, s.mid(i, j - i)});
        } else if (c == u'/' && j < n && s[j] == u'*') {
            const qsizetype end = s.indexOf(QStringLiteral("*/"), j + 1);
            j = end < 0 ? n : end + 2;
            out.append({Tok::Comment, s.mid(i, j - i)});
        } else if (c == u'\'') {
            j = ScanString(s, i);
            out.append({Tok::String, s.mid(i, j - i)});
        } else if ((c == u'N' || c == u'n') && j < n && s[j] == u'\'') {
            const qsizetype end = ScanString(s, j);
            out.append({Tok::String, s.mid(j, end - j)}); // N'..' is a plain literal here
            j = end;
        } else if (c == u'[') {
            const qsizetype end = s.indexOf(u']', j);
            j = end < 0 ? n : end + 1;
            out.append({Tok::Ident, s.mid(i + 1, (end < 0 ? n : end) - i - 1)});
        } else if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', j);
            j = end < 0 ? n : end + 1;
            out.append({Tok::Ident, s.mid(i, j - i)});
        } else if (IsWordStart(c)) {
            while (j < n && IsWordChar(s[j]))
                ++j;
            out.append({Tok::Word, s.mid(i, j - i)});
        } else if (c.isDigit() || (c == u'.' && j < n && s[j].isDigit())) {
            while (j < n && (s[j].isLetterOrNumber() || s[j] == u'.'))
                ++j;
            out.append({Tok::Number, s.mid(i, j - i)});
        } else {
            static const QStringList pairs = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("!="),
                                              QStringLiteral("||")};
            const QString two = s.mid(i, 2);
            if (pairs.contains(two))
                j = i + 2;
            out.append({Tok::Punct, s.mid(i, j - i)});
        }
        i = j;
    }
    return out;
}

bool Is(const Token& t, const char* word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsPunct(const Token& t, const char* p)
{
    return t.kind == Tok::Punct && t.text == QLatin1String(p);
}

// Index of the next (dir +1) or previous (dir -1) token that is not blank.
qsizetype Neighbour(const QList<Token>& t, qsizetype i, int dir)
{
    for (i += dir; i >= 0 && i < t.size(); i += dir)
        if (t[i].kind != Tok::Space && t[i].kind != Tok::Comment)
            return i;
    return -1;
}

bool IsOperand(const Token& t)
{
    return t.kind == Tok::Word || t.kind == Tok::String || t.kind == Tok::Ident || t.kind == Tok::Number ||
           IsPunct(t, ".") || IsPunct(t, ")") || IsPunct(t, "(");
}

QString NowExpression(SqlBackend backend)
{
    return backend == SqlBackend::Sqlite ? QStringLiteral("qt_getdate()")
                                         : QStringLiteral("LOCALTIMESTAMP(0)");
}

// '+' is text concatenation when a text literal stands on either side, and
// then also for the other '+' of the same chain of operands.
void RewriteConcatenation(QList<Token>& t)
{
    QList<qsizetype> plus;
    QList<bool> concat;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!IsPunct(t[i], "+"))
            continue;
        const qsizetype p = Neighbour(t, i, -1);
        const qsizetype q = Neighbour(t, i, +1);
        plus.append(i);
        concat.append((p >= 0 && t[p].kind == Tok::String) || (q >= 0 && t[q].kind == Tok::String));
    }
    // Two '+' belong to one chain when only operand tokens lie between them.
    auto sameChain = [&](qsizetype a, qsizetype b) {
        int depth = 0;
        for (qsizetype k = a + 1; k < b; ++k) {
            if (t[k].kind == Tok::Space || t[k].kind == Tok::Comment)
                continue;
            if (!IsOperand(t[k]))
                return false;
            if (IsPunct(t[k], "("))
                ++depth;
            if (IsPunct(t[k], ")"))
                --depth;
            if (t[k].kind == Tok::Word && depth == 0) {
                // keywords such as And/Like end a chain; column names go on
                static const QStringList stops = {QStringLiteral("and"),   QStringLiteral("or"),
                                                  QStringLiteral("like"),  QStringLiteral("from"),
                                                  QStringLiteral("where"), QStringLiteral("as"),
                                                  QStringLiteral("on"),    QStringLiteral("then"),
                                                  QStringLiteral("else"),  QStringLiteral("when")};
                if (stops.contains(t[k].text.toLower()))
                    return false;
            }
        }
        return depth == 0;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (qsizetype k = 0; k + 1 < plus.size(); ++k)
            if ((concat[k] || concat[k + 1]) && sameChain(plus[k], plus[k + 1]))
                concat[k] = concat[k + 1] = true;
    for (qsizetype k = 0; k < plus.size(); ++k)
        if (concat[k])
            t[plus[k]].text = QStringLiteral("||");
}

} // namespace

QString RewriteSql(const QString& sql, SqlBackend backend)
{
    QList<Token> t = Tokenize(sql);

    // DB2: "Values current timestamp"
    {
        const qsizetype a = Neighbour(t, -1, +1);
        const qsizetype b = a >= 0 ? Neighbour(t, a, +1) : -1;
        const qsizetype c = b >= 0 ? Neighbour(t, b, +1) : -1;
        if (c >= 0 && Is(t[a], "values") && Is(t[b], "current") && Is(t[c], "timestamp")) {
            t[a].text = QStringLiteral("Select");
            t[b].text = NowExpression(backend);
            t[c].text.clear();
        }
    }

    // Select Top n ... -> ... LIMIT n
    QString limit;
    {
        const qsizetype a = Neighbour(t, -1, +1);
        const qsizetype b = a >= 0 ? Neighbour(t, a, +1) : -1;
        const qsizetype c = b >= 0 ? Neighbour(t, b, +1) : -1;
        if (c >= 0 && Is(t[a], "select") && Is(t[b], "top") && t[c].kind == Tok::Number) {
            limit = t[c].text;
            t[b].text.clear();
            t[c].text.clear();
        }
    }

    for (qsizetype i = 0; i < t.size(); ++i) {
        Token& k = t[i];
        if (k.kind == Tok::Ident && !k.text.startsWith(u'"')) {
            k.kind = Tok::Word; // [name] -> name
            continue;
        }
        if (k.kind != Tok::Word)
            continue;
        const qsizetype next = Neighbour(t, i, +1);
        const bool call = next >= 0 && IsPunct(t[next], "(");
        if (call && Is(k, "isnull")) {
            k.text = QStringLiteral("COALESCE");
        } else if (call && Is(k, "getdate")) {
            const qsizetype close = Neighbour(t, next, +1);
            if (close >= 0 && IsPunct(t[close], ")")) {
                k.text = NowExpression(backend);
                for (qsizetype j = i + 1; j <= close; ++j)
                    t[j].text.clear();
            }
        } else if (Is(k, "like") && backend == SqlBackend::Postgres) {
            k.text = QStringLiteral("ILIKE");
        }
    }
    RewriteConcatenation(t);

    QString out;
    out.reserve(sql.size() + 16);
    for (const Token& k : t)
        out += k.text;
    if (!limit.isEmpty()) {
        while (!out.isEmpty() && (out.back().isSpace() || out.back() == u';'))
            out.chop(1);
        out += QStringLiteral(" LIMIT ") + limit;
    }
    return out;
}

QStringList SplitSqlScript(const QString& script)
{
    QStringList out;
    QString current;
    for (const Token& k : Tokenize(script)) {
        if (IsPunct(k, ";")) {
            if (!current.trimmed().isEmpty())
                out.append(current.trimmed());
            current.clear();
        } else if (k.kind != Tok::Comment) {
            current += k.kind == Tok::Ident && !k.text.startsWith(u'"')
                           ? QLatin1Char('[') + k.text + QLatin1Char(']')
                           : k.text;
        }
    }
    if (!current.trimmed().isEmpty())
        out.append(current.trimmed());
    return out;
}

} // namespace qiantai::host
