#include "screens/cards/frmhykzf.h"
#include "screens/cards/systools.h"

#include "cardscreenkit.h"

#include <QDialog>

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

TEST(OpenToolForm, BalanceQueryRegisteredScreensAndUnknownNames)
{
    CardScreenKit kit;
    auto query = OpenToolForm(QStringLiteral("FrmHykzf"), nullptr, kit.Context());
    auto* hykzf = dynamic_cast<TFrmHykzf*>(query.get());
    ASSERT_NE(hykzf, nullptr);
    EXPECT_TRUE(hykzf->QueryOnly);

    EXPECT_EQ(OpenToolForm(QStringLiteral("FrmNothing"), nullptr, kit.Context()), nullptr);
    RegisterToolForm(QStringLiteral("FrmTestTool"), [](QWidget* parent) {
        auto d = std::make_unique<QDialog>(parent);
        d->setObjectName(QStringLiteral("registered"));
        return d;
    });
    auto registered = OpenToolForm(QStringLiteral("FrmTestTool"), nullptr, kit.Context());
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->objectName(), "registered");
}
