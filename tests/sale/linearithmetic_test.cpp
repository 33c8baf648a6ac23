#include "sale/linearithmetic.h"

#include "base/money.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

TSaleRecord Line(double listPrice, double taxRate)
{
    TSaleRecord line;
    line.ListPrice = listPrice;
    line.UnitPrice = listPrice;
    line.TaxRate = taxRate;
    return line;
}

} // namespace

TEST(LineArithmetic, EveryRoundingModeOnQuantityTimesPrice)
{
    const struct {
        int xsfkz;
        double qty, price, list, tax;
        double amount, net, taxAmount, autoDiscount;
    } cases[] = {
        // cents: modes 0, 2 and 4 (2 and 4 act on the document total later)
        {0, 3, 12.50, 12.50, 17, 37.50, 32.05, 5.45, 0.00},
        {2, 3, 12.49, 12.50, 17, 37.47, 32.03, 5.44, 0.03},
        {4, 3, 12.49, 12.50, 17, 37.47, 32.03, 5.44, 0.03},
        {0, 1, 1.005, 1.005, 0, 1.01, 1.01, 0.00, 0.00},
        // mode 1 rounds each line to 0.1, mode 3 cuts it
        {1, 3, 12.49, 12.50, 17, 37.5, 32.05, 5.45, 0.00},
        {3, 3, 12.49, 12.50, 17, 37.4, 31.97, 5.43, 0.10},
        {1, 1, 12.25, 12.25, 0, 12.3, 12.3, 0.00, -0.05},
        {3, 2, 0.35, 0.35, 13, 0.7, 0.62, 0.08, 0.00},
        // a limited-offer price below the list price is an automatic discount
        {0, 2, 899, 999, 17, 1798, 1536.75, 261.25, 200},
        // amount-controlled product: list price 0
        {0, 1, 0, 0, 17, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TSaleRecord line = Line(c.list, c.tax);
        ComputeLineAmounts(line, c.qty, c.price, c.xsfkz);
        const std::string at = "mode " + std::to_string(c.xsfkz) + ", " + std::to_string(c.qty) + " x " +
                               std::to_string(c.price);
        EXPECT_DOUBLE_EQ(LineAmountOf(c.qty, c.price, c.xsfkz), c.amount) << at;
        EXPECT_DOUBLE_EQ(line.NetAmount, c.net) << at;
        EXPECT_DOUBLE_EQ(line.TaxAmount, c.taxAmount) << at;
        EXPECT_NEAR(line.NetAmount + line.TaxAmount, c.amount, 1e-9) << at;
        EXPECT_DOUBLE_EQ(line.AutoDiscount, c.autoDiscount) << at;
    }
}

TEST(LineArithmetic, ComputingAmountsLeavesQuantityPriceAndManualDiscountToTheCaller)
{
    TSaleRecord line = Line(12.5, 17);
    line.Quantity = 7;
    line.ManualDiscount = 4.2;
    ComputeLineAmounts(line, 3, 12.5, 0);
    EXPECT_EQ(line.Quantity, 7);
    EXPECT_EQ(line.UnitPrice, 12.5);
    EXPECT_EQ(line.ManualDiscount, 4.2);
}

TEST(LineArithmetic, TypedAmountTurnsTheDifferenceToTheListAmountIntoAManualDiscount)
{
    const struct {
        int xsfkz;
        double qty, list, typed;
        double amount, unitPrice, manual;
    } cases[] = {
        {0, 3, 12.50, 30.00, 30.00, 10.00, 7.50},
        {0, 3, 12.50, 30.004, 30.00, 10.00, 7.50},
        {1, 3, 12.50, 30.06, 30.1, 30.1 / 3, 7.40},
        {3, 3, 12.50, 30.09, 30.0, 10.00, 7.50},
        {4, 3, 12.50, 30.09, 30.09, 10.03, 7.41},
        {0, 2, 12.50, 30.00, 30.00, 15.00, -5.00}, // above the list amount
    };
    for (const auto& c : cases) {
        TSaleRecord line = Line(c.list, 17);
        line.AutoDiscount = 1.23;
        ApplyTypedAmount(line, c.qty, c.typed, c.xsfkz);
        const std::string at = "mode " + std::to_string(c.xsfkz) + ", typed " + std::to_string(c.typed);
        EXPECT_EQ(line.AutoDiscount, 0) << at;
        EXPECT_EQ(line.Quantity, c.qty) << at;
        EXPECT_NEAR(line.NetAmount + line.TaxAmount, c.amount, 1e-9) << at;
        EXPECT_DOUBLE_EQ(line.NetAmount, RoundTo(c.amount / 1.17, 2)) << at;
        EXPECT_DOUBLE_EQ(line.UnitPrice, c.unitPrice) << at;
        EXPECT_DOUBLE_EQ(line.ManualDiscount, c.manual) << at;
    }
}

TEST(LineArithmetic, TypedAmountOnAnAmountControlledOrZeroQuantityLineKeepsPriceAndManualDiscount)
{
    TSaleRecord controlled = Line(0, 13);
    controlled.ManualDiscount = 0;
    ApplyTypedAmount(controlled, 1, 56.5, 0);
    EXPECT_DOUBLE_EQ(controlled.NetAmount + controlled.TaxAmount, 56.5);
    EXPECT_DOUBLE_EQ(controlled.NetAmount, 50.0);
    EXPECT_EQ(controlled.UnitPrice, 0);
    EXPECT_EQ(controlled.ManualDiscount, 0);

    TSaleRecord none = Line(12.5, 17);
    none.ManualDiscount = 2;
    ApplyTypedAmount(none, 0.004, 10, 0);
    EXPECT_EQ(none.Quantity, 0);
    EXPECT_EQ(none.UnitPrice, 12.5);
    EXPECT_EQ(none.ManualDiscount, 2);
    EXPECT_DOUBLE_EQ(none.NetAmount + none.TaxAmount, 10);
}
