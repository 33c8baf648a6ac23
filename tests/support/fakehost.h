// An ICoorDisp for tests: one handler per DISPID and a log of every call.
#pragma once

#include "qiantai/coordisp.h"
#include "qiantai/datapacket.h"

#include <QHash>
#include <QStringList>

#include <functional>

namespace qiantai::test {

class FakeHost : public RefCountedCoorDisp {
public:
    using Handler = std::function<QVariant(QVariantList& args)>;

    struct Call {
        int dispId;
        QVariantList args;      // as passed in
        QVariantList argsAfter; // as written back by the handler
    };

    // Replaces the handler of `dispId`.
    void on(int dispId, Handler handler) { handlers_[dispId] = std::move(handler); }
    // Handler that writes `value` into argument `refIndex` and answers `result`.
    void answer(int dispId, int refIndex, QVariant value, bool result = true);
    // Handler that refuses with `message` written into the last argument.
    void refuse(int dispId, QVariant message);
    // Handler that throws std::runtime_error(`what`).
    void fail(int dispId, const QString& what);

    QVariant invoke(int dispId, QVariantList& args) override;

    const QList<Call>& calls() const { return calls_; }
    QList<Call> callsTo(int dispId) const;
    int count(int dispId) const { return int(callsTo(dispId).size()); }
    QList<int> dispIds() const;
    void clearLog() { calls_.clear(); }

    // SQL text sent through OpenQuery, ExecuteSql, OpenCentreQuery and
    // ExecuteCentreSql, in order.
    QStringList statements() const;

    // The structure of a statement: each quoted literal ('..' with ''
    // escapes, N'..') becomes ?, each number outside a name #, each run of
    // blanks one blank; an unterminated literal leaves ?! at the end. A typed
    // value that reaches the statement only inside one literal leaves its
    // shape as any other value does.
    static QString SqlShape(const QString& sql);

    // A packet of text columns filled with `rows`.
    static DataPacket table(const QStringList& columns, const QList<QVariantList>& rows = {});

private:
    QHash<int, Handler> handlers_;
    QList<Call> calls_;
};

} // namespace qiantai::test
