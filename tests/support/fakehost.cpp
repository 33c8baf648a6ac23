#include "fakehost.h"

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
