// The module's own SQL statements, sent exactly as it writes them, on each
// backend over the demo store (accounting month 202406).
#include "hostfixture.h"

namespace qiantai::host::test {
namespace {

using StatementsTest = HostTest;

TEST_P(StatementsTest, ServerDateInBothDialects)
{
    for (const QString& sql :
         {QStringLiteral("Select GetDate() "), QStringLiteral("Values current timestamp "),
          QStringLiteral("select getdate() as f_Date")}) {
        const DataPacket p = query(sql);
        ASSERT_EQ(p.rowCount(), 1) << sql.toStdString();
        const QDateTime t = p.value(0, 0).toDateTime();
        ASSERT_TRUE(t.isValid()) << sql.toStdString();
        if (GetParam() == Backend::Sqlite) {
            EXPECT_EQ(t, QDateTime(QDate(2024, 6, 15), QTime(10, 30, 0)));
        }
    }
    EXPECT_TRUE(query(QStringLiteral("select getdate() as f_Date")).hasColumn(QStringLiteral("f_Date")));
}

TEST_P(StatementsTest, SystemParameterReadsOfStartUp)
{
    const struct {
        const char* key;
        const char* value;
    } keys[] = {{"CKQZWS", "0"}, {"CKHZWS", "0"}, {"JFJE", "1"}, {"FQEDJ", "1"}, {"XYKLX", "0"}};
    for (const auto& k : keys) {
        const DataPacket p = query(QStringLiteral("Select f_Csz From tbSysmsg Where Upper(f_Csmc) = '%1' ")
                                       .arg(QString::fromLatin1(k.key)));
        ASSERT_EQ(p.rowCount(), 1) << k.key;
        EXPECT_EQ(p.value(0, QStringLiteral("f_Csz")).toString(), QString::fromLatin1(k.value));
    }
    const DataPacket mode = query(QStringLiteral("SELECT * FROM tbSysMsg WHERE f_Csmc='xsxpdyfs'"));
    ASSERT_EQ(mode.rowCount(), 1);
    EXPECT_EQ(mode.value(0, QStringLiteral("F_CSZ")).toString(), QStringLiteral("0"));
}

TEST_P(StatementsTest, NumericSumsStayNumbersBesideAConcatenation)
{
    const DataPacket p = query(QStringLiteral("Select f_Xskz*2 + f_Flsp + ' units' As f_Text, 'code ' + "
                                              "f_Spbm As f_Code From tbSpda Where f_Spbm = '100001'"));
    ASSERT_EQ(p.rowCount(), 1);
    EXPECT_EQ(p.value(0, QStringLiteral("f_Text")).toString(), QStringLiteral("2 units"));
    EXPECT_EQ(p.value(0, QStringLiteral("f_Code")).toString(), QStringLiteral("code 100001"));
}

TEST_P(StatementsTest, UniqueIndexGuardCreatesTheIndexOnce)
{
    const QString look = QStringLiteral("Select 1 From Sysobjects Where name = 'tb202406_Xsmxzb_Unique'");
    EXPECT_EQ(query(look).rowCount(), 0);
    QString message;
    EXPECT_TRUE(execute(
        QStringLiteral("Create Unique Index tb202406_Xsmxzb_Unique On tb202406_Xsmxzb(f_Djh)"), &message))
        << message.toStdString();
    EXPECT_EQ(query(look).rowCount(), 1);
    // A second creation is refused with the database's text, not a crash.
    EXPECT_FALSE(execute(
        QStringLiteral("Create Unique Index tb202406_Xsmxzb_Unique On tb202406_Xsmxzb(f_Djh)"), &message));
    EXPECT_FALSE(message.isEmpty());
}

TEST_P(StatementsTest, DepartmentProductAndTradeStatusChecks)
{
    const QString mapping =
        QStringLiteral("Select * From tbBmspdz Where '%1' like f_Spbm + '%' And f_Bmbm = '%2' ");
    EXPECT_GE(query(mapping.arg(QStringLiteral("100001"), QStringLiteral("0101"))).rowCount(), 1);
    EXPECT_EQ(query(mapping.arg(QStringLiteral("300001"), QStringLiteral("0101"))).rowCount(), 0);
    EXPECT_EQ(query(mapping.arg(QStringLiteral("100001"), QStringLiteral("0199"))).rowCount(), 0);

    const QString status =
        QStringLiteral(" Select * From tbSpjyztda  Where f_Jyztbm = ( Select f_Jyztbm From tbLsdkz "
                       "Where f_Spbm = '%1' ) ");
    const DataPacket open = query(status.arg(QStringLiteral("100001")));
    ASSERT_EQ(open.rowCount(), 1);
    EXPECT_EQ(open.value(0, QStringLiteral("f_Yxxs")).toInt(), 1);
    const DataPacket stopped = query(status.arg(QStringLiteral("100007")));
    ASSERT_EQ(stopped.rowCount(), 1);
    EXPECT_EQ(stopped.value(0, QStringLiteral("f_Yxxs")).toInt(), 0);
    EXPECT_EQ(query(status.arg(QStringLiteral("999999"))).rowCount(), 0);
}

TEST_P(StatementsTest, CounterGroupAndWarehouseLookups)
{
    const QString group =
        QStringLiteral("Select f_Bmbm,f_Bmmc From tbBmda Where f_Bmbm Like '01%' And f_Bmbm = '%1' "
                       "And f_Bmbm <> '01' And f_Mj = 1 ");
    const DataPacket g = query(group.arg(QStringLiteral("0101")));
    ASSERT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.value(0, QStringLiteral("f_Bmmc")).toString(), QStringLiteral("彩电柜"));
    EXPECT_EQ(query(group.arg(QStringLiteral("01"))).rowCount(), 0);

    QVariantList args{QStringLiteral("Select f_Ckbm,f_Ckmc From tbCkda Where f_Ckbm = '01' "),
                      QStringLiteral("90")};
    ASSERT_TRUE(call(dispid::OpenCentreQuery, args).toBool()) << args[1].toString().toStdString();
    const DataPacket w = packetFromVariant(args[1]);
    ASSERT_EQ(w.rowCount(), 1);
    EXPECT_EQ(w.value(0, QStringLiteral("f_Ckmc")).toString(), QStringLiteral("配送中心一号仓"));
}

TEST_P(StatementsTest, CustomerAccountQueryJoinsTheMonthTotals)
{
    const QString sql = QStringLiteral(
        "Select A.f_Khbm,A.f_Khmc,IsNull(B.f_Qcye,0) f_Qcye,IsNull(B.f_Skje,0) f_Skje,IsNull(B.f_Sxje,0) "
        "f_Sxje From "
        "tbMdkhda A Left Join tb202406_mdkhwlyhj B On A.f_Khbm = B.f_Khbm Where A.f_Khbm = '%1' ");
    const DataPacket known = query(sql.arg(QStringLiteral("000001")));
    ASSERT_EQ(known.rowCount(), 1);
    EXPECT_DOUBLE_EQ(known.value(0, QStringLiteral("f_Qcye")).toDouble(), 10000.0);
    const DataPacket without = query(sql.arg(QStringLiteral("000002")));
    ASSERT_EQ(without.rowCount(), 1);
    EXPECT_DOUBLE_EQ(without.value(0, QStringLiteral("f_Qcye")).toDouble(), 0.0);
    EXPECT_FALSE(without.value(0, QStringLiteral("f_Sxje")).isNull());
    EXPECT_EQ(query(sql.arg(QStringLiteral("999999"))).rowCount(), 0);
}

TEST_P(StatementsTest, ReservationReleaseOnStoreAndCentre)
{
    const QString number = allocate();
    QVariantList offer{
        0,     QStringLiteral("01"), number,     2,          QStringLiteral("100005"), 1.0, 0.0,
        999.0, QVariant(),           QVariant(), QVariant(), QStringLiteral("0")};
    ASSERT_TRUE(call(dispid::QueryLimitedOffer, offer).toBool()) << offer[11].toString().toStdString();
    const QString base =
        QStringLiteral("Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '%1' ").arg(number);
    EXPECT_TRUE(execute(base + QStringLiteral("And f_Dnxh = 0")));
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tbXsxlqK")).toInt(), 1);
    EXPECT_TRUE(execute(base + QStringLiteral("And f_Dnxh = 2")));
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tbXsxlqK")).toInt(), 0);

    QVariantList centre{base, QStringLiteral("90")};
    EXPECT_TRUE(call(dispid::ExecuteCentreSql, centre).toBool()) << centre[1].toString().toStdString();
    QVariantList wrong{base, QStringLiteral("91")};
    EXPECT_FALSE(call(dispid::ExecuteCentreSql, wrong).toBool());
    EXPECT_TRUE(wrong[1].toString().contains(QStringLiteral("91")));
}

TEST_P(StatementsTest, FailingStatementIsRefusedWithTheDatabaseText)
{
    QVariantList args{QStringLiteral("Select * From tb209912_Xsmxzb"), QVariant()};
    EXPECT_FALSE(call(dispid::OpenQuery, args).toBool());
    EXPECT_TRUE(args[1].toString().startsWith(QStringLiteral("数据库执行出错：")))
        << args[1].toString().toStdString();
    QString message;
    EXPECT_FALSE(execute(QStringLiteral("Update tbNothing Set x = 1"), &message));
    EXPECT_FALSE(message.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, StatementsTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
