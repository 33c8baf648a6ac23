// Every statement of a save failing, or the till being killed there: the
// sale is stored whole or not at all, stock, the customer account and the
// centre agree with what is stored, and a retry of the same document then
// stores it once (after a kill: once the till has started again).
// QIANTAI_FAULT_STRIDE=n kills at every n-th statement only (CTest: 5;
// scripts/recording-trials: 1).
#include "faultsales.h"
#include "recordingfixture.h"

#include <QProcess>

#include <cstdio>

namespace qiantai::host::test {
namespace {

const char* SaleName(FaultSale s)
{
    return s == FaultSale::Store ? "store sale" : "central delivery";
}

class FaultTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        QString error;
        // Enough on the account for every trial's sale.
        ASSERT_TRUE(host_->store().exec(
            QStringLiteral("UPDATE tb202406_mdkhwlyhj SET f_Qcye = 10000000 WHERE f_Khbm = '000001'"), {},
            &error))
            << error.toStdString();
        for (const QString& p : products_) {
            stock_[p] = stock(p);
            centreStock_[p] =
                centreValue(
                    QStringLiteral(
                        "SELECT COALESCE(SUM(f_Kcsl), 0) FROM tbCkkc WHERE f_Ckbm = '01' AND f_Spbm = ?"),
                    {p})
                    .toDouble();
        }
        account_ = accountUsed();
    }
    void TearDown() override
    {
        Database::setStatementHook({});
        RecordingTest::TearDown();
    }

    QVariant centreValue(const QString& sql, const QVariantList& binds = {})
    {
        QVariant v;
        bool found = false;
        QString error;
        EXPECT_TRUE(host_->centre()->scalar(sql, binds, &v, &found, &error)) << error.toStdString();
        return v;
    }
    double accountUsed()
    {
        return storeValue(QStringLiteral("SELECT f_Sxje FROM tb202406_mdkhwlyhj WHERE f_Khbm = '000001'"))
            .toDouble();
    }
    int stored(FaultSale s, const QString& number)
    {
        return count(s == FaultSale::Store ? QStringLiteral("tb202406_Xsmxzb")
                                           : QStringLiteral("tb202406_Yxsmxzb"),
                     number);
    }
    double number(const QString& sql, const QVariantList& binds = {})
    {
        return storeValue(sql, binds).toDouble();
    }

    // What is stored, all documents together, against stock, the customer
    // account, the number log and the centre.
    void expectConsistent(const std::string& trial)
    {
        SCOPED_TRACE(trial);
        for (const QString& p : products_) {
            const double sold =
                number(
                    QStringLiteral("SELECT COALESCE(SUM(f_Xssl), 0) FROM tb202406_xsmxcb WHERE f_Spbm = ?"),
                    {p}) +
                number(QStringLiteral(
                           "SELECT COALESCE(SUM(c.f_Xssl), 0) FROM tb202406_Yxsmxcb c JOIN "
                           "tb202406_Yxsmxzb h ON h.f_Djh = c.f_Djh WHERE h.f_Xsfs <> 3 AND c.f_Spbm = ?"),
                       {p});
            EXPECT_DOUBLE_EQ(stock(p), stock_[p] - sold) << p.toStdString();
            const double ordered =
                centreValue(QStringLiteral("SELECT COALESCE(SUM(f_Sl), 0) FROM tbPsckmx WHERE f_Spbm = ?"),
                            {p})
                    .toDouble();
            const double delivered = number(
                QStringLiteral("SELECT COALESCE(SUM(c.f_Xssl), 0) FROM tb202406_Yxsmxcb c JOIN "
                               "tb202406_Yxsmxzb h ON h.f_Djh = c.f_Djh WHERE h.f_Xsfs = 3 AND c.f_Spbm = ?"),
                {p});
            EXPECT_DOUBLE_EQ(ordered, delivered) << p.toStdString();
            EXPECT_DOUBLE_EQ(
                centreValue(
                    QStringLiteral("SELECT COALESCE(SUM(f_Kcsl), 0) FROM tbCkkc WHERE f_Ckbm = '01' AND "
                                   "f_Spbm = ?"),
                    {p})
                    .toDouble(),
                centreStock_[p] - ordered)
                << p.toStdString();
        }
        EXPECT_DOUBLE_EQ(accountUsed(), account_ + number(QStringLiteral(
                                                       "SELECT COALESCE(SUM(f_Zfje), 0) FROM tb202406_Xszffs "
                                                       "WHERE f_Zffs = 7 AND f_Hykh = '000001'")));
        const int headers = number(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xsmxzb")) +
                            number(QStringLiteral("SELECT COUNT(*) FROM tb202406_Yxsmxzb"));
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM tbHostDjhLog WHERE f_Ny <> ''")), headers);
        EXPECT_EQ(
            number(QStringLiteral("SELECT COUNT(*) FROM tb202406_Xykmx c WHERE NOT EXISTS (SELECT 1 FROM "
                                  "tb202406_Xsmxzb h WHERE h.f_Djh = c.f_Djh)")),
            0);
        EXPECT_EQ(centreValue(QStringLiteral("SELECT COUNT(*) FROM tbPsckd")).toInt(),
                  number(QStringLiteral("SELECT COUNT(*) FROM tb202406_Yxsmxzb WHERE f_Xsfs = 3")));
        if (GetParam() == Backend::Sqlite) {
            EXPECT_EQ(storeValue(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            EXPECT_EQ(centreValue(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        }
    }
    // The retry after a trial stores the document exactly once.
    void expectRetryStoresOnce(FaultSale s, const QString& number, const std::string& trial)
    {
        QVariantList again = FaultSaleArgs(s, number);
        EXPECT_TRUE(save(again, FaultSaleDispId(s)))
            << trial << ": " << again.last().toString().toStdString();
        EXPECT_EQ(stored(s, number), 1) << trial;
        expectConsistent(trial + " and its retry");
    }

    const QStringList products_{QStringLiteral("100001"), QStringLiteral("100003")};
    QHash<QString, double> stock_, centreStock_;
    double account_ = 0;
};

TEST_P(FaultTest, AFailingStatementLeavesTheSaleWholeOrAbsent)
{
    for (FaultSale s : {FaultSale::Store, FaultSale::Central}) {
        int trials = 0;
        for (int k = 1;; ++k) {
            const QString n = allocate(FaultSaleNumberKind(s));
            int seen = 0;
            Database::setStatementHook([&](Database&, const QString& sql, QString* error) {
                if (++seen != k || sql.startsWith(QLatin1String("ROLLBACK")))
                    return true;
                *error = QStringLiteral("注入的故障");
                return false;
            });
            QVariantList args = FaultSaleArgs(s, n);
            const bool ok = save(args, FaultSaleDispId(s));
            Database::setStatementHook({});
            const std::string trial =
                std::string(SaleName(s)) + ", statement " + std::to_string(k) + " failing";
            EXPECT_EQ(ok, stored(s, n) == 1) << trial << ": " << args.last().toString().toStdString();
            expectConsistent(trial);
            expectRetryStoresOnce(s, n, trial);
            if (seen < k)
                break; // the save ran fewer statements: it was recorded untouched
            ++trials;
        }
        std::printf("[ trials   ] %s, %s: %d statements failed in turn\n",
                    BackendName({GetParam(), 0}).c_str(), SaleName(s), trials);
        EXPECT_GT(trials, 10);
    }
}

TEST_P(FaultTest, ATillKilledAtAStatementLeavesTheSaleWholeOrAbsent)
{
    const int step = qEnvironmentVariableIsSet("QIANTAI_FAULT_STRIDE")
                         ? std::max(1, qEnvironmentVariableIntValue("QIANTAI_FAULT_STRIDE"))
                         : 5;
    for (FaultSale s : {FaultSale::Store, FaultSale::Central}) {
        int kills = 0;
        for (int k = 1;; k += step) {
            const QString n = allocate(FaultSaleNumberKind(s));
            QProcess worker;
            worker.start(QStringLiteral(QIANTAI_FAULT_WORKER),
                         {storeUrl_, centreUrl_, QString::number(s == FaultSale::Store ? 0 : 1), n,
                          QString::number(k)});
            ASSERT_TRUE(worker.waitForFinished(60000));
            const std::string trial = std::string(SaleName(s)) + ", killed at statement " + std::to_string(k);
            const bool killed = worker.exitStatus() == QProcess::CrashExit;
            if (!killed) {
                ASSERT_EQ(worker.exitCode(), 3)
                    << trial << ": " << worker.readAllStandardError().toStdString();
            }
            // The till starts again.
            QString error;
            StoreHost* restarted = StoreHost::create(storeUrl_, centreUrl_, clock_, &error);
            ASSERT_NE(restarted, nullptr) << error.toStdString();
            restarted->release();
            EXPECT_LE(stored(s, n), 1) << trial;
            expectConsistent(trial);
            expectRetryStoresOnce(s, n, trial);
            if (!killed)
                break;
            ++kills;
        }
        std::printf("[ trials   ] %s, %s: killed at %d statements (every %d.)\n",
                    BackendName({GetParam(), 0}).c_str(), SaleName(s), kills, step);
        EXPECT_GT(kills, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, FaultTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
