// The demo store the benchmarks run against: a store host over SQLite or a
// private PostgreSQL server, with a generated catalogue of a given size.
#pragma once

#include "store/storehost.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace qiantai::bench {

// Generated products of the benchmark stores: QIANTAI_BENCH_PRODUCTS, else
// `fallback`.
int BenchProductCount(int fallback);

class BenchStore {
public:
    ~BenchStore();
    BenchStore(const BenchStore&) = delete;
    BenchStore& operator=(const BenchStore&) = delete;

    // A SQLite demo store with `products` generated products. With
    // QIANTAI_BENCH_DIR set the files are kept there and a later run asking
    // for the same size opens them again; otherwise they live in a
    // temporary folder. Null with `error` set on failure.
    static std::unique_ptr<BenchStore> OpenSqlite(int products, QString* error);
    // The same on the private PostgreSQL server of the host tests, created
    // anew each run. Null with `error` set when no server can be started.
    static std::unique_ptr<BenchStore> OpenPostgres(int products, QString* error);

    host::StoreHost& host() { return *host_; }
    int products() const { return products_; }
    // Seconds the demo data took to create; negative when the store was reused.
    double generationSeconds() const { return generationSeconds_; }
    // "sqlite" or "postgresql" and the size, for messages.
    QString describe() const;

private:
    BenchStore() = default;
    bool create(const QString& store, const QString& centre, QString* error);

    QTemporaryDir dir_;
    host::StoreHost* host_ = nullptr;
    QString backend_;
    int products_ = 0;
    double generationSeconds_ = -1;
};

} // namespace qiantai::bench
