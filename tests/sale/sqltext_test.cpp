#include "sale/sqlquote.h"
#include "sale/tablenames.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(SqlQuote, EnclosesAndDoublesEmbeddedQuotes)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"O'Brien", "'O''Brien'"},
        {"", "''"},
        {"'", "''''"},
        {"0001", "'0001'"},
        {"1' or '1'='1", "'1'' or ''1''=''1'"},
        {"x'; Delete From tbSysmsg --", "'x''; Delete From tbSysmsg --'"},
        {"张'三", "'张''三'"},
        {"a\\'b", "'a\\''b'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SqlQuote(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(SqlQuote, QuotedValueIsOneLiteral)
{
    // Reading the literal back the way SQL does gives the value unchanged and
    // ends exactly at the closing quote.
    for (const char* value : {"O'Brien", "''", "a'b'c'", "'; drop table x; --"}) {
        const QString q = SqlQuote(value);
        ASSERT_TRUE(q.startsWith('\'') && q.endsWith('\''));
        QString read;
        int i = 1;
        for (; i < q.size(); ++i) {
            if (q[i] == '\'') {
                if (i + 1 < q.size() && q[i + 1] == '\'') {
                    read += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            read += q[i];
        }
        EXPECT_EQ(i, q.size() - 1) << value;
        EXPECT_EQ(read, value);
    }
}

TEST(TableNames, MonthlyTablesForAnyMonth)
{
    const struct {
        const char* yearMonth;
        const char* suffix;
        const char* name;
    } cases[] = {
        {"200406", "Xsmxzb", "tb200406_Xsmxzb"},
        {"200412", "xsmxcb", "tb200412_xsmxcb"},
        {"201001", "Yxsmxzb", "tb201001_Yxsmxzb"},
        {"199901", "mdkhwlyhj", "tb199901_mdkhwlyhj"},
        {"200406", "Xsmxzb_Unique", "tb200406_Xsmxzb_Unique"},
        {"20046", "Xsmxzb", ""},
        {"2004061", "Xsmxzb", ""},
        {"2004a6", "Xsmxzb", ""},
        {"", "Xsmxzb", ""},
        {"200406", "", ""},
        {"200406", "Xsmxzb x", ""},
        {"200406", "Xsmxzb;", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MonthlyTableName(c.yearMonth, c.suffix), c.name) << c.yearMonth << " " << c.suffix;
}

TEST(TableNames, SpgjcbMonthComesFromTheDocumentNumber)
{
    const struct {
        const char* djh;
        const char* name;
    } cases[] = {
        {"2004050123", "tb200405_Spgjcb"},
        {"200312", "tb200312_Spgjcb"},
        {"20031", ""},
        {"", ""},
        {"0000000001", "tb000000_Spgjcb"},
        {"2004'; --", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpgjcbTableName(c.djh), c.name) << c.djh;
}
