#include "base/variantarray.h"
#include "sale/packets.h"
#include "sale/payments.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

struct Column {
    const char* name;
    FieldType type;
    int size;
};

void expectColumns(const DataPacket& p, std::initializer_list<Column> expected)
{
    ASSERT_EQ(p.columnCount(), int(expected.size()));
    int i = 0;
    for (const Column& c : expected) {
        const DataColumn& got = p.columns()[i++];
        EXPECT_EQ(got.name, QString::fromLatin1(c.name));
        EXPECT_EQ(got.type, c.type) << c.name;
        EXPECT_EQ(got.size, c.size) << c.name;
    }
}

constexpr FieldType T = FieldType::Text;
constexpr FieldType F = FieldType::Float;
constexpr FieldType I = FieldType::Integer;

class PaymentPacketTest : public ::testing::Test {
protected:
    void SetUp() override { BuildPaymentMethods(s); }
    // (f_Zffs, f_Zfje) of row r.
    std::pair<int, double> row(const DataPacket& p, int r)
    {
        return {p.value(r, "f_Zffs").toInt(), p.value(r, "f_Zfje").toDouble()};
    }
    SaleSession s;
};

} // namespace

TEST(Packets, ColumnsTypesAndSizes)
{
    expectColumns(SaleLinesPacket(TSaleRecords()), {{"f_Spbm", T, 15},
                                                    {"f_Xssl", F, 0},
                                                    {"f_Xsje", F, 0},
                                                    {"f_Xxsj", F, 0},
                                                    {"f_Zdzkzr", F, 0},
                                                    {"f_Sgzkzr", F, 0},
                                                    {"f_Sl", F, 0},
                                                    {"f_Ssje", F, 0},
                                                    {"f_Spmc", T, 60},
                                                    {"f_Flsp", I, 0},
                                                    {"f_Jldw", T, 20},
                                                    {"f_Yxjj", I, 0},
                                                    {"f_Zhjj", F, 0},
                                                    {"f_Tgj", F, 0},
                                                    {"f_Dwbl", F, 0}});
    expectColumns(
        PaymentPacket(SaleSession()),
        {{"f_Zffs", I, 0}, {"f_Zfje", F, 0}, {"f_Hykh", T, 30}, {"f_Hyzh", T, 30}, {"f_Hyklx", I, 0}});
    expectColumns(CardPacket(TAllXyk()), {{"f_Bmbm", T, 20},
                                          {"f_Djh", T, 20},
                                          {"f_Rzrq", T, 20},
                                          {"f_Jydm", T, 20},
                                          {"f_Khxx", T, 40},
                                          {"f_Jyje", T, 20},
                                          {"f_Jysk", T, 10},
                                          {"f_Jyrq", T, 10},
                                          {"f_2gxx", T, 255},
                                          {"f_3gxx", T, 255},
                                          {"f_zdxx", T, 20},
                                          {"f_Poslsh", T, 20},
                                          {"f_YposLsh", T, 20}});
}

TEST(Packets, SaleLineRowCarriesEveryValueInItsColumn)
{
    TSaleRecords lines;
    lines.Add().ProductCode = "first";
    TSaleRecord& l = lines.Add();
    l.ProductCode = "1002";
    l.Quantity = 2;
    l.NetAmount = 170.94;
    l.TaxAmount = 29.06;
    l.AutoDiscount = 10;
    l.ManualDiscount = 5;
    l.TaxRate = 17;
    l.ProductName = "彩电";
    l.RebateProduct = 1;
    l.Unit = "台";
    l.SoldThenPurchased = 1;
    l.LastPurchasePrice = 80.5;
    l.OfferValue = 3.5;
    l.PackingRate = 6;

    const DataPacket p = SaleLinesPacket(lines);
    ASSERT_EQ(p.rowCount(), 2);
    EXPECT_EQ(p.value(0, "f_Spbm").toString(), "first");
    const QVariantList expected = {QString("1002"), 2.0, 170.94,        29.06, 10.0, 5.0, 17.0, 200.0,
                                   QString("彩电"), 1,   QString("台"), 1,     80.5, 3.5, 6.0};
    for (int c = 0; c < p.columnCount(); ++c) {
        const QVariant v = p.value(1, c);
        if (p.columns()[c].type == FieldType::Float)
            EXPECT_NEAR(v.toDouble(), expected[c].toDouble(), 1e-9) << p.columns()[c].name.toStdString();
        else
            EXPECT_EQ(v, expected[c]) << p.columns()[c].name.toStdString();
    }
}

TEST_F(PaymentPacketTest, CashOverpaymentGivesEntryAndChangeRows)
{
    s.AmountDue = 100;
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 120, 0);
    const DataPacket p = PaymentPacket(s);
    ASSERT_EQ(p.rowCount(), 2);
    EXPECT_EQ(row(p, 0), std::make_pair(0, 120.0));
    EXPECT_EQ(row(p, 1), std::make_pair(-1, 20.0));
    EXPECT_EQ(p.value(0, "f_Hykh"), QVariant(QString()));
    EXPECT_FALSE(p.value(1, "f_Hykh").isValid());
    EXPECT_FALSE(p.value(1, "f_Hyzh").isValid());
    EXPECT_EQ(p.value(1, "f_Hyklx"), QVariant(0));
}

TEST_F(PaymentPacketTest, CardColumnsFollowTheEntryKind)
{
    s.Xyklx = "1";
    BuildPaymentMethods(s);
    AddPaymentEntry(s, "0005", paykind::MemberCard, "8800", "M01", paysource::MemberCard, "ignored", 30, 70);
    AddPaymentEntry(s, "0007", paykind::CustomerAccount, "ignored", "ignored", paysource::CustomerAccount,
                    "K01", 40, 0);
    // A welfare entry carries the customer code, not its certificate fields.
    AddPaymentEntry(s, "0006", paykind::Welfare, "ST", "SERIAL9", paysource::Welfare, "W01", 50, 0);
    AddPaymentEntry(s, "0004", paykind::BankCard, "6222", "x", paysource::BankCard, "y", 10, 0);
    AddPaymentEntry(s, "0002", paykind::Simple, "a", "b", 0, "c", 5, 0);
    s.AmountDue = 135;

    const DataPacket p = PaymentPacket(s);
    const struct {
        int typeNo;
        double amount;
        const char* hykh;
        const char* hyzh;
    } expected[] = {
        {6, 30, "8800", "M01"}, {7, 40, "K01", "K01"}, {8, 50, "W01", "W01"}, {5, 10, "", ""}, {4, 5, "", ""},
    };
    ASSERT_EQ(p.rowCount(), 6);
    for (int r = 0; r < 5; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(row(p, r), std::make_pair(expected[r].typeNo, expected[r].amount));
        EXPECT_EQ(p.value(r, "f_Hykh").toString(), expected[r].hykh);
        EXPECT_EQ(p.value(r, "f_Hyzh").toString(), expected[r].hyzh);
        EXPECT_EQ(p.value(r, "f_Hyklx"), QVariant(0));
    }
    EXPECT_EQ(row(p, 5), std::make_pair(-1, 0.0));
}

TEST_F(PaymentPacketTest, UnifiedRowOnlyWhenDocumentsWereCollected)
{
    s.AmountDue = 150;
    s.UnifiedTotal = 50; // left from an earlier checkout: no row without collected documents
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 150, 0);
    EXPECT_EQ(PaymentPacket(s).rowCount(), 2);

    for (auto* list : {&s.CollectedSales, &s.CollectedPreSales}) {
        s.CollectedSales.clear();
        s.CollectedPreSales.clear();
        *list << "0000000001"
              << "0000000002";
        const DataPacket p = PaymentPacket(s);
        ASSERT_EQ(p.rowCount(), 3);
        EXPECT_EQ(row(p, 1), std::make_pair(-1, 0.0));
        EXPECT_EQ(row(p, 2), std::make_pair(0, -50.0));
        EXPECT_EQ(p.value(2, "f_Hyklx"), QVariant(0));
    }
}

TEST(Packets, CardRowKeepsFieldOrder)
{
    TAllXyk xyk;
    TXykDetail& t = xyk.Add();
    QStringList values;
    for (int i = 0; i < 13; ++i)
        values << QString("v%1").arg(i);
    QString* fields[] = {&t.f_Bmbm, &t.f_Djh,  &t.f_Rzrq, &t.f_Jydm, &t.f_Khxx,   &t.f_Jyje,   &t.f_Jysk,
                         &t.f_Jyrq, &t.f_2gxx, &t.f_3gxx, &t.f_zdxx, &t.f_Poslsh, &t.f_YposLsh};
    for (int i = 0; i < 13; ++i)
        *fields[i] = values[i];

    const DataPacket p = CardPacket(xyk);
    ASSERT_EQ(p.rowCount(), 1);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(p.value(0, i).toString(), values[i]) << i;
}

TEST(Packets, BundleHoldsFiveElementsInOrder)
{
    SaleSession s;
    BuildPaymentMethods(s);
    AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 10, 0);
    s.CardTransactions.Add().f_Djh = "D1";
    s.SuspendFlag = 1;
    s.CollectedSales << "S1"
                     << "S2";

    const QVariant bundle = PaymentBundle(s);
    ASSERT_EQ(bundle.metaType(), QMetaType::fromType<QVariantList>());
    const QVariantList b = bundle.toList();
    ASSERT_EQ(b.size(), 5);
    bool ok = false;
    EXPECT_EQ(packetFromVariant(b[0], &ok).rowCount(), 3);
    EXPECT_TRUE(ok);
    EXPECT_EQ(packetFromVariant(b[1], &ok).value(0, "f_Djh").toString(), "D1");
    EXPECT_TRUE(ok);
    EXPECT_EQ(b[2], QVariant(1));
    EXPECT_EQ(b[3].toList(), QVariantList({QString("S1"), QString("S2")}));
    EXPECT_FALSE(b[4].isValid());
}

TEST(ListToVariantArray, StringsInOrderOrUnassignedWhenEmpty)
{
    EXPECT_FALSE(ListToVariantArray({}).isValid());
    const QVariant one = ListToVariantArray({"a"});
    ASSERT_EQ(one.metaType(), QMetaType::fromType<QVariantList>());
    EXPECT_EQ(one.toList(), QVariantList({QString("a")}));
    EXPECT_EQ(ListToVariantArray({"x", "", "y"}).toList(),
              QVariantList({QString("x"), QString(), QString("y")}));
}
