// The statement shape the fuzz runs compare: literals and numbers stand for
// any value; everything outside them is kept.
#include "fakehost.h"

#include <gtest/gtest.h>

namespace qiantai::test {
namespace {

TEST(SqlShape, LiteralsAndNumbersAreValuesTheRestIsStructure)
{
    const struct {
        const char* sql;
        const char* shape;
    } cases[] = {
        {"Select * From tb200406_Xsmxzb Where f_Djh = '0000000012' ",
         "Select * From tb200406_Xsmxzb Where f_Djh = ? "},
        {"Where f_Spmc = 'it''s' And f_Khxx = N'张''三;--'", "Where f_Spmc = ? And f_Khxx = ?"},
        {"Where f_Dnxh = 12 And f_Sl >= 0.17", "Where f_Dnxh = # And f_Sl >= #"},
        {"Select  f_a,\n\tf_b From t", "Select f_a, f_b From t"},
        {"Where f_Djh = ''", "Where f_Djh = ?"},
        {"Where f_Djh = 'x' Or '1'='1'", "Where f_Djh = ? Or ?=?"},
        {"Where f_Djh = '1' -- '", "Where f_Djh = ? -- ?!"},
        {"Where f_Djh = 1 Or 1=1", "Where f_Djh = # Or #=#"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FakeHost::SqlShape(QString::fromUtf8(c.sql)), QString::fromUtf8(c.shape)) << c.sql;

    // A quote that is not doubled changes the shape; a doubled one does not.
    const QString benign = FakeHost::SqlShape(QStringLiteral("Where f_Khbm = 'A1' "));
    EXPECT_EQ(FakeHost::SqlShape(QStringLiteral("Where f_Khbm = 'x'' Or ''1''=''1' ")), benign);
    EXPECT_NE(FakeHost::SqlShape(QStringLiteral("Where f_Khbm = 'x' Or '1'='1' ")), benign);
}

} // namespace
} // namespace qiantai::test
