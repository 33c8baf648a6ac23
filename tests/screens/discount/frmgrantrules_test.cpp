#include "screens/discount/frmgrantrules.h"

#include "fakehost.h"
#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;

TEST(GrantRulesTest, TextsPerRight)
{
    EXPECT_EQ(GrantHeading("9912"), QStringLiteral("低于进价授权"));
    EXPECT_EQ(GrantHeading("9907"), QStringLiteral("低于最低售价授权"));
    // The code as typed, blanks included.
    EXPECT_EQ(GrantMissingRightMessage("9907", "0012 "), QStringLiteral("职员 0012  没有低于最低售价的权限"));
    EXPECT_EQ(GrantMissingRightMessage("9912", "0012"), QStringLiteral("职员 0012 没有低于最后进价的权限"));
}

namespace {

// Employee "0012" with password "pw" holds the rights in `rights`.
class TryGrantTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake->on(dispid::VerifyPassword, [](QVariantList& args) {
            if (args[0] == QStringLiteral("0012") && args[1] == QStringLiteral("pw"))
                return QVariant(true);
            args[2] = QStringLiteral("密码错误");
            return QVariant(false);
        });
        fake->on(dispid::CheckPermission,
                 [this](QVariantList& args) { return QVariant(rights.contains(args[1].toString())); });
    }
    ~TryGrantTest() override { fake->release(); }

    FakeHost* fake = new FakeHost;
    HostService host{fake};
    QStringList rights{"9912"};
    QVariant refusal;
};

} // namespace

TEST_F(TryGrantTest, VerifiesThenChecksWithTrimmedCodes)
{
    EXPECT_TRUE(TryGrant(host, " 0012 ", " pw", "9912", refusal));
    ASSERT_EQ(fake->dispIds(), QList<int>({dispid::VerifyPassword, dispid::CheckPermission}));
    EXPECT_EQ(fake->calls()[0].args, QVariantList({"0012", "pw", QVariant()}));
    EXPECT_EQ(fake->calls()[1].args, QVariantList({"0012", "9912"}));
}

TEST_F(TryGrantTest, MissingRightNamesTheCodeAsTyped)
{
    EXPECT_FALSE(TryGrant(host, "0012 ", "pw", "9907", refusal));
    EXPECT_EQ(refusal, QVariant(QStringLiteral("职员 0012  没有低于最低售价的权限")));
    EXPECT_EQ(fake->callsTo(dispid::CheckPermission)[0].args, QVariantList({"0012", "9907"}));
}

TEST_F(TryGrantTest, WrongPasswordShowsTheHostText)
{
    EXPECT_FALSE(TryGrant(host, "0012", "bad", "9912", refusal));
    EXPECT_EQ(refusal, QVariant(QStringLiteral("密码错误")));
    EXPECT_EQ(fake->count(dispid::CheckPermission), 0);

    // Several texts come back as they are, for one line each.
    const QVariantList texts{QStringLiteral("职员不存在"), QStringLiteral("请重试")};
    fake->refuse(dispid::VerifyPassword, texts);
    EXPECT_FALSE(TryGrant(host, "0012", "pw", "9912", refusal));
    EXPECT_EQ(refusal, QVariant(texts));
}

TEST_F(TryGrantTest, AFailingHostIsNotAMissingRight)
{
    fake->fail(dispid::CheckPermission, "connection lost");
    EXPECT_FALSE(TryGrant(host, "0012", "pw", "9912", refusal));
    EXPECT_TRUE(refusal.toString().contains("connection lost")) << refusal.toString().toStdString();

    fake->fail(dispid::VerifyPassword, "down");
    EXPECT_FALSE(TryGrant(host, "0012", "pw", "9912", refusal));
    EXPECT_TRUE(refusal.toString().contains("down")) << refusal.toString().toStdString();
}
