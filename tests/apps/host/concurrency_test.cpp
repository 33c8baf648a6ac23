// Several tills allocating document numbers at the same moment, as separate
// processes on one store.
#include "hostfixture.h"

#include <QProcess>
#include <QSet>

namespace qiantai::host::test {
namespace {

using ConcurrencyTest = HostTest;

TEST_P(ConcurrencyTest, TillsNeverGetTheSameNumber)
{
    constexpr int tills = 4, each = 40;
    for (int kind : {dispid::AllocateDocumentNumber, dispid::AllocateDeliveryDocumentNumber}) {
        QList<QProcess*> workers;
        for (int i = 0; i < tills; ++i) {
            auto* p = new QProcess;
            p->start(QStringLiteral(QIANTAI_ALLOCATE_WORKER),
                     {storeUrl_, QString::number(kind), QString::number(each)});
            workers.append(p);
        }
        QSet<QString> numbers;
        int total = 0;
        for (QProcess* p : workers) {
            ASSERT_TRUE(p->waitForFinished(120000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            for (const QByteArray& line : p->readAllStandardOutput().split('\n')) {
                if (line.isEmpty())
                    continue;
                const QString n = QString::fromLatin1(line);
                EXPECT_EQ(n.size(), kind == dispid::AllocateDocumentNumber ? 10 : 12) << line.toStdString();
                numbers.insert(n);
                ++total;
            }
            delete p;
        }
        EXPECT_EQ(total, tills * each);
        EXPECT_EQ(numbers.size(), total) << "a number was handed out twice";
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ConcurrencyTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
