#include "sale/saleitems.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qiantai;

namespace {

QStringList codes(const TAllSysTools& tools)
{
    QStringList out;
    for (const TSysTool& t : tools)
        out << t.Code;
    return out;
}

} // namespace

TEST(ItemCollection, KeepsOrderAndItemReferencesAcrossAddAndDelete)
{
    TAllSysTools tools;
    TSysTool& first = tools.Add();
    first.Code = "a";
    TSysTool& second = tools.Add();
    second.Code = "b";
    for (const char* c : {"c", "d", "e"})
        tools.Add().Code = c;

    tools.Delete(0);
    tools.Delete(2); // "d"
    EXPECT_EQ(codes(tools), QStringList({"b", "c", "e"}));
    EXPECT_EQ(tools.Count(), 3);
    // A reference taken at Add survives later adds and deletes of others.
    EXPECT_EQ(&second, &tools.Item(0));
    second.Caption = "kept";
    EXPECT_EQ(tools[0].Caption, "kept");

    tools.Clear();
    EXPECT_EQ(tools.Count(), 0);
    EXPECT_TRUE(tools.IsEmpty());
}

TEST(ItemCollection, AddedItemStartsAtItsDefaults)
{
    TSaleRecords lines;
    const TSaleRecord& line = lines.Add();
    EXPECT_DOUBLE_EQ(line.Quantity, 1.0);
    EXPECT_DOUBLE_EQ(line.NetAmount, 0.0);
    EXPECT_TRUE(line.ProductCode.isEmpty());
}

TEST(ItemCollection, IndexOutsideTheListThrows)
{
    TAllPayDetails entries;
    EXPECT_THROW(entries.Item(0), std::out_of_range);
    entries.Add();
    EXPECT_THROW(entries.Item(-1), std::out_of_range);
    EXPECT_THROW(entries.Item(1), std::out_of_range);
    EXPECT_THROW(entries.Delete(1), std::out_of_range);
    EXPECT_EQ(entries.Count(), 1);
    EXPECT_NO_THROW(entries.Delete(0));
    EXPECT_EQ(entries.Count(), 0);
}
