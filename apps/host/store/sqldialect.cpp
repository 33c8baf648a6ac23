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

QString NowExpression(SqlBackend backend)
{
    return backend == SqlBackend::Sqlite ? QStringLiteral("qt_getdate()")
                                         : QStringLiteral("LOCALTIMESTAMP(0)");
}

// Reads the additive chains of a statement the way the server does (left to
// right, '*' '/' '%' binding tighter) and turns a '+' into '||' only when
// one of its own operands is text: a text literal, or what an earlier
// concatenation of the chain gave. An operand with operators of its own is
// parenthesised, since '||' binds tighter than '*' on SQLite and looser
// than '+' on PostgreSQL.
class Concatenation {
public:
    explicit Concatenation(QList<Token>& t) : t_(t)
    {
        for (qsizetype i = 0; i < t.size(); ++i)
            if (t[i].kind != Tok::Space && t[i].kind != Tok::Comment && !t[i].text.isEmpty())
                at_.append(i);
    }
    void rewrite()
    {
        qsizetype k = 0;
        while (k < at_.size())
            k = item(k);
    }

private:
    struct Operand {
        qsizetype end = 0; // index in at_ after the operand
        bool text = false;
        bool compound = false; // holds an operator outside parentheses
    };

    Token& tok(qsizetype k) { return t_[at_[k]]; }
    bool punct(qsizetype k, const char* p) { return k < at_.size() && IsPunct(tok(k), p); }

    static bool IsKeyword(const Token& t)
    {
        static const QStringList words = {
            QStringLiteral("select"),   QStringLiteral("from"),   QStringLiteral("where"),
            QStringLiteral("and"),      QStringLiteral("or"),     QStringLiteral("not"),
            QStringLiteral("like"),     QStringLiteral("in"),     QStringLiteral("is"),
            QStringLiteral("as"),       QStringLiteral("on"),     QStringLiteral("then"),
            QStringLiteral("else"),     QStringLiteral("when"),   QStringLiteral("case"),
            QStringLiteral("end"),      QStringLiteral("set"),    QStringLiteral("by"),
            QStringLiteral("order"),    QStringLiteral("group"),  QStringLiteral("having"),
            QStringLiteral("join"),     QStringLiteral("left"),   QStringLiteral("inner"),
            QStringLiteral("outer"),    QStringLiteral("union"),  QStringLiteral("all"),
            QStringLiteral("distinct"), QStringLiteral("values"), QStringLiteral("into"),
            QStringLiteral("update"),   QStringLiteral("delete"), QStringLiteral("insert"),
            QStringLiteral("between"),  QStringLiteral("exists"), QStringLiteral("top"),
            QStringLiteral("escape"),   QStringLiteral("asc"),    QStringLiteral("desc"),
            QStringLiteral("ilike")};
        return t.kind == Tok::Word && words.contains(t.text.toLower());
    }
    bool startsOperand(qsizetype k)
    {
        if (k >= at_.size())
            return false;
        const Token& x = tok(k);
        if (IsPunct(x, "("))
            return true;
        if (x.kind == Tok::Word)
            return !IsKeyword(x);
        return x.kind == Tok::String || x.kind == Tok::Ident || x.kind == Tok::Number;
    }

    // Everything up to the ')' that closes a group (or the end); the index
    // of that ')'. A group that is one chain tells whether it is text.
    qsizetype group(qsizetype k, bool* text)
    {
        *text = false;
        int chains = 0;
        while (k < at_.size() && !punct(k, ")")) {
            if (startsOperand(k)) {
                const Operand o = chain(k);
                *text = o.text;
                ++chains;
                k = o.end;
            } else {
                k = item(k);
            }
        }
        if (chains != 1)
            *text = false;
        return k;
    }
    // One token outside any chain; a stray '+' beside a literal (after
    // CASE ... END, say) still concatenates.
    qsizetype item(qsizetype k)
    {
        if (startsOperand(k))
            return chain(k).end;
        if (punct(k, "+") && ((k > 0 && tok(k - 1).kind == Tok::String) ||
                              (k + 1 < at_.size() && tok(k + 1).kind == Tok::String)))
            tok(k).text = QStringLiteral("||");
        return k + 1;
    }
    Operand primary(qsizetype k)
    {
        Operand o;
        o.end = k;
        if (!startsOperand(k))
            return o;
        if (punct(k, "(")) {
            bool text = false;
            const qsizetype close = group(k + 1, &text);
            o.end = close < at_.size() ? close + 1 : close;
            o.text = text;
            return o;
        }
        o.text = tok(k).kind == Tok::String;
        o.end = k + 1;
        if (tok(k).kind == Tok::Word && punct(o.end, "(")) { // a call
            bool ignored = false;
            const qsizetype close = group(o.end + 1, &ignored);
            o.end = close < at_.size() ? close + 1 : close;
            return o;
        }
        while (punct(o.end, ".") && o.end + 1 < at_.size() &&
               (tok(o.end + 1).kind == Tok::Word || tok(o.end + 1).kind == Tok::Ident)) {
            o.end += 2;
            o.text = false;
        }
        return o;
    }
    Operand term(qsizetype k)
    {
        Operand o = primary(k);
        while (o.end > k && (punct(o.end, "*") || punct(o.end, "/") || punct(o.end, "%"))) {
            const Operand next = primary(o.end + 1);
            if (next.end == o.end + 1)
                break;
            o.end = next.end;
            o.text = false;
            o.compound = true;
        }
        return o;
    }
    void parenthesise(qsizetype from, qsizetype to) // at_ indices [from, to)
    {
        tok(from).text.prepend(QLatin1Char('('));
        tok(to - 1).text.append(QLatin1Char(')'));
    }
    Operand chain(qsizetype k)
    {
        Operand acc = term(k);
        if (acc.end == k)
            return {k + 1, false, false};
        while (punct(acc.end, "+") || punct(acc.end, "-")) {
            const qsizetype op = acc.end;
            const Operand right = term(op + 1);
            if (right.end == op + 1)
                break;
            if (punct(op, "+") && (acc.text || right.text)) {
                if (acc.compound)
                    parenthesise(k, op);
                if (right.compound)
                    parenthesise(op + 1, right.end);
                tok(op).text = QStringLiteral("||");
                acc.text = true;
                acc.compound = false;
            } else {
                acc.text = false;
                acc.compound = true;
            }
            acc.end = right.end;
        }
        return acc;
    }

    QList<Token>& t_;
    QList<qsizetype> at_; // indices of the tokens that are not blank
};

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
    Concatenation(t).rewrite();

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
