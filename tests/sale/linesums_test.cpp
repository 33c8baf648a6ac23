#include "sale/linesums.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(LineSums, ListAmountIsRoundedToTwoDecimals)
{
    const struct {
        double price, qty, amount;
    } cases[] = {{1.005, 1, 1.01}, {33.335, 3, 100.01}, {2.675, 1, 2.68}, {19.99, 0.5, 10.0}, {0, 4, 0}};
    for (const auto& c : cases) {
        TSaleRecord line;
        line.ListPrice = c.price;
        line.Quantity = c.qty;
        EXPECT_DOUBLE_EQ(ListAmount(line), c.amount) << c.price << " x " << c.qty;
    }
}

TEST(LineSums, DiscountBasisCountsLimitedOfferLinesAtTheirAmount)
{
    TSaleRecords lines;
    TSaleRecord& plain = lines.Add();
    plain.ListPrice = 30;
    plain.Quantity = 2;
    plain.NetAmount = 40; // discounted: the basis still uses the list amount 60
    plain.TaxAmount = 6.8;
    plain.ManualDiscount = 5.25;
    TSaleRecord& offer = lines.Add();
    offer.ListPrice = 100;
    offer.Quantity = 1;
    offer.NetAmount = 68.38;
    offer.TaxAmount = 11.62;
    offer.LimitedOffer = 1;
    offer.ManualDiscount = 1.5;

    EXPECT_DOUBLE_EQ(LineAmount(offer), 80.0);
    EXPECT_NEAR(DiscountBasis(lines), 140.0, 1e-9);
    EXPECT_DOUBLE_EQ(ManualDiscountTotal(lines), 6.75);

    TSaleRecords none;
    EXPECT_EQ(DiscountBasis(none), 0.0);
    EXPECT_EQ(ManualDiscountTotal(none), 0.0);
}
