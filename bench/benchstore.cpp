#include "benchstore.h"

#include "pgserver.h"

#include "store/demodata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace qiantai::bench {

int BenchProductCount(int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("QIANTAI_BENCH_PRODUCTS", &ok);
    return ok && n >= 0 ? n : fallback;
}

BenchStore::~BenchStore()
{
    if (host_)
        host_->release();
}

QString BenchStore::describe() const
{
    return QStringLiteral("%1, %2 generated products").arg(backend_).arg(products_);
}

bool BenchStore::create(const QString& store, const QString& centre, QString* error)
{
    host_ = host::StoreHost::create(store, centre, nullptr, error);
    if (!host_)
        return false;
    host::DemoOptions options;
    options.generatedProducts = products_;
    options.hashCost = host::HashCost::Minimal;
    QElapsedTimer took;
    took.start();
    if (!host::CreateDemoStore(host_->context(), options, error))
        return false;
    generationSeconds_ = double(took.nsecsElapsed()) / 1e9;
    return true;
}

std::unique_ptr<BenchStore> BenchStore::OpenSqlite(int products, QString* error)
{
    std::unique_ptr<BenchStore> s(new BenchStore);
    s->backend_ = QStringLiteral("sqlite");
    s->products_ = products;
    const QString kept = qEnvironmentVariable("QIANTAI_BENCH_DIR");
    if (kept.isEmpty()) {
        if (!s->dir_.isValid()) {
            *error = QStringLiteral("no temporary folder");
            return nullptr;
        }
        if (!s->create(s->dir_.filePath(QStringLiteral("store.db")),
                       s->dir_.filePath(QStringLiteral("centre.db")), error))
            return nullptr;
        return s;
    }
    const QDir dir(kept);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create ") + kept;
        return nullptr;
    }
    const QString store = dir.filePath(QStringLiteral("store-%1.db").arg(products));
    const QString centre = dir.filePath(QStringLiteral("store-%1-centre.db").arg(products));
    if (!QFile::exists(store)) {
        // Made under other names and renamed when complete: an interrupted
        // run leaves nothing that looks finished.
        const QString partStore = store + QStringLiteral(".part"),
                      partCentre = centre + QStringLiteral(".part");
        for (const QString& f : {partStore, partCentre})
            for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(f + suffix);
        if (!s->create(partStore, partCentre, error))
            return nullptr;
        const double seconds = s->generationSeconds_;
        s->host_->release();
        s->host_ = nullptr;
        if (!QFile::rename(partCentre, centre) || !QFile::rename(partStore, store)) {
            *error = QStringLiteral("cannot rename the generated store in ") + kept;
            return nullptr;
        }
        s->generationSeconds_ = seconds;
    }
    s->host_ = host::StoreHost::create(store, centre, nullptr, error);
    if (!s->host_)
        return nullptr;
    return s;
}

std::unique_ptr<BenchStore> BenchStore::OpenPostgres(int products, QString* error)
{
    host::test::PgServer* server = host::test::PgServer::instance();
    if (!server) {
        *error = QStringLiteral("no PostgreSQL server binaries");
        return nullptr;
    }
    std::unique_ptr<BenchStore> s(new BenchStore);
    s->backend_ = QStringLiteral("postgresql");
    s->products_ = products;
    if (!s->create(server->createDatabase(), server->createDatabase(), error))
        return nullptr;
    return s;
}

} // namespace qiantai::bench
