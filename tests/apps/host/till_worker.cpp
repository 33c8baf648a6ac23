// One till that records sales through the host boundary as fast as it can:
//   apphost_till_worker STORE COUNT SHARED
// SHARED 1: each sale is one unit of 100008 (stock checked first, as the
// sales screen does) paid on the account of customer 000001; 0: a cash
// sale of 100002. Prints "S number" for a stored sale, "R number text" for
// a refused one and "C number" when the stock check refused the line.
#include "salepackets.h"

#include "store/storehost.h"

#include "qiantai/dispids.h"

#include <QCoreApplication>

#include <cstdio>

using namespace qiantai;
using namespace qiantai::host;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QString error;
    StoreHost* host = StoreHost::create(QString::fromLocal8Bit(argv[1]), QString(), nullptr, &error);
    if (!host) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const int count = std::atoi(argv[2]);
    const bool shared = std::atoi(argv[3]) == 1;
    for (int i = 0; i < count; ++i) {
        QVariantList number{QStringLiteral("0001"), QStringLiteral("王丽"), QStringLiteral("0101"),
                            QVariant(), QVariant()};
        if (!host->invoke(dispid::AllocateDocumentNumber, number).toBool()) {
            std::fprintf(stderr, "%s\n", number[4].toString().toLocal8Bit().constData());
            return 1;
        }
        const QString n = number[3].toString();
        const QString product = shared ? QStringLiteral("100008") : QStringLiteral("100002");
        const double amount = shared ? 250 : 50;
        if (shared) {
            QVariantList check{product, QStringLiteral("0101"), 1.0, 0.0, QString(), QString(), QVariant()};
            if (!host->invoke(dispid::CheckStock, check).toBool()) {
                std::printf("C %s\n", qPrintable(n));
                continue;
            }
        }
        const QList<test::Pay> pay =
            shared ? QList<test::Pay>{{7, amount, QStringLiteral("000001"), QStringLiteral("000001")}}
                   : QList<test::Pay>{{0, amount}};
        QVariantList args =
            test::SaveSaleArgs(n, test::SaleLinesPacket({{product, 1, amount}}),
                               test::PaymentBundle(test::PaymentPacket(pay, amount), test::CardPacket()));
        if (host->invoke(dispid::SaveSale, args).toBool())
            std::printf("S %s\n", qPrintable(n));
        else
            std::printf("R %s %s\n", qPrintable(n), args.last().toString().toUtf8().constData());
    }
    std::fflush(stdout);
    host->release();
    return 0;
}
