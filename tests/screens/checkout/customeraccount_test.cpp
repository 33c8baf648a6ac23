#include "screens/checkout/customeraccount.h"

#include "fakehost.h"
#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

using test::FakeHost;

class CustomerAccountTest : public ::testing::Test {
protected:
    ~CustomerAccountTest() override { fake->release(); }
    FakeHost* fake = new FakeHost;
    HostService host{fake};
};

TEST_F(CustomerAccountTest, QueryTextJoinsTheMonthTotals)
{
    fake->answer(
        dispid::OpenQuery, 1,
        packetToVariant(FakeHost::table({"f_Khbm", "f_Khmc"}, {{"K01", QStringLiteral("华联商厦")}})));
    QString name;
    ASSERT_TRUE(LookupStoreCustomer(host, QStringLiteral("201001"), QStringLiteral(" K01 "), name));
    EXPECT_EQ(name, QStringLiteral("华联商厦"));
    ASSERT_EQ(fake->count(dispid::OpenQuery), 1);
    EXPECT_EQ(fake->calls()[0].args[0].toString(),
              QStringLiteral("Select A.f_Khbm,A.f_Khmc,IsNull(B.f_Qcye,0) f_Qcye,IsNull(B.f_Skje,0) f_Skje,"
                             "IsNull(B.f_Sxje,0) f_Sxje From tbMdkhda A Left Join tb201001_mdkhwlyhj B "
                             "On A.f_Khbm = B.f_Khbm Where A.f_Khbm = 'K01' "));
}

TEST_F(CustomerAccountTest, UnknownRefusedOrQuotedCodes)
{
    QString name = QStringLiteral("kept");
    fake->answer(dispid::OpenQuery, 1, packetToVariant(FakeHost::table({"f_Khbm", "f_Khmc"})));
    EXPECT_FALSE(LookupStoreCustomer(host, QStringLiteral("201001"), QStringLiteral("X"), name));
    fake->refuse(dispid::OpenQuery, QStringLiteral("no table"));
    EXPECT_FALSE(LookupStoreCustomer(host, QStringLiteral("201001"), QStringLiteral("X"), name));
    EXPECT_FALSE(LookupStoreCustomer(host, QStringLiteral("201001"), QStringLiteral("1' or '1'='1"), name));
    EXPECT_TRUE(fake->calls().last().args[0].toString().endsWith(QStringLiteral("= '1'' or ''1''=''1' ")));
    EXPECT_EQ(name, QStringLiteral("kept"));
    // Not a month: nothing is asked.
    fake->clearLog();
    EXPECT_FALSE(LookupStoreCustomer(host, QStringLiteral("2010"), QStringLiteral("X"), name));
    EXPECT_TRUE(fake->calls().isEmpty());
}

} // namespace
} // namespace qiantai
