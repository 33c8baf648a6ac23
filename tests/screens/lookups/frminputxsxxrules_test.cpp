#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"
#include "sale/salesession.h"
#include "screens/lookups/frminputxsxxrules.h"

#include "storefixture.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::StoreFixture;

namespace {

class SalesInfoRulesTest : public ::testing::Test {
protected:
    SalesInfoRulesTest() : fixture(new StoreFixture), host(fixture)
    {
        fixture->release(); // HostService holds it
        s.Dybm = QStringLiteral("0101");
        s.Pszxbm = QStringLiteral("PS01");
    }
    StoreFixture* fixture;
    HostService host;
    SaleSession s;
    QString message;
};

} // namespace

TEST(SalesMethodPicker, OptionsWrapBothWays)
{
    EXPECT_EQ(SalesMethodOptionText(0), QStringLiteral("[0] 门店自提销售"));
    EXPECT_EQ(SalesMethodOptionText(3), QStringLiteral("[3] 统一配送销售"));
    EXPECT_EQ(SalesMethodChoiceText(2), QStringLiteral("选择[2]项"));
    EXPECT_EQ(NextSalesMethod(3), 0);
    EXPECT_EQ(NextSalesMethod(1), 2);
    EXPECT_EQ(PreviousSalesMethod(0), 3);
    EXPECT_EQ(PreviousSalesMethod(2), 1);
}

TEST_F(SalesInfoRulesTest, CounterGroupIsLookedUpWithinTheStoreRange)
{
    ASSERT_TRUE(ApplyCounterGroupRule(host, s, QStringLiteral(" 010101 "), message));
    EXPECT_EQ(
        fixture->queriesSent(),
        QStringList{QStringLiteral("Select f_Bmbm,f_Bmmc From tbBmda Where f_Bmbm Like '0101%' And f_Bmbm = "
                                   "'010101' And f_Bmbm <> '0101' And f_Mj = 1 ")});
    EXPECT_EQ(s.Gzbm, QStringLiteral("010101"));
    EXPECT_EQ(s.Gzmc, QStringLiteral("彩电柜"));
}

TEST_F(SalesInfoRulesTest, CounterGroupRefusalsKeepThePreviousGroup)
{
    s.Gzbm = QStringLiteral("prev");
    s.Gzmc = QStringLiteral("旧");
    struct Case {
        const char* typed;
        bool refuseQuery;
        const char* message;
    };
    for (const Case& c :
         {Case{"  ", false, "连锁商场模式下，必须输入柜组编码"},
          Case{"0101", false, "该柜组信息不存在"}, // the store department itself
          Case{"019999", false, "该柜组信息不存在"}, Case{"010101", true, "取柜组信息时出错"}}) {
        SCOPED_TRACE(c.typed);
        if (c.refuseQuery)
            fixture->refuse(dispid::OpenQuery, QStringLiteral("x"));
        EXPECT_FALSE(ApplyCounterGroupRule(host, s, QString::fromUtf8(c.typed), message));
        EXPECT_EQ(message, QString::fromUtf8(c.message));
        EXPECT_EQ(s.Gzbm, QStringLiteral("prev"));
        EXPECT_EQ(s.Gzmc, QStringLiteral("旧"));
    }
}

TEST_F(SalesInfoRulesTest, SalespersonNeedsKindThreeAndStatusOne)
{
    struct Case {
        QString kind;
        QVariant status;
        bool accepted;
    };
    for (const Case& c : {Case{"3", 1, true}, Case{"3", 1.0, true}, Case{"2", 1, false}, Case{"3", 0, false},
                          Case{"3", QStringLiteral("1"), false}, Case{"3", QVariant(), false}}) {
        SCOPED_TRACE((c.kind + "/" + c.status.toString()).toStdString());
        s.Yyybm = QStringLiteral("prev");
        s.Yyymc = QStringLiteral("旧");
        fixture->on(dispid::LookupEmployee, [c](QVariantList& a) {
            a[1] = QStringLiteral("王五");
            a[2] = c.kind;
            a[3] = c.status;
            return QVariant(true);
        });
        fixture->clearLog();
        EXPECT_EQ(ApplySalespersonRule(host, s, QStringLiteral("2002")), c.accepted);
        EXPECT_EQ(fixture->callsTo(dispid::LookupEmployee).value(0).args.value(0),
                  QVariant(QStringLiteral("2002")));
        EXPECT_EQ(s.Yyybm, c.accepted ? QStringLiteral("2002") : QStringLiteral("prev"));
        EXPECT_EQ(s.Yyymc, c.accepted ? QStringLiteral("王五") : QStringLiteral("旧"));
    }
    fixture->refuse(dispid::LookupEmployee, QStringLiteral("无"));
    EXPECT_FALSE(ApplySalespersonRule(host, s, QStringLiteral("2001")));
    EXPECT_EQ(s.Yyybm, QStringLiteral("prev"));
}

TEST_F(SalesInfoRulesTest, WarehouseAtTheCentre)
{
    s.Ckbm = QStringLiteral("prev");
    EXPECT_EQ(ApplyWarehouseRule(host, s, QStringLiteral("  "), message), WarehouseOutcome::Empty);
    EXPECT_EQ(fixture->count(dispid::OpenCentreQuery), 0);
    EXPECT_EQ(s.Ckbm, QStringLiteral("prev"));

    EXPECT_EQ(ApplyWarehouseRule(host, s, QStringLiteral("01 "), message), WarehouseOutcome::Found);
    const auto call = fixture->callsTo(dispid::OpenCentreQuery).value(0);
    EXPECT_EQ(call.args,
              (QVariantList{QStringLiteral("Select f_Ckbm,f_Ckmc From tbCkda Where f_Ckbm = '01' "),
                            QStringLiteral("PS01")}));
    EXPECT_EQ(s.Ckbm, QStringLiteral("01"));
    EXPECT_EQ(s.Ckmc, QStringLiteral("中心一库"));

    // Any character may be typed here: a quote stays inside the literal.
    fixture->clearLog();
    EXPECT_EQ(ApplyWarehouseRule(host, s, QStringLiteral("0' or '1'='1"), message),
              WarehouseOutcome::Refused);
    EXPECT_EQ(message, QStringLiteral("该仓库信息不存在"));
    EXPECT_EQ(
        fixture->callsTo(dispid::OpenCentreQuery).value(0).args.value(0),
        QVariant(QStringLiteral("Select f_Ckbm,f_Ckmc From tbCkda Where f_Ckbm = '0'' or ''1''=''1' ")));
    EXPECT_EQ(s.Ckbm, QStringLiteral("01"));

    fixture->refuse(dispid::OpenCentreQuery, QStringLiteral("中心不通"));
    EXPECT_EQ(ApplyWarehouseRule(host, s, QStringLiteral("01"), message), WarehouseOutcome::Refused);
    EXPECT_EQ(message, QStringLiteral("取仓库信息时出错"));
}
