// One till: opens the store and allocates document numbers as fast as it
// can, printing each on its own line.
//   apphost_allocate_worker STORE KIND COUNT     KIND: 901 or 902
#include "store/docnumbers.h"
#include "store/storehost.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QString error;
    qiantai::host::StoreHost* host =
        qiantai::host::StoreHost::create(QString::fromLocal8Bit(argv[1]), QString(), nullptr, &error);
    if (!host) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const int kind = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    int status = 0;
    for (int i = 0; i < count; ++i) {
        QVariantList args{QStringLiteral("0001"), QStringLiteral("王丽"), QStringLiteral("0101"), QVariant(),
                          QVariant()};
        if (!host->invoke(kind, args).toBool()) {
            std::fprintf(stderr, "%s\n", args[4].toString().toLocal8Bit().constData());
            status = 1;
            break;
        }
        std::printf("%s\n", args[3].toString().toLatin1().constData());
    }
    std::fflush(stdout);
    host->release();
    return status;
}
