// Each host operation's main path and refusals over the demo store.
#include "hostfixture.h"
#include "salepackets.h"

namespace qiantai::host::test {
namespace {

using OperationsTest = HostTest;

TEST_P(OperationsTest, DatesAndDatabaseType)
{
    QVariantList ym{QVariant()}, d{QVariant()}, dt{QVariant()}, none;
    ASSERT_TRUE(call(dispid::GetCurrentYearMonth, ym).toBool());
    EXPECT_EQ(ym[0].toString(), QStringLiteral("202406"));
    ASSERT_TRUE(call(dispid::GetCurrentDate, d).toBool());
    EXPECT_EQ(d[0].toString(), QStringLiteral("20240615"));
    ASSERT_TRUE(call(dispid::GetCurrentDateTime, dt).toBool());
    EXPECT_EQ(dt[0].toString(), QStringLiteral("2024-06-15 10:30:00"));
    EXPECT_EQ(call(dispid::GetDatabaseType, none).toString(), QStringLiteral("SQLSERVER"));
}

TEST_P(OperationsTest, PasswordsAreHashedAndVerified)
{
    const struct {
        const char* code;
        const char* password;
        bool ok;
        const char* refusal;
    } cases[] = {
        {"0001", "0001", true, ""},
        {" 0002", "0002", true, ""},
        {"0001", "0002", false, "密码不正确"},
        {"0001", "", false, "密码不正确"},
        {"9999", "9999", false, "不存在"},
        {"1009", "1009", false, "已停用"},
    };
    for (const auto& c : cases) {
        QVariantList args{QString::fromLatin1(c.code), QString::fromLatin1(c.password), QVariant()};
        EXPECT_EQ(call(dispid::VerifyPassword, args).toBool(), c.ok) << c.code << "/" << c.password;
        if (!c.ok) {
            EXPECT_TRUE(args[2].toString().contains(QString::fromUtf8(c.refusal)))
                << args[2].toString().toStdString();
        }
    }
    const QString hash =
        storeValue(QStringLiteral("SELECT f_Mmhx FROM tbZyda WHERE f_Zybm = '0001'")).toString();
    EXPECT_TRUE(hash.startsWith(QStringLiteral("$argon2id$"))) << hash.toStdString();
}

TEST_P(OperationsTest, RightsOfSupervisorAndCashier)
{
    const struct {
        const char* code;
        const char* right;
        bool has;
    } cases[] = {{"0002", "9907", true},  {"0002 ", "9912", true}, {"0001", "9907", false},
                 {"0001", "9912", false}, {"0002", "9999", false}, {"9999", "9907", false}};
    for (const auto& c : cases) {
        QVariantList args{QString::fromLatin1(c.code), QString::fromLatin1(c.right)};
        EXPECT_EQ(call(dispid::CheckPermission, args).toBool(), c.has) << c.code << " " << c.right;
    }
}

TEST_P(OperationsTest, EmployeeLookups)
{
    QVariantList sales{QStringLiteral("1001"), QVariant(), QVariant(), QVariant()};
    ASSERT_TRUE(call(dispid::LookupEmployee, sales).toBool());
    EXPECT_EQ(sales[1].toString(), QStringLiteral("李明"));
    EXPECT_EQ(sales[2].toString(), QStringLiteral("3"));
    EXPECT_EQ(sales[3], QVariant(1));
    QVariantList inactive{QStringLiteral("1009"), QVariant(), QVariant(), QVariant()};
    ASSERT_TRUE(call(dispid::LookupEmployee, inactive).toBool());
    EXPECT_EQ(inactive[3], QVariant(0));
    QVariantList unknown{QStringLiteral("8888"), QVariant(), QVariant(), QVariant()};
    EXPECT_FALSE(call(dispid::LookupEmployee, unknown).toBool());
    EXPECT_TRUE(unknown[3].toString().contains(QStringLiteral("8888")));

    QVariantList record{1, QStringLiteral("0001")};
    ASSERT_TRUE(call(dispid::LookupByCode, record).toBool());
    const DataPacket p = packetFromVariant(record[1]);
    ASSERT_EQ(p.rowCount(), 1);
    EXPECT_EQ(p.value(0, QStringLiteral("f_zymc")).toString(), QStringLiteral("王丽"));
    EXPECT_FALSE(p.hasColumn(QStringLiteral("f_Mmhx")));

    QVariantList tag{QStringLiteral("0001"), QVariant()};
    ASSERT_TRUE(call(dispid::GetOperatorInfo, tag).toBool());
    EXPECT_EQ(tag[1].toString(), QStringLiteral("20240615-0001"));
    QVariantList noTag{QStringLiteral("1009"), QVariant()};
    EXPECT_FALSE(call(dispid::GetOperatorInfo, noTag).toBool());
    EXPECT_TRUE(noTag[1].toString().contains(QStringLiteral("停用")));
}

TEST_P(OperationsTest, DepartmentCentreParametersAndTemplates)
{
    QVariantList dept{1, QStringLiteral("01")};
    ASSERT_TRUE(call(dispid::LookupRecord, dept).toBool());
    EXPECT_EQ(packetFromVariant(dept[1]).value(0, QStringLiteral("f_Bmmc")).toString(),
              QStringLiteral("电器连锁一号门店"));
    QVariantList noDept{1, QStringLiteral("77")};
    EXPECT_FALSE(call(dispid::LookupRecord, noDept).toBool());
    EXPECT_TRUE(noDept[1].toString().contains(QStringLiteral("77")));

    QVariantList centre{QStringLiteral("01"), QVariant(), QVariant()};
    ASSERT_TRUE(call(dispid::GetDistributionCentre, centre).toBool());
    EXPECT_EQ(centre[1].toString(), QStringLiteral("90"));
    QVariantList noCentre{QStringLiteral("77"), QVariant(), QVariant()};
    EXPECT_FALSE(call(dispid::GetDistributionCentre, noCentre).toBool());

    QVariantList params{QVariant()};
    ASSERT_TRUE(call(dispid::GetSystemParameters, params).toBool());
    const DataPacket sys = packetFromVariant(params[0]);
    QHash<QString, QString> values;
    for (int r = 0; r < sys.rowCount(); ++r)
        values[sys.value(r, QStringLiteral("f_Csmc")).toString()] =
            sys.value(r, QStringLiteral("f_Csz")).toString();
    EXPECT_EQ(values.value(QStringLiteral("dwlx")), QStringLiteral("11"));
    EXPECT_EQ(values.value(QStringLiteral("dybm")), QStringLiteral("01"));
    EXPECT_EQ(values.value(QStringLiteral("qyny")), QStringLiteral("202406"));
    EXPECT_EQ(values.value(QStringLiteral("yckqzj")), QStringLiteral("127.0.0.1:8529"));
    EXPECT_EQ(values.value(QStringLiteral("sjkbbh")), QStringLiteral("1.0"));

    for (const QString& category : {QStringLiteral("销货单"), QStringLiteral("销货退单")}) {
        QVariantList t{category, QVariant()};
        ASSERT_TRUE(call(dispid::GetReportTemplates, t).toBool());
        const DataPacket p = packetFromVariant(t[1]);
        ASSERT_EQ(p.rowCount(), 1);
        EXPECT_EQ(p.value(0, QStringLiteral("f_reportname")).toString(), category);
        EXPECT_TRUE(p.value(0, QStringLiteral("f_reportinfo")).toString().contains(QStringLiteral("[Band]")));
    }
    QVariantList none{QStringLiteral("盘点单"), QVariant()};
    ASSERT_TRUE(call(dispid::GetReportTemplates, none).toBool());
    EXPECT_EQ(packetFromVariant(none[1]).rowCount(), 0);
}

TEST_P(OperationsTest, ProductLookupByCodeItemNumberAndBarCode)
{
    QVariantList prep{QVariant()};
    EXPECT_TRUE(call(dispid::PrepareProductLookup, prep).toBool());
    const struct {
        const char* typed;
        QStringList codes;
    } cases[] = {{"100001", {QStringLiteral("100001")}},
                 {"TV55A1", {QStringLiteral("100001")}},
                 {"6901234567014", {QStringLiteral("100001")}},
                 {" 100001 ", {QStringLiteral("100001")}},
                 {"6901234567892", {QStringLiteral("100003"), QStringLiteral("100004")}}};
    for (const auto& c : cases) {
        QVariantList args{QString::fromLatin1(c.typed), QVariant(), QVariant()};
        ASSERT_TRUE(call(dispid::LookupProduct, args).toBool()) << c.typed;
        const DataPacket p = packetFromVariant(args[1]);
        QStringList codes;
        for (int r = 0; r < p.rowCount(); ++r)
            codes.append(p.value(r, QStringLiteral("f_Spbm")).toString());
        EXPECT_EQ(codes, c.codes) << c.typed;
    }
    QVariantList one{QStringLiteral("100001"), QVariant(), QVariant()};
    call(dispid::LookupProduct, one);
    const DataPacket p = packetFromVariant(one[1]);
    EXPECT_DOUBLE_EQ(p.value(0, QStringLiteral("f_xsdj")).toDouble(), 2999.0);
    EXPECT_DOUBLE_EQ(p.value(0, QStringLiteral("f_zdsj")).toDouble(), 2700.0);
    EXPECT_DOUBLE_EQ(p.value(0, QStringLiteral("f_zhjj")).toDouble(), 2200.0);
    EXPECT_DOUBLE_EQ(p.value(0, QStringLiteral("f_xxsl")).toDouble(), 17.0);
    EXPECT_EQ(p.value(0, QStringLiteral("f_xskz")).toInt(), 1);
    for (const char* col :
         {"f_sphh", "f_spmc", "f_sptm", "f_spcd", "f_ggxh", "f_jldw", "f_dwbl", "f_yxjj", "f_flsp"})
        EXPECT_TRUE(p.hasColumn(QString::fromLatin1(col))) << col;

    for (const QString& bad :
         {QStringLiteral("999999"), QStringLiteral("  "), QStringLiteral("1' OR '1'='1")}) {
        QVariantList args{bad, QVariant(), QVariant()};
        EXPECT_FALSE(call(dispid::LookupProduct, args).toBool()) << bad.toStdString();
        EXPECT_FALSE(args[2].toString().isEmpty());
    }
}

TEST_P(OperationsTest, StockChecksCountTheOtherLines)
{
    const struct {
        const char* product;
        const char* group;
        double q, other;
        bool ok;
    } cases[] = {
        {"100001", "0101", 20, 0, true}, {"100001", "0101", 1, 20, false}, {"100001", "0102", 1, 0, false},
        {"100001", "01", 20, 0, true},   {"100008", "0101", 1, 0, true},   {"100008", "0101", 2, 0, false},
        {"100006", "0101", 5, 0, true}, // sold-then-purchased: no stock needed
    };
    for (const auto& c : cases) {
        QVariantList args{QString::fromLatin1(c.product), QString::fromLatin1(c.group), c.q,       c.other,
                          QStringLiteral("202406"),       QStringLiteral("202406"),     QVariant()};
        EXPECT_EQ(call(dispid::CheckStock, args).toBool(), c.ok) << c.product << " " << c.group << " " << c.q;
        if (!c.ok) {
            EXPECT_TRUE(args[6].toString().contains(QStringLiteral("库存不足")))
                << args[6].toString().toStdString();
        }
    }
    const struct {
        const char* centre;
        const char* warehouse;
        double q, other;
        bool ok;
    } delivery[] = {{"90", "01", 100, 0, true},
                    {"90", "01", 1, 100, false},
                    {"90", "", 110, 0, true},
                    {"90", "02", 11, 0, false},
                    {"91", "01", 1, 0, false}};
    for (const auto& c : delivery) {
        QVariantList args{QStringLiteral("100001"),
                          QStringLiteral("01"),
                          QString::fromLatin1(c.centre),
                          QString::fromLatin1(c.warehouse),
                          QStringLiteral("202406"),
                          c.q,
                          c.other,
                          QVariant()};
        EXPECT_EQ(call(dispid::CheckDeliveryStock, args).toBool(), c.ok)
            << c.centre << " " << c.warehouse << c.q;
        if (!c.ok) {
            EXPECT_FALSE(args[7].toString().isEmpty());
        }
    }
}

TEST_P(OperationsTest, LimitedOfferReservesItsQuantity)
{
    const QString a = allocate(), b = allocate();
    auto offer = [&](const QString& doc, int line, double q, double other, const char* mode,
                     QVariantList* out) {
        *out = {0,     QStringLiteral("01"), doc,        line,       QStringLiteral("100005"), q, other,
                999.0, QVariant(),           QVariant(), QVariant(), QString::fromLatin1(mode)};
        return call(dispid::QueryLimitedOffer, *out).toBool();
    };
    QVariantList r;
    ASSERT_TRUE(offer(a, 0, 1, 0, "0", &r)) << r[11].toString().toStdString();
    EXPECT_DOUBLE_EQ(r[9].toDouble(), 899.0);
    EXPECT_DOUBLE_EQ(r[10].toDouble(), 100.0);
    EXPECT_FALSE(offer(b, 0, 3, 0, "0", &r)); // only 2 left
    EXPECT_TRUE(r[11].toString().contains(QStringLiteral("剩余2"))) << r[11].toString().toStdString();
    EXPECT_TRUE(offer(a, 0, 3, 0, "1", &r))
        << r[11].toString().toStdString(); // the line's own reservation is replaced
    EXPECT_FALSE(offer(b, 0, 1, 0, "2", &r));
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tbXsxlqK WHERE f_Djh = ?"), {b}).toInt(), 0);
    ASSERT_TRUE(
        execute(QStringLiteral("Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '%1' ").arg(a)));
    EXPECT_TRUE(offer(b, 1, 1, 2, "2", &r)) << r[11].toString().toStdString(); // checks, reserves nothing
    EXPECT_EQ(storeValue(QStringLiteral("SELECT COUNT(*) FROM tbXsxlqK WHERE f_Djh = ?"), {b}).toInt(), 0);

    QVariantList none{
        0,      QStringLiteral("01"), a,          0,          QStringLiteral("100001"), 1.0, 0.0,
        2999.0, QVariant(),           QVariant(), QVariant(), QStringLiteral("0")};
    EXPECT_FALSE(call(dispid::QueryLimitedOffer, none).toBool());
    EXPECT_TRUE(none[11].toString().contains(QStringLiteral("没有限时限量")));
}

TEST_P(OperationsTest, DocumentNumbers)
{
    const QString s1 = allocate(), s2 = allocate();
    EXPECT_EQ(s1.size(), 10);
    EXPECT_NE(s1, s2);
    EXPECT_EQ(s2.toLongLong(), s1.toLongLong() + 1);
    const QString p1 = allocate(dispid::AllocateDeliveryDocumentNumber);
    EXPECT_TRUE(p1.startsWith(QStringLiteral("202406")));
    EXPECT_EQ(p1.size(), 12);

    QVariantList noGroup{QStringLiteral("0001"), QStringLiteral("王丽"), QStringLiteral("0199"), QVariant(),
                         QVariant()};
    EXPECT_FALSE(call(dispid::AllocateDocumentNumber, noGroup).toBool());
    EXPECT_TRUE(noGroup[4].toString().contains(QStringLiteral("0199")));
    QVariantList inactive{QStringLiteral("1009"), QStringLiteral("陈刚"), QStringLiteral("0101"), QVariant(),
                          QVariant()};
    EXPECT_FALSE(call(dispid::AllocateDocumentNumber, inactive).toBool());
    EXPECT_TRUE(inactive[4].toString().contains(QStringLiteral("停用")));
}

TEST_P(OperationsTest, CardConsumptionSerialsAreUnique)
{
    const QVariantList bank{QStringLiteral("2"),
                            QStringLiteral("01"),
                            QStringLiteral("0000000001"),
                            QStringLiteral("00"),
                            QStringLiteral("6222****1234"),
                            QStringLiteral("12345"),
                            QStringLiteral("103000"),
                            QStringLiteral("0615"),
                            QString(),
                            QString(),
                            QString()};
    QVariantList a{bank, QVariant()}, b{bank, QVariant()};
    ASSERT_TRUE(call(dispid::RecordCardConsumption, a).toBool()) << a[1].toString().toStdString();
    ASSERT_TRUE(call(dispid::RecordCardConsumption, b).toBool());
    EXPECT_EQ(a[1].toString(), QStringLiteral("20240615000001"));
    EXPECT_NE(a[1], b[1]);
    QVariantList welfare{QVariantList{QStringLiteral("3"), QStringLiteral("01"), QStringLiteral("0000000001"),
                                      QStringLiteral("PCA"), QStringLiteral("FL001"), 10000,
                                      QStringLiteral("103000"), QStringLiteral("0615"), QString(), QString(),
                                      QString()},
                         QVariant()};
    EXPECT_TRUE(call(dispid::RecordCardConsumption, welfare).toBool());
    QVariantList wrongType{QVariantList{QStringLiteral("0"), QStringLiteral("01"), QStringLiteral("1"),
                                        QString(), QString(), QString(), QString(), QString()},
                           QVariant()};
    EXPECT_FALSE(call(dispid::RecordCardConsumption, wrongType).toBool());
    QVariantList tooShort{QVariantList{QStringLiteral("2")}, QVariant()};
    EXPECT_FALSE(call(dispid::RecordCardConsumption, tooShort).toBool());
    EXPECT_FALSE(tooShort[1].toString().isEmpty());
}

TEST_P(OperationsTest, RebateOfRebateProducts)
{
    QVariantList args{packetToVariant(SaleLinesPacket({{QStringLiteral("100004"), 1, 219.0, 17, 1},
                                                       {QStringLiteral("100001"), 1, 2999.0}})),
                      QVariant(), QVariant()};
    ASSERT_TRUE(call(dispid::CalculateRebate, args).toBool()) << args[2].toString().toStdString();
    EXPECT_DOUBLE_EQ(args[1].toDouble(), 10.95);
    QVariantList noPacket{QStringLiteral("x"), QVariant(), QVariant()};
    EXPECT_FALSE(call(dispid::CalculateRebate, noPacket).toBool());
}

TEST_P(OperationsTest, MalformedCallsAreRefusedNotCrashed)
{
    QVariantList few{QStringLiteral("0001")};
    EXPECT_FALSE(call(dispid::AllocateDocumentNumber, few).toBool());
    EXPECT_TRUE(few[0].toString().contains(QStringLiteral("参数个数")));
    QVariantList empty;
    EXPECT_FALSE(call(dispid::SaveSale, empty).toBool());
    QVariantList unknown{QVariant()};
    EXPECT_FALSE(call(12345, unknown).toBool());
    EXPECT_TRUE(unknown[0].toString().contains(QStringLiteral("12345")));
}

INSTANTIATE_TEST_SUITE_P(Backends, OperationsTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

// A catalogue larger than one batch of generated inserts.
class GeneratedCatalogueTest : public HostTest {
protected:
    GeneratedCatalogueTest() { withDemo_ = false; }
};

TEST_P(GeneratedCatalogueTest, EveryGeneratedProductIsStoredAndFoundByEachKey)
{
    DemoOptions options;
    options.generatedProducts = 450;
    options.hashCost = HashCost::Minimal;
    QString error;
    ASSERT_TRUE(CreateDemoStore(host_->context(), options, &error)) << error.toStdString();
    for (const char* table : {"tbSpda", "tbLsdkz", "tbGzkc"})
        EXPECT_EQ(
            storeValue(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE f_Spbm >= '2'").arg(table)).toInt(), 450)
            << table;
    for (int i : {0, 199, 200, 201, 449}) {
        const GeneratedProduct g = DemoGeneratedProduct(i);
        for (const QString& key : {g.code, g.itemNumber, g.barCode}) {
            QVariantList args{key, QVariant(), QVariant()};
            ASSERT_TRUE(call(dispid::LookupProduct, args).toBool()) << key.toStdString();
            const DataPacket p = packetFromVariant(args[1]);
            ASSERT_EQ(p.rowCount(), 1) << key.toStdString();
            EXPECT_EQ(p.value(0, QStringLiteral("f_Spbm")).toString(), g.code);
        }
        EXPECT_EQ(
            storeValue(QStringLiteral("SELECT f_Gzbm FROM tbGzkc WHERE f_Spbm = ?"), {g.code}).toString(),
            g.group);
    }
    // Counter groups sell by code prefix: a catalogue running past 299999
    // is sold too, and only as far as it goes.
    const QString mapping =
        QStringLiteral("SELECT COUNT(*) FROM tbBmspdz WHERE f_Bmbm = '0101' AND f_Spbm = ?");
    EXPECT_EQ(storeValue(mapping, {QStringLiteral("2")}).toInt(), 1);
    EXPECT_EQ(storeValue(mapping, {QStringLiteral("3")}).toInt(), 0);
    QVariantList next{DemoGeneratedProduct(450).code, QVariant(), QVariant()};
    EXPECT_FALSE(call(dispid::LookupProduct, next).toBool());
}

INSTANTIATE_TEST_SUITE_P(Backends, GeneratedCatalogueTest,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName);

} // namespace
} // namespace qiantai::host::test
