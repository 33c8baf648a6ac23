#include "screens/checkout/documentrounding.h"

#include "checkoutfixture.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

struct RoundingCase {
    int xsfkz;
    double total; // of the last line, 17% tax, after a first line of 100.00
    double d;     // booked difference
    double net;   // last line afterwards
    double tax;
    double discount;
};

class DocumentRoundingTest : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(DocumentRoundingTest, DifferenceIsBookedOnTheLastLine)
{
    const RoundingCase c = GetParam();
    SaleSession s;
    s.Xsfkz = c.xsfkz;
    test::AddLine(s, QStringLiteral("A"), 85.47, 14.53, 17).Quantity = 2;
    // 23.45 incl. 17% tax: 20.04 + 3.41.
    test::AddLine(s, QStringLiteral("B"), 20.04, 3.41, 17).AutoDiscount = 1.00;

    EXPECT_NEAR(ApplyDocumentRounding(s), c.d, 1e-9);
    EXPECT_NEAR(s.DocTotalAmount, c.total, 1e-9);
    EXPECT_DOUBLE_EQ(s.DocTotalQty, 3);
    const TSaleRecord& first = s.SaleLines[0];
    EXPECT_DOUBLE_EQ(first.NetAmount, 85.47);
    EXPECT_DOUBLE_EQ(first.TaxAmount, 14.53);
    const TSaleRecord& last = s.SaleLines[1];
    EXPECT_NEAR(last.NetAmount, c.net, 1e-9);
    EXPECT_NEAR(last.TaxAmount, c.tax, 1e-9);
    EXPECT_NEAR(last.AutoDiscount, c.discount, 1e-9);
    EXPECT_NEAR(last.NetAmount + last.TaxAmount + first.NetAmount + first.TaxAmount, s.DocTotalAmount, 1e-9);

    // Pressed again, the total is already rounded.
    EXPECT_EQ(ApplyDocumentRounding(s), 0);
    EXPECT_NEAR(s.DocTotalAmount, c.total, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Modes, DocumentRoundingTest,
                         ::testing::Values(
                             // 123.45 rounded to 123.50: d -0.05, net +0.04, tax +0.01, discount -0.05.
                             RoundingCase{2, 123.50, -0.05, 20.08, 3.42, 0.95},
                             // 123.45 cut to 123.40: d 0.05.
                             RoundingCase{4, 123.40, 0.05, 20.00, 3.40, 1.05},
                             // Line modes and the default book nothing here.
                             RoundingCase{1, 123.45, 0, 20.04, 3.41, 1.00},
                             RoundingCase{3, 123.45, 0, 20.04, 3.41, 1.00},
                             RoundingCase{0, 123.45, 0, 20.04, 3.41, 1.00}));

TEST(DocumentRounding, WithoutLinesNothingHappens)
{
    SaleSession s;
    s.Xsfkz = 2;
    s.DocTotalAmount = 5;
    EXPECT_EQ(ApplyDocumentRounding(s), 0);
    EXPECT_EQ(s.DocTotalAmount, 0);
}

TEST(DocumentRounding, DifferenceTable)
{
    EXPECT_NEAR(DocumentRoundingDifference(2, 0.05), -0.05, 1e-12);
    EXPECT_NEAR(DocumentRoundingDifference(2, 10.04), 0.04, 1e-12);
    EXPECT_NEAR(DocumentRoundingDifference(4, 10.09), 0.09, 1e-12);
    EXPECT_NEAR(DocumentRoundingDifference(4, 10.10), 0, 1e-12);
}

} // namespace
} // namespace qiantai
