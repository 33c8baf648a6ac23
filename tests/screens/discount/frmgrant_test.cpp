#include "screens/discount/frmgrant.h"

#include "fakehost.h"
#include "qiantai/dispids.h"
#include "scriptedexec.h"
#include "shownmessages.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ExecWhileTyping;
using qiantai::test::FakeHost;
using qiantai::test::ShownMessages;

namespace {

// Employee "0012" with password "pw" holds "9912" only.
class TFrmGrantTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake->on(dispid::VerifyPassword, [](QVariantList& args) {
            if (args[0] == QStringLiteral("0012") && args[1] == QStringLiteral("pw"))
                return QVariant(true);
            args[2] = QStringLiteral("工号或密码错误");
            return QVariant(false);
        });
        fake->on(dispid::CheckPermission,
                 [](QVariantList& args) { return QVariant(args[1] == QStringLiteral("9912")); });
    }
    ~TFrmGrantTest() override { fake->release(); }

    QList<QVariantList> Sent(int dispId) const
    {
        QList<QVariantList> out;
        for (const auto& call : fake->callsTo(dispId))
            out.append(call.args);
        return out;
    }

    FakeHost* fake = new FakeHost;
    ShownMessages shown;
};

} // namespace

TEST_F(TFrmGrantTest, HeadingFollowsTheRight)
{
    TFrmGrant cost(nullptr, fake, "9912");
    EXPECT_EQ(cost.heading(), QStringLiteral("低于进价授权"));
    EXPECT_EQ(cost.keyHint(), QStringLiteral("【Enter】确定 【Esc】取消"));
    TFrmGrant lowest(nullptr, fake, "9907");
    EXPECT_EQ(lowest.heading(), QStringLiteral("低于最低售价授权"));
}

TEST_F(TFrmGrantTest, BlankCodeStaysThenTrimmedCodesGrant)
{
    TFrmGrant grant(nullptr, fake, "9912");
    // Blanks and Enter keep the focus on the code, so the code reads
    // "   0012 "; the host receives it trimmed.
    EXPECT_EQ(ExecWhileTyping(grant, "<Space><Space><Space><Enter>0012<Space><Enter>pw<Enter>"),
              QDialog::Accepted);
    EXPECT_EQ(Sent(dispid::VerifyPassword), QList<QVariantList>({{"0012", "pw", QVariant()}}));
    EXPECT_EQ(Sent(dispid::CheckPermission), QList<QVariantList>({{"0012", "9912"}}));
    EXPECT_TRUE(shown.texts.isEmpty());
}

TEST_F(TFrmGrantTest, PasswordIsMasked)
{
    TFrmGrant grant(nullptr, fake, "9912");
    grant.passwordEdit()->setText("secret");
    EXPECT_EQ(grant.passwordEdit()->displayText(), "******");
    EXPECT_EQ(grant.codeEdit()->displayText(), "");
}

TEST_F(TFrmGrantTest, RefusalsClearTheFieldsForAnotherTry)
{
    TFrmGrant grant(nullptr, fake, "9912");
    EXPECT_EQ(ExecWhileTyping(grant, "0012<Enter>bad<Enter><Enter>0012<Enter>pw<Enter>"), QDialog::Accepted);
    EXPECT_EQ(shown.texts, QStringList({QStringLiteral("工号或密码错误")}));
    EXPECT_EQ(shown.captions, QStringList({QStringLiteral("授权时出错")}));
    EXPECT_EQ(fake->count(dispid::VerifyPassword), 2);
    EXPECT_EQ(fake->count(dispid::CheckPermission), 1);
}

TEST_F(TFrmGrantTest, MissingRightNamesTheCodeAsTypedThenEsc)
{
    TFrmGrant grant(nullptr, fake, "9907");
    EXPECT_EQ(ExecWhileTyping(grant, "0012<Space><Enter>pw<Enter><Enter><Esc>"), QDialog::Rejected);
    EXPECT_EQ(shown.texts, QStringList({QStringLiteral("职员 0012  没有低于最低售价的权限")}));
    EXPECT_EQ(Sent(dispid::CheckPermission), QList<QVariantList>({{"0012", "9907"}}));
    EXPECT_EQ(grant.codeEdit()->text(), QString());
    EXPECT_EQ(grant.passwordEdit()->text(), QString());
}

TEST_F(TFrmGrantTest, EscFromThePasswordField)
{
    TFrmGrant grant(nullptr, fake, "9912");
    EXPECT_EQ(ExecWhileTyping(grant, "0012<Enter>p<Esc>"), QDialog::Rejected);
    EXPECT_EQ(fake->count(dispid::VerifyPassword), 0);
}
