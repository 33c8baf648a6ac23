#include "sale/paymenttable.h"
#include "sale/salesession.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(PaymentMethods, TableInPickerOrderWithCreditCardKindFromXyklx)
{
    struct Row {
        const char* code;
        const char* name;
        int kind;
        int typeNo;
    };
    const Row expected[] = {{"0001", "现金", 0, 0},    {"0002", "转帐", 1, 4},   {"0003", "券类", 1, 2},
                            {"0004", "信用卡", -1, 5}, {"0005", "会员卡", 4, 6}, {"0006", "福利证", 3, 8},
                            {"0007", "消费", 2, 7}};
    const struct {
        const char* xyklx;
        int creditKind;
    } variants[] = {{"0", 1}, {"1", 5}, {"2", 5}, {"", 5}};

    for (const auto& v : variants) {
        SaleSession s;
        s.Xyklx = v.xyklx;
        BuildPaymentMethods(s);
        ASSERT_EQ(s.PaymentMethods.Count(), 7);
        for (int i = 0; i < 7; ++i) {
            const TPayment& m = s.PaymentMethods[i];
            const Row& r = expected[i];
            SCOPED_TRACE(std::string("Xyklx=") + v.xyklx + " code " + r.code);
            EXPECT_EQ(m.Code, r.code);
            EXPECT_EQ(m.Name, QString::fromUtf8(r.name));
            EXPECT_EQ(int(m.Kind), r.kind < 0 ? v.creditKind : r.kind);
            EXPECT_EQ(m.SaleTypeNo, r.typeNo);
        }
    }
}

TEST(PaymentMethods, BuildingAgainReplacesTheTable)
{
    SaleSession s;
    BuildPaymentMethods(s);
    BuildPaymentMethods(s);
    BuildSystemTools(s);
    BuildSystemTools(s);
    EXPECT_EQ(s.PaymentMethods.Count(), 7);
    ASSERT_EQ(s.SystemTools.Count(), 3);
    EXPECT_EQ(s.SystemTools[0].Code, "001");
    EXPECT_EQ(s.SystemTools[0].Caption, QString::fromUtf8("使用会员卡"));
    EXPECT_EQ(s.SystemTools[0].FormName, "FrmUseHyk");
    EXPECT_EQ(s.SystemTools[1].Code, "002");
    EXPECT_EQ(s.SystemTools[1].Caption, QString::fromUtf8("会员卡余额查询"));
    EXPECT_EQ(s.SystemTools[1].FormName, "FrmHykzf");
    EXPECT_EQ(s.SystemTools[2].Code, "003");
    EXPECT_EQ(s.SystemTools[2].Caption, QString::fromUtf8("重印上一张小票"));
    EXPECT_EQ(s.SystemTools[2].FormName, "ReprintReceipt");
}

TEST(PaymentMethods, TypeNumberByExactCodeFirstMatch)
{
    SaleSession s;
    BuildPaymentMethods(s);
    TPayment& duplicate = s.PaymentMethods.Add();
    duplicate.Code = "0002";
    duplicate.SaleTypeNo = 99;

    const struct {
        const char* code;
        int typeNo;
    } cases[] = {{"0002", 4}, {"0006", 8}, {"0001", 0}, {"9999", 0}, {"", 0}, {"2", 0}, {"0002 ", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(PaymentTypeNo(s.PaymentMethods, c.code), c.typeNo) << c.code;
    EXPECT_EQ(FindPaymentMethod(s.PaymentMethods, "0005"), &s.PaymentMethods[4]);
    EXPECT_EQ(FindPaymentMethod(s.PaymentMethods, "x"), nullptr);
}
