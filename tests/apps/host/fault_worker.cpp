// One till that records one fault-trial sale and kills itself with SIGKILL
// just before the store layer runs its K-th statement of the save.
//   apphost_fault_worker STORE CENTRE SALE NUMBER K      SALE: 0 store, 1 central
// Exits 3 when the save ran fewer than K statements (it then stored the
// sale), 1 when the save was refused.
#include "faultsales.h"

#include "store/storehost.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace qiantai::host;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 6)
        return 2;
    QString error;
    StoreHost* host =
        StoreHost::create(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), nullptr, &error);
    if (!host) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const auto sale = std::atoi(argv[3]) == 0 ? test::FaultSale::Store : test::FaultSale::Central;
    const int kill = std::atoi(argv[5]);
    int statements = 0;
    Database::setStatementHook([&](Database&, const QString&, QString*) {
        if (++statements == kill)
            std::raise(SIGKILL);
        return true;
    });
    QVariantList args = test::FaultSaleArgs(sale, QString::fromLatin1(argv[4]));
    const bool stored = host->invoke(test::FaultSaleDispId(sale), args).toBool();
    Database::setStatementHook({});
    host->release();
    if (!stored) {
        std::fprintf(stderr, "%s\n", args.last().toString().toLocal8Bit().constData());
        return 1;
    }
    return 3;
}
