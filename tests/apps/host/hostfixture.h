// A demo store host over temporary databases, on SQLite or on the private
// PostgreSQL server, with the clock fixed at 2024-06-15 10:30:00.
#pragma once

#include "pgserver.h"
#include "qstringprint.h"

#include "store/demodata.h"
#include "store/storehost.h"

#include "qiantai/datapacket.h"
#include "qiantai/dispids.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qiantai::host::test {

enum class Backend { Sqlite, Postgres };

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

class HostTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        clock_ = std::make_shared<FixedHostClock>(QDateTime(QDate(2024, 6, 15), QTime(10, 30, 0)));
        if (GetParam() == Backend::Postgres) {
            PgServer* pg = PgServer::instance();
            if (!pg)
                GTEST_SKIP() << "no PostgreSQL server binaries";
            storeUrl_ = pg->createDatabase();
            centreUrl_ = pg->createDatabase();
        } else {
            ASSERT_TRUE(dir_.isValid());
            storeUrl_ = dir_.filePath(QStringLiteral("store.db"));
            centreUrl_ = dir_.filePath(QStringLiteral("centre.db"));
        }
        QString error;
        host_ = StoreHost::create(storeUrl_, centreUrl_, clock_, &error);
        ASSERT_NE(host_, nullptr) << error.toStdString();
        if (withDemo_) {
            DemoOptions options;
            options.generatedProducts = 20;
            options.hashCost = HashCost::Minimal;
            ASSERT_TRUE(CreateDemoStore(host_->context(), options, &error)) << error.toStdString();
        }
    }
    void TearDown() override
    {
        if (host_)
            host_->release();
    }

    QVariant call(int dispId, QVariantList& args) { return host_->invoke(dispId, args); }

    // Runs a statement exactly as the module sends it; fails the test when
    // the host refuses.
    DataPacket query(const QString& sql)
    {
        QVariantList args{sql, QVariant()};
        const bool ok = call(dispid::OpenQuery, args).toBool();
        EXPECT_TRUE(ok) << sql.toStdString() << " -> " << args[1].toString().toStdString();
        return packetFromVariant(args[1]);
    }
    bool execute(const QString& sql, QString* message = nullptr)
    {
        QVariantList args{sql};
        const bool ok = call(dispid::ExecuteSql, args).toBool();
        if (message)
            *message = args[0].toString();
        return ok;
    }
    // A value read natively from the store.
    QVariant storeValue(const QString& sql, const QVariantList& binds = {})
    {
        QVariant v;
        bool found = false;
        QString error;
        EXPECT_TRUE(host_->store().scalar(sql, binds, &v, &found, &error)) << error.toStdString();
        return v;
    }
    QString allocate(int dispId = dispid::AllocateDocumentNumber,
                     const QString& group = QStringLiteral("0101"))
    {
        QVariantList args{QStringLiteral("0001"), QStringLiteral("王丽"), group, QVariant(), QVariant()};
        EXPECT_TRUE(call(dispId, args).toBool()) << args[4].toString().toStdString();
        return args[3].toString();
    }

    bool withDemo_ = true;
    QTemporaryDir dir_;
    QString storeUrl_, centreUrl_;
    std::shared_ptr<FixedHostClock> clock_;
    StoreHost* host_ = nullptr;
};

} // namespace qiantai::host::test
