#include "qstringprint.h"
#include "store/sqldialect.h"

#include <gtest/gtest.h>

using qiantai::host::RewriteSql;
using qiantai::host::SplitSqlScript;
using qiantai::host::SqlBackend;

namespace {

struct Case {
    const char* in;
    const char* sqlite;
    const char* postgres;
};

TEST(SqlDialect, RewritesServerDialectForEachBackend)
{
    const Case cases[] = {
        {"Select GetDate() ", "Select qt_getdate() ", "Select LOCALTIMESTAMP(0) "},
        {"select getdate() as f_Date", "select qt_getdate() as f_Date", "select LOCALTIMESTAMP(0) as f_Date"},
        {"Values current timestamp ", "Select qt_getdate()  ", "Select LOCALTIMESTAMP(0)  "},
        {"Select IsNull(B.f_Qcye,0) f_Qcye", "Select COALESCE(B.f_Qcye,0) f_Qcye",
         "Select COALESCE(B.f_Qcye,0) f_Qcye"},
        {"Where '100001' like f_Spbm + '%' And f_Bmbm = '0101' ",
         "Where '100001' like f_Spbm || '%' And f_Bmbm = '0101' ",
         "Where '100001' ILIKE f_Spbm || '%' And f_Bmbm = '0101' "},
        // Only a '+' with a text operand concatenates; the chain is read
        // from the left as the server reads it.
        {"Select f_Spbm + f_Spmc + 'x' From t", "Select (f_Spbm + f_Spmc) || 'x' From t",
         "Select (f_Spbm + f_Spmc) || 'x' From t"},
        {"Select f_a*2 + f_b + 'x' From t", "Select (f_a*2 + f_b) || 'x' From t",
         "Select (f_a*2 + f_b) || 'x' From t"},
        {"Select 'x' + f_a + f_b From t", "Select 'x' || f_a || f_b From t",
         "Select 'x' || f_a || f_b From t"},
        {"Select 'n' + f_a * 2, f_b + f_c From t", "Select 'n' || (f_a * 2), f_b + f_c From t",
         "Select 'n' || (f_a * 2), f_b + f_c From t"},
        {"Where f_a + f_b > 5 And f_c + '%' = t.f_d + 1", "Where f_a + f_b > 5 And f_c || '%' = t.f_d + 1",
         "Where f_a + f_b > 5 And f_c || '%' = t.f_d + 1"},
        {"Select IsNull(f_a, 0) + 1, IsNull(f_b, '') + 'x' From t",
         "Select COALESCE(f_a, 0) + 1, COALESCE(f_b, '') || 'x' From t",
         "Select COALESCE(f_a, 0) + 1, COALESCE(f_b, '') || 'x' From t"},
        {"Select ('a' + f_b) + f_c, (f_a + 1) + 2 From t", "Select ('a' || f_b) || f_c, (f_a + 1) + 2 From t",
         "Select ('a' || f_b) || f_c, (f_a + 1) + 2 From t"},
        {"Select f_Xssl + 1 From t", "Select f_Xssl + 1 From t", "Select f_Xssl + 1 From t"},
        {"Select 'a+b', N'统收' From [tbSysmsg]", "Select 'a+b', '统收' From tbSysmsg",
         "Select 'a+b', '统收' From tbSysmsg"},
        {"Select 'IsNull(x,1)' + 'GetDate()'", "Select 'IsNull(x,1)' || 'GetDate()'",
         "Select 'IsNull(x,1)' || 'GetDate()'"},
        {"Select Top 5 f_Spbm From tbSpda", "Select   f_Spbm From tbSpda LIMIT 5",
         "Select   f_Spbm From tbSpda LIMIT 5"},
        {"Select 'it''s' + f_Spmc From t -- + 'x'", "Select 'it''s' || f_Spmc From t -- + 'x'",
         "Select 'it''s' || f_Spmc From t -- + 'x'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RewriteSql(QString::fromUtf8(c.in), SqlBackend::Sqlite), QString::fromUtf8(c.sqlite))
            << c.in;
        EXPECT_EQ(RewriteSql(QString::fromUtf8(c.in), SqlBackend::Postgres), QString::fromUtf8(c.postgres))
            << c.in;
    }
}

TEST(SqlDialect, SplitsScriptsOutsideLiterals)
{
    const QStringList parts = SplitSqlScript(QStringLiteral("-- a; comment\nCREATE TABLE a (x INT);\n"
                                                            "INSERT INTO a VALUES ('x;y');\n\n;"));
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0], QStringLiteral("CREATE TABLE a (x INT)"));
    EXPECT_EQ(parts[1], QStringLiteral("INSERT INTO a VALUES ('x;y')"));
}

} // namespace
