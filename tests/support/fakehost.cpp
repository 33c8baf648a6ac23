#include "fakehost.h"

#include "qiantai/dispids.h"

#include <stdexcept>

namespace qiantai::test {

void FakeHost::answer(int dispId, int refIndex, QVariant value, bool result)
{
    on(dispId, [refIndex, value, result](QVariantList& args) {
        if (refIndex >= 0 && refIndex < args.size())
            args[refIndex] = value;
        return QVariant(result);
    });
}

void FakeHost::refuse(int dispId, QVariant message)
{
    on(dispId, [message](QVariantList& args) {
        if (!args.isEmpty())
            args.last() = message;
        return QVariant(false);
    });
}

void FakeHost::fail(int dispId, const QString& what)
{
    on(dispId, [what](QVariantList&) -> QVariant { throw std::runtime_error(what.toStdString()); });
}

QVariant FakeHost::invoke(int dispId, QVariantList& args)
{
    calls_.append({dispId, args, {}});
    const int index = int(calls_.size()) - 1;
    QVariant result(false);
    auto it = handlers_.find(dispId);
    if (it != handlers_.end()) {
        try {
            result = it.value()(args);
        } catch (...) {
            calls_[index].argsAfter = args;
            throw;
        }
    }
    calls_[index].argsAfter = args;
    return result;
}

QList<FakeHost::Call> FakeHost::callsTo(int dispId) const
{
    QList<Call> out;
    for (const auto& c : calls_)
        if (c.dispId == dispId)
            out.append(c);
    return out;
}

QList<int> FakeHost::dispIds() const
{
    QList<int> out;
    for (const auto& c : calls_)
        out.append(c.dispId);
    return out;
}

QStringList FakeHost::statements() const
{
    QStringList out;
    for (const auto& c : calls_)
        if ((c.dispId == dispid::OpenQuery || c.dispId == dispid::ExecuteSql ||
             c.dispId == dispid::OpenCentreQuery || c.dispId == dispid::ExecuteCentreSql) &&
            !c.args.isEmpty())
            out.append(c.args[0].toString());
    return out;
}

QString FakeHost::SqlShape(const QString& sql)
{
    QString shape;
    const qsizetype n = sql.size();
    auto isName = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; };
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        const bool national =
            (c == u'N' || c == u'n') && i + 1 < n && sql[i + 1] == u'\'' && (i == 0 || !isName(sql[i - 1]));
        if (c == u'\'' || national) {
            i += national ? 2 : 1;
            for (;;) {
                if (i >= n)
                    return shape + QStringLiteral("?!");
                if (sql[i] == u'\'' && i + 1 < n && sql[i + 1] == u'\'') {
                    i += 2;
                } else if (sql[i] == u'\'') {
                    ++i;
                    break;
                } else {
                    ++i;
                }
            }
            shape += u'?';
        } else if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            shape += u' ';
        } else if (c.isDigit() && (i == 0 || !isName(sql[i - 1]))) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            shape += u'#';
        } else if (isName(c)) {
            while (i < n && isName(sql[i]))
                shape += sql[i++];
        } else {
            shape += c;
            ++i;
        }
    }
    return shape;
}

DataPacket FakeHost::table(const QStringList& columns, const QList<QVariantList>& rows)
{
    DataPacket p;
    for (const auto& c : columns)
        p.addColumn(c, FieldType::Text);
    for (const auto& r : rows)
        p.appendRow(r);
    return p;
}

} // namespace qiantai::test
