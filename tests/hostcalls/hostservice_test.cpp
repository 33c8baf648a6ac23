#include "hostcalls/hostservice.h"

#include "fakehost.h"
#include "qiantai/dispids.h"

#include <QDate>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qiantai;
using qiantai::test::FakeHost;

namespace {

class HostServiceTest : public ::testing::Test {
protected:
    ~HostServiceTest() override { fake->release(); }

    FakeHost* fake = new FakeHost;
    HostService host{fake};

    QVariantList sent(int dispId) const
    {
        const auto calls = fake->callsTo(dispId);
        return calls.size() == 1 ? calls[0].args : QVariantList{QStringLiteral("<not called once>")};
    }
};

QVariantList texts(std::initializer_list<const char*> items)
{
    QVariantList out;
    for (const char* s : items)
        out.append(QString::fromUtf8(s));
    return out;
}

} // namespace

TEST_F(HostServiceTest, HoldsOneReferenceForItsLifetime)
{
    EXPECT_EQ(fake->refCount(), 2);
    {
        HostService copy = host;
        EXPECT_EQ(fake->refCount(), 3);
    }
    EXPECT_EQ(fake->refCount(), 2);
}

TEST_F(HostServiceTest, QueryLimitedOfferSendsTwelveArgumentsAndReadsTheOutValues)
{
    fake->on(dispid::QueryLimitedOffer, [](QVariantList& a) {
        a[8] = 7;
        a[9] = 899.0;
        a[10] = 100.0;
        a[11] = QStringLiteral("done");
        return QVariant(true);
    });
    int unused = -1;
    double price = 0, value = 0;
    QVariant mode = QStringLiteral("2");
    ASSERT_TRUE(host.QueryLimitedOffer(1, "01", "0000000001", 2, "100005", 3.0, 1.0, 999.0, unused, price,
                                       value, mode));
    const QVariantList args = sent(dispid::QueryLimitedOffer);
    ASSERT_EQ(args.size(), 12);
    EXPECT_EQ(args.mid(0, 8), (QVariantList{1, "01", "0000000001", 2, "100005", 3.0, 1.0, 999.0}));
    EXPECT_EQ(args[11], QVariant(QStringLiteral("2")));
    EXPECT_EQ(unused, 7);
    EXPECT_DOUBLE_EQ(price, 899.0);
    EXPECT_DOUBLE_EQ(value, 100.0);
    EXPECT_EQ(mode, QVariant(QStringLiteral("done")));
}

TEST_F(HostServiceTest, RecordingOperationsKeepTheirOwnArgumentOrder)
{
    const QVariant bundle = QVariantList{1, 2};
    DataPacket lines = FakeHost::table({"f_Spbm"}, {{"100001"}});
    fake->on(dispid::SaveDeliverySale, [](QVariantList& a) {
        a.last() = 12.5; // amount that earns points
        return QVariant(true);
    });
    QVariant message = QString::fromUtf8("张三 13800000000");
    QVariant b = bundle;
    ASSERT_TRUE(host.SaveDeliverySale("D1", "0001", "收银", "tag", "1001", "营业", "C1", "A1", "0101", "01",
                                      88.5, lines, b, message));
    QVariantList args = sent(dispid::SaveDeliverySale);
    ASSERT_EQ(args.size(), 14);
    EXPECT_EQ(args.mid(0, 11), (QVariantList{"D1", "0001", QString::fromUtf8("收银"), "tag", "1001",
                                             QString::fromUtf8("营业"), "C1", "A1", "0101", "01", 88.5}));
    EXPECT_EQ(packetFromVariant(args[11]).value(0, "f_Spbm"), QVariant("100001"));
    EXPECT_EQ(args[12], bundle);
    EXPECT_EQ(args[13], QVariant(QString::fromUtf8("张三 13800000000")));
    EXPECT_EQ(message, QVariant(12.5));

    fake->answer(dispid::SaveCentralDeliverySale, -1, {});
    ASSERT_TRUE(host.SaveCentralDeliverySale("D1", "0001", "n", "tag", "1001", "m", "0101", "90", "01", "C1",
                                             "A1", 10.0, lines, b, message));
    args = sent(dispid::SaveCentralDeliverySale);
    ASSERT_EQ(args.size(), 15);
    EXPECT_EQ(args.mid(6, 6), (QVariantList{"0101", "90", "01", "C1", "A1", 10.0}));

    fake->answer(dispid::SaveSale, -1, {});
    ASSERT_TRUE(host.SaveSale("D1", "0001", "n", "tag", "1001", "m", "0101", "01", "C1", "A1", lines, bundle,
                              message));
    args = sent(dispid::SaveSale);
    ASSERT_EQ(args.size(), 13);
    EXPECT_EQ(args.mid(6, 4), (QVariantList{"0101", "01", "C1", "A1"}));
    EXPECT_TRUE(packetFromVariant(args[10]).hasColumn("f_Spbm"));
    EXPECT_EQ(args[11], bundle);
}

TEST_F(HostServiceTest, StockChecksSendTheirArgumentsWithAMessageSlotLast)
{
    fake->answer(dispid::CheckStock, -1, {});
    fake->refuse(dispid::CheckDeliveryStock, QString::fromUtf8("库存不足"));
    EXPECT_TRUE(host.CheckStock("100001", "0101", 2.0, 1.0, "202301", "202403"));
    EXPECT_EQ(sent(dispid::CheckStock),
              (QVariantList{"100001", "0101", 2.0, 1.0, "202301", "202403", QVariant()}));
    EXPECT_FALSE(host.CheckDeliveryStock("100001", "01", "90", "01", "202403", 2.0, 1.0));
    EXPECT_EQ(sent(dispid::CheckDeliveryStock),
              (QVariantList{"100001", "01", "90", "01", "202403", 2.0, 1.0, QVariant()}));
    EXPECT_EQ(host.lastStatus(), HostCallStatus::Refused);
    EXPECT_EQ(host.lastError(), QVariant(QString::fromUtf8("库存不足")));
}

TEST_F(HostServiceTest, TypedOutputsAreWrittenOnlyWhenTheHostAgrees)
{
    fake->on(dispid::LookupEmployee, [](QVariantList& a) {
        a[1] = QString::fromUtf8("王五");
        a[2] = "3";
        a[3] = 1;
        return QVariant(true);
    });
    QString name, kind;
    QVariant status;
    ASSERT_TRUE(host.LookupEmployee("1001", name, kind, status));
    EXPECT_EQ(name, QString::fromUtf8("王五"));
    EXPECT_EQ(kind, "3");
    EXPECT_EQ(status, QVariant(1));

    fake->refuse(dispid::AllocateDocumentNumber, texts({"单据号已用完", "请联系管理员"}));
    QString number = "old";
    EXPECT_FALSE(host.AllocateDocumentNumber("0001", "n", "0101", number));
    EXPECT_EQ(number, "old");
    EXPECT_EQ(sent(dispid::AllocateDocumentNumber),
              (QVariantList{"0001", "n", "0101", QVariant(), QVariant()}));
    EXPECT_EQ(host.lastError(), QVariant(texts({"单据号已用完", "请联系管理员"})));

    fake->refuse(dispid::OpenQuery, QStringLiteral("bad sql"));
    DataPacket kept = FakeHost::table({"a"}, {{"1"}});
    EXPECT_FALSE(host.OpenQuery("select", kept));
    EXPECT_EQ(kept.rowCount(), 1);

    fake->answer(dispid::OpenQuery, 1, packetToVariant(FakeHost::table({"f_Date"}, {{"x"}, {"y"}})));
    ASSERT_TRUE(host.OpenQuery("select getdate() as f_Date", kept));
    EXPECT_EQ(kept.rowCount(), 2);
    EXPECT_EQ(host.lastStatus(), HostCallStatus::Done);
    EXPECT_FALSE(host.lastError().isValid());
}

TEST_F(HostServiceTest, ProductLookupSharesItsValueBetweenTheTwoCalls)
{
    fake->answer(dispid::PrepareProductLookup, 0, QStringLiteral("ticket"));
    fake->on(dispid::LookupProduct, [](QVariantList& a) {
        a[1] = a[2] == QVariant("ticket") ? packetToVariant(FakeHost::table({"f_Spbm"}, {{"100001"}}))
                                          : QVariant();
        return QVariant(true);
    });
    QVariant value;
    DataPacket rows;
    ASSERT_TRUE(host.PrepareProductLookup(value));
    ASSERT_TRUE(host.LookupProduct("100001", rows, value));
    EXPECT_EQ(rows.value(0, "f_spbm"), QVariant("100001"));
}

TEST_F(HostServiceTest, BrokenHostAnswersAreFailuresWithAText)
{
    struct Case {
        const char* name;
        FakeHost::Handler handler;
        const char* expectedText;
    };
    const Case cases[] = {
        {"std exception", [](QVariantList&) -> QVariant { throw std::runtime_error("连接已断开"); },
         "连接已断开"},
        {"other exception", [](QVariantList&) -> QVariant { throw 42; }, "未知异常"},
        {"integer answer", [](QVariantList&) { return QVariant(1); }, "返回值不是逻辑值"},
        {"no answer", [](QVariantList&) { return QVariant(); }, "返回值不是逻辑值"},
        {"argument list cut",
         [](QVariantList& a) {
             a.clear();
             return QVariant(true);
         },
         "参数个数被改变"},
    };
    for (const Case& c : cases) {
        fake->on(dispid::GetDistributionCentre, c.handler);
        QString centre = "kept";
        EXPECT_FALSE(host.GetDistributionCentre("01", centre)) << c.name;
        EXPECT_EQ(centre, "kept") << c.name;
        EXPECT_EQ(host.lastStatus(), HostCallStatus::Raised) << c.name;
        const QString text = host.lastError().toString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.expectedText))) << c.name << ": " << text.toStdString();
        EXPECT_TRUE(text.contains("GetDistributionCentre")) << c.name;
    }
}

TEST_F(HostServiceTest, NoHostFailsEveryCall)
{
    HostService none;
    DataPacket p;
    EXPECT_FALSE(none.OpenQuery("select 1", p));
    EXPECT_EQ(none.lastStatus(), HostCallStatus::Raised);
    EXPECT_FALSE(none.lastError().toString().isEmpty());
}

TEST_F(HostServiceTest, DatabaseTypeMustBeText)
{
    fake->on(dispid::GetDatabaseType, [](QVariantList&) { return QVariant(QStringLiteral("DB2")); });
    QString type;
    ASSERT_TRUE(host.GetDatabaseType(type));
    EXPECT_EQ(type, "DB2");
    EXPECT_TRUE(sent(dispid::GetDatabaseType).isEmpty());

    fake->on(dispid::GetDatabaseType, [](QVariantList&) { return QVariant(true); });
    type = "kept";
    EXPECT_FALSE(host.GetDatabaseType(type));
    EXPECT_EQ(type, "kept");
    EXPECT_EQ(host.lastStatus(), HostCallStatus::Raised);
}

TEST_F(HostServiceTest, CardConsumptionReadsBackRequestAndAnswer)
{
    fake->on(dispid::RecordCardConsumption, [](QVariantList& a) {
        a[1] = QStringLiteral("000123");
        return QVariant(true);
    });
    QVariant request = QVariantList{"01", "D1", 88.0};
    QVariant answer;
    ASSERT_TRUE(host.RecordCardConsumption(request, answer));
    EXPECT_EQ(sent(dispid::RecordCardConsumption)[0], QVariant(QVariantList{"01", "D1", 88.0}));
    EXPECT_EQ(answer, QVariant("000123"));

    fake->refuse(dispid::RecordCardConsumption, QString::fromUtf8("流水号已满"));
    EXPECT_FALSE(host.RecordCardConsumption(request, answer));
    EXPECT_EQ(answer, QVariant(QString::fromUtf8("流水号已满")));
    EXPECT_EQ(host.lastError(), answer);
}

TEST(HostDateText, PassesTheHostTextOnAndFallsBackToTheLocalDate)
{
    auto* fake = new FakeHost;
    HostService host(fake);
    fake->answer(dispid::GetCurrentDate, 0, QStringLiteral("20240315 10:11:12"));
    EXPECT_EQ(HostDateText(host), "20240315 10:11:12");
    ASSERT_EQ(fake->calls().size(), 1);
    EXPECT_EQ(fake->calls()[0].args, QVariantList{QVariant()});

    const auto local = [] { return QDate::currentDate().toString("yyyyMMdd"); };
    fake->refuse(dispid::GetCurrentDate, QStringLiteral("no"));
    QString before = local(), text = HostDateText(host);
    EXPECT_TRUE(text == before || text == local()) << text.toStdString();

    fake->fail(dispid::GetCurrentDate, "gone");
    before = local();
    text = HostDateText(host);
    EXPECT_TRUE(text == before || text == local()) << text.toStdString();
    fake->release();
}
