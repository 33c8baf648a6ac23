#include "sale/payments.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(Payments, EntryKeepsItsFieldsAndRaisesAmountPaid)
{
    SaleSession s;
    const TPayDetail& e = AddPaymentEntry(s, "0005", paykind::MemberCard, "8800123", "M01",
                                          paysource::MemberCard, "", 30.00, 100.00 - 30.00);
    EXPECT_EQ(e.Code, "0005");
    EXPECT_EQ(e.Kind, paykind::MemberCard);
    EXPECT_EQ(e.CardNo, "8800123");
    EXPECT_EQ(e.MemberAccount, "M01");
    EXPECT_EQ(e.Source, paysource::MemberCard);
    EXPECT_TRUE(e.CustomerCode.isEmpty());
    EXPECT_DOUBLE_EQ(e.Amount, 30.00);
    EXPECT_DOUBLE_EQ(e.CardBalance, 70.00);

    AddPaymentEntry(s, "0007", paykind::CustomerAccount, "", "", paysource::CustomerAccount, "K001", 12.5, 0);
    EXPECT_EQ(s.PaymentEntries[1].CustomerCode, "K001");
    EXPECT_EQ(s.PaymentEntries.Count(), 2);
    EXPECT_DOUBLE_EQ(s.AmountPaid, 42.5);
}

TEST(Payments, TotalsByCodeAndByKind)
{
    SaleSession s;
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 50, 0);
    AddPaymentEntry(s, "0002", paykind::Simple, "", "", 0, "", 20, 0);
    AddPaymentEntry(s, "0003", paykind::Simple, "", "", 0, "", 5.5, 0);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 10.25, 0);

    EXPECT_DOUBLE_EQ(TotalByCode(s, "0001"), 60.25);
    EXPECT_DOUBLE_EQ(TotalByCode(s, "0004"), 0.0);
    EXPECT_DOUBLE_EQ(TotalByKind(s, paykind::Simple), 25.5);
    EXPECT_DOUBLE_EQ(TotalByKind(s, paykind::MemberCard), 0.0);
}

TEST(Payments, CapLetsCardsExceedWhatIsDueOnlyByTheCashTaken)
{
    const struct {
        double due;
        double cashTaken;
        double otherTaken; // a transfer already taken, not cash
        quint8 kind;
        double amount;
        bool accepted;
    } cases[] = {
        {100, 0, 0, paykind::MemberCard, 100.004, true},
        {100, 0, 0, paykind::MemberCard, 100.01, false},
        {100, 50, 0, paykind::MemberCard, 100, true},
        {100, 50, 0, paykind::MemberCard, 100.01, false},
        {100, 0, 0, paykind::MemberCard, 99.99, true},
        {100, 0, 30, paykind::BankCard, 70, true},
        {100, 0, 30, paykind::BankCard, 70.01, false},
        {100, 0, 30, paykind::Welfare, 100, false},
        {100, 0, 0, paykind::CustomerAccount, 150, false},
        {100, 0, 0, paykind::Cash, 1000, true},
        {0, 0, 0, paykind::MemberCard, 0, true},
        // Change comes out of cash: a transfer or coupon may not leave more.
        {100, 0, 0, paykind::Simple, 1000, false},
        {100, 0, 0, paykind::Simple, 100.004, true},
        {100, 50, 0, paykind::Simple, 100, true},
        {100, 50, 0, paykind::Simple, 100.01, false},
    };
    for (const auto& c : cases) {
        SaleSession s;
        s.AmountDue = c.due;
        if (c.cashTaken > 0)
            AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", c.cashTaken, 0);
        if (c.otherTaken > 0)
            AddPaymentEntry(s, "0002", paykind::Simple, "", "", 0, "", c.otherTaken, 0);
        EXPECT_EQ(CheckPaymentCap(s, c.kind, c.amount), c.accepted)
            << "due " << c.due << " cash " << c.cashTaken << " other " << c.otherTaken << " kind "
            << int(c.kind) << " amount " << c.amount;
    }
}
