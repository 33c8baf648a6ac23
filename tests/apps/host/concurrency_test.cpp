// Several tills allocating document numbers, and recording sales, at the
// same moment, as separate processes on one store.
#include "hostfixture.h"

#include "base/money.h"

#include <QProcess>
#include <QSet>

#include <cstdio>

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

// Eight tills record sale after sale; four of them sell the last units of
// 100008 on the account of one customer. QIANTAI_TILL_SALES sales per till
// (CTest 12; scripts/recording-trials 200).
using TillsTest = HostTest;

TEST_P(TillsTest, EverySaleIsStoredOnceAndTheSharedAccountNeverGoesBelowZero)
{
    const int each = qEnvironmentVariableIsSet("QIANTAI_TILL_SALES")
                         ? std::max(1, qEnvironmentVariableIntValue("QIANTAI_TILL_SALES"))
                         : 12;
    constexpr int tills = 8;
    // First the last units of 100008 run out while the account still pays
    // (20 sales take half of it), then the account runs dry while there is
    // stock.
    const int rounds[] = {std::min(each, 20), 1000000};
    const double opening =
        storeValue(
            QStringLiteral("SELECT f_Qcye + f_Skje - f_Sxje FROM tb202406_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble();
    auto contestedSold = [&] {
        return storeValue(QStringLiteral(
                              "SELECT COALESCE(SUM(f_Xssl), 0) FROM tb202406_xsmxcb WHERE f_Spbm = '100008'"))
            .toDouble();
    };
    QSet<QString> numbers, stored;
    int refused = 0, stockRefused = 0, bookingRefused = 0, lines = 0;
    double contested = 0;
    for (const int units : rounds) {
        QString error;
        ASSERT_TRUE(host_->store().exec(
            QStringLiteral("UPDATE tbGzkc SET f_Kcsl = ? WHERE f_Gzbm = '0101' AND f_Spbm = '100008'"),
            {units}, &error))
            << error.toStdString();
        const double soldBefore = contestedSold();
        QList<QProcess*> workers;
        for (int i = 0; i < tills; ++i) {
            auto* p = new QProcess;
            p->start(QStringLiteral(QIANTAI_TILL_WORKER),
                     {storeUrl_, QString::number(each), QString::number(i % 2)});
            workers.append(p);
        }
        for (QProcess* p : workers) {
            ASSERT_TRUE(p->waitForFinished(300000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            for (const QByteArray& line : p->readAllStandardOutput().split('\n')) {
                if (line.size() < 3)
                    continue;
                ++lines;
                const QString n = QString::fromUtf8(line.mid(2)).section(QLatin1Char(' '), 0, 0);
                EXPECT_FALSE(numbers.contains(n)) << "number handed out twice: " << n.toStdString();
                numbers.insert(n);
                if (line.startsWith("S "))
                    stored.insert(n);
                else if (line.startsWith("C "))
                    ++stockRefused;
                else if (line.contains("库存不足"))
                    ++bookingRefused; // sold out between the check and the booking
                else {
                    ++refused;
                    EXPECT_TRUE(line.contains("余额不足")) << line.toStdString();
                }
            }
            delete p;
        }
        contested = storeValue(QStringLiteral(
                                   "SELECT f_Kcsl FROM tbGzkc WHERE f_Gzbm = '0101' AND f_Spbm = '100008'"))
                        .toDouble();
        EXPECT_DOUBLE_EQ(contested, units - (contestedSold() - soldBefore));
        EXPECT_GE(contested, 0) << "stock below what the stock check allows";
    }
    EXPECT_EQ(lines, tills * each * int(std::size(rounds)));
    const int headers = storeValue(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xsmxzb")).toInt();
    EXPECT_EQ(headers, stored.size()) << "a sale stored but reported refused, or the reverse";
    for (const QString& n : stored)
        ASSERT_EQ(
            storeValue(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xsmxzb WHERE f_Djh = ?"), {n}).toInt(),
            1)
            << n.toStdString();
    const double balance =
        storeValue(
            QStringLiteral("SELECT f_Qcye + f_Skje - f_Sxje FROM tb202406_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble();
    EXPECT_GE(balance, -qiantai::MoneyEpsilon);
    const double charged =
        storeValue(QStringLiteral("SELECT COALESCE(SUM(f_Zfje), 0) FROM tb202406_Xszffs WHERE "
                                  "f_Zffs = 7 AND f_Hykh = '000001'"))
            .toDouble();
    EXPECT_NEAR(opening - balance, charged, qiantai::MoneyEpsilon);
    // Headers, lines and payments tell the same totals.
    const double sold =
        storeValue(QStringLiteral("SELECT COALESCE(SUM(f_Xsje), 0) FROM tb202406_Xsmxzb")).toDouble();
    EXPECT_NEAR(sold,
                storeValue(QStringLiteral("SELECT COALESCE(SUM(f_Ssje), 0) FROM tb202406_xsmxcb")).toDouble(),
                0.01);
    EXPECT_NEAR(
        storeValue(QStringLiteral("SELECT COALESCE(SUM(f_Djje), 0) FROM tb202406_Xsmxzb")).toDouble(),
        storeValue(QStringLiteral("SELECT COALESCE(SUM(CASE WHEN f_Zffs = -1 THEN -f_Zfje ELSE f_Zfje END), "
                                  "0) FROM tb202406_Xszffs"))
            .toDouble(),
        0.01);
    std::printf(
        "[ tills    ] %d tills x %d sales x 2 rounds: %d stored, %d refused on the account, %d refused by "
        "the stock "
        "check, %d at the booking, 0 numbers twice; account %.2f of %.2f left; 100008 stock %.0f left\n",
        tills, each, int(stored.size()), refused, stockRefused, bookingRefused, balance, opening, contested);
}

INSTANTIATE_TEST_SUITE_P(Backends, TillsTest, ::testing::Values(Backend::Postgres), BackendName);

} // namespace
} // namespace qiantai::host::test
