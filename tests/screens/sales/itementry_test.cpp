#include "screens/sales/itementry.h"

#include "fakehost.h"
#include "fakeprompts.h"
#include "productstore.h"
#include "qiantai/dispids.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;
using qiantai::test::FakePrompts;
using qiantai::test::ProductStore;

namespace {

class ItemEntryTest : public ::testing::Test {
public:
    ItemEntryTest()
    {
        session.HostObject = CoorDispRef(fake);
        session.Dwlx = QStringLiteral("11");
        session.Dybm = QStringLiteral("0101");
        session.Gzbm = QStringLiteral("010102");
        session.Pszxbm = QStringLiteral("PS01");
        session.Ckbm = QStringLiteral("CK01");
        session.Qyny = QStringLiteral("200401");
        session.Dqny = QStringLiteral("202406");
        session.Djh = QStringLiteral("0000000123");
        session.Kckz = QStringLiteral("0");
        store.products["100001"] = {ProductStore::Product("100001", "空调", 12.50)};
        store.products["100002"] = {ProductStore::Product("100002", "冰箱", 2999, 17, 1)};
        store.products["6901"] = {ProductStore::Product("200001", "电视 A", 1999, 17, 0, 0, "6901"),
                                  ProductStore::Product("200002", "电视 B", 2199, 17, 0, 0, "6901")};
        fake->release(); // the session holds it now
    }

    const TSaleRecord& line(int row) const { return session.SaleLines[row - 1]; }
    QList<int> calledIds() const { return fake->dispIds(); }
    QString sqlOf(int call) const { return fake->calls()[call].args[0].toString(); }

    FakeHost* fake = new FakeHost;
    ProductStore store{*fake};
    SaleSession session;
    FakePrompts prompts;
    TItemEntry entry{session, prompts};
};

const QString kDepartmentSql =
    "Select * From tbBmspdz Where '100001' like f_Spbm + '%' And f_Bmbm = '010102' ";
const QString kTradeSql =
    " Select * From tbSpjyztda  Where f_Jyztbm = ( Select f_Jyztbm From tbLsdkz Where f_Spbm = '100001' ) ";

} // namespace

TEST_F(ItemEntryTest, EnteredProductGoesThroughEveryCheckInOrderAndIsPricedAtQuantityOne)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);

    EXPECT_EQ(calledIds(), (QList<int>{dispid::PrepareProductLookup, dispid::LookupProduct, dispid::OpenQuery,
                                       dispid::OpenQuery, dispid::CheckStock, dispid::QueryLimitedOffer}));
    EXPECT_EQ(fake->calls()[1].args[0], QVariant("100001"));
    EXPECT_EQ(sqlOf(2), kDepartmentSql);
    EXPECT_EQ(sqlOf(3), kTradeSql);
    EXPECT_EQ(fake->calls()[4].args,
              (QVariantList{"100001", "010102", 1.0, 0.0, "200401", "202406", QVariant()}));
    const QVariantList offer = fake->calls()[5].args;
    EXPECT_EQ(offer.mid(0, 8), (QVariantList{0, "0101", "0000000123", 0, "100001", 1.0, 0.0, 12.5}));
    EXPECT_EQ(offer[11], QVariant("0"));

    ASSERT_EQ(session.SaleLines.Count(), 1);
    const TSaleRecord& l = line(1);
    EXPECT_EQ(l.ProductCode, "100001");
    EXPECT_EQ(l.ItemNo, "HH100001");
    EXPECT_EQ(l.ProductName, QString::fromUtf8("空调"));
    EXPECT_EQ(l.BarCode, "69100001");
    EXPECT_EQ(l.Unit, QString::fromUtf8("台"));
    EXPECT_DOUBLE_EQ(l.LastPurchasePrice, 10.0);
    EXPECT_DOUBLE_EQ(l.LowestPrice, 11.25);
    EXPECT_EQ(l.Quantity, 1);
    EXPECT_DOUBLE_EQ(l.ListPrice, 12.5);
    EXPECT_DOUBLE_EQ(l.UnitPrice, 12.5);
    EXPECT_DOUBLE_EQ(l.NetAmount, 10.68);
    EXPECT_DOUBLE_EQ(l.TaxAmount, 1.82);
    EXPECT_EQ(l.AutoDiscount, 0);
    EXPECT_EQ(l.LimitedOffer, 0);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ItemEntryTest, RefusedChecksShowTheirMessageRemoveTheLineAndAskNothingMore)
{
    const struct {
        const char* name;
        std::function<void(ItemEntryTest&)> setup;
        const char* message;
        int queries; // OpenQuery calls made
    } cases[] = {
        {"no department mapping", [](ItemEntryTest& t) { t.store.departmentAllows = false; },
         "部门商品对照不存在!", 1},
        {"department query fails", [](ItemEntryTest& t) { t.store.departmentFails = true; },
         "取部门商品对照时出错!", 1},
        {"not in the catalogue", [](ItemEntryTest& t) { t.store.tradeStatus.reset(); },
         "商品100001不在目录，不允许销售", 2},
        {"status forbids selling", [](ItemEntryTest& t) { t.store.tradeStatus = 0; }, "商品100001不允许销售",
         2},
        {"status query fails", [](ItemEntryTest& t) { t.store.tradeFails = true; },
         "判断商品经营状态信息时出错!", 2},
        {"central delivery of an amount-controlled product",
         [](ItemEntryTest& t) {
             t.session.Xsfs = 3;
             t.store.products["100001"] = {ProductStore::Product("100001", "x", 0)};
         },
         "在统一配送时，以销记进商品或金额控制商品不能销售！", 2},
        {"central delivery of a product booked as purchased when sold",
         [](ItemEntryTest& t) {
             t.session.Xsfs = 3;
             t.store.products["100001"] = {ProductStore::Product("100001", "x", 10, 17, 0, 1)};
         },
         "在统一配送时，以销记进商品或金额控制商品不能销售！", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.SaleLines.Clear();
        session.Xsfs = 0;
        store.PassAllChecks();
        store.products["100001"] = {ProductStore::Product("100001", "空调", 12.50)};
        store.products["200001"] = {ProductStore::Product("200001", "电视", 1999)};
        ASSERT_EQ(entry.EnterProduct(1, "200001"), EntryOutcome::Entered);
        c.setup(*this);
        fake->clearLog();
        prompts.messages.clear();

        EXPECT_EQ(entry.EnterProduct(2, "100001"), EntryOutcome::Refused);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.messages[0].text, QVariant(QString::fromUtf8(c.message)));
        EXPECT_EQ(prompts.messages[0].caption, QString::fromUtf8("错误提示"));
        EXPECT_EQ(prompts.messages[0].kind, InfoKind::Statement);
        EXPECT_EQ(fake->count(dispid::OpenQuery), c.queries);
        EXPECT_EQ(fake->count(dispid::CheckStock) + fake->count(dispid::CheckDeliveryStock), 0);
        EXPECT_EQ(fake->count(dispid::QueryLimitedOffer), 0);
        ASSERT_EQ(session.SaleLines.Count(), 1);
        EXPECT_EQ(line(1).ProductCode, "200001");
    }
}

TEST_F(ItemEntryTest, UnitTypeZeroTwoSkipsTheDepartmentCheckAndAmountControlledProductsSellAtZero)
{
    session.Dwlx = QStringLiteral("02");
    store.departmentAllows = false;
    store.products["300001"] = {ProductStore::Product("300001", "延保", 0)};
    ASSERT_EQ(entry.EnterProduct(1, "300001"), EntryOutcome::Entered);
    EXPECT_EQ(fake->count(dispid::OpenQuery), 1);
    EXPECT_TRUE(sqlOf(2).contains("tbSpjyztda"));
    EXPECT_EQ(line(1).NetAmount + line(1).TaxAmount, 0);
}

TEST_F(ItemEntryTest, LookupFailuresShowTheHostsTextAndChangeNothing)
{
    fake->refuse(dispid::PrepareProductLookup, QStringLiteral("商品库未就绪"));
    EXPECT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Unchanged);
    fake->answer(dispid::PrepareProductLookup, -1, QVariant());
    fake->refuse(dispid::LookupProduct, QVariantList{"第一行", "第二行"});
    EXPECT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Unchanged);
    fake->fail(dispid::LookupProduct, "gone");
    EXPECT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Unchanged);

    ASSERT_EQ(prompts.messages.size(), 3);
    EXPECT_EQ(prompts.messages[0].text, QVariant(QString::fromUtf8("商品库未就绪")));
    EXPECT_EQ(prompts.messages[1].text, QVariant(QVariantList{"第一行", "第二行"}));
    EXPECT_TRUE(prompts.messages[2].text.toString().contains("gone"));
    for (const auto& m : prompts.messages) {
        EXPECT_EQ(m.caption, QString::fromUtf8("错误提示"));
        EXPECT_EQ(m.kind, InfoKind::Statement);
    }
    EXPECT_TRUE(session.SaleLines.IsEmpty());
}

TEST_F(ItemEntryTest, UnknownCodeEndsTheEntrySilently)
{
    EXPECT_EQ(entry.EnterProduct(1, "999"), EntryOutcome::Unchanged);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(session.SaleLines.IsEmpty());
    EXPECT_EQ(fake->count(dispid::OpenQuery), 0);
}

TEST_F(ItemEntryTest, SharedBarCodeLetsTheCashierPickAndCancelLeavesNoLine)
{
    prompts.pickRow = 1;
    ASSERT_EQ(entry.EnterProduct(1, "6901"), EntryOutcome::Entered);
    ASSERT_EQ(prompts.picked.size(), 1);
    EXPECT_EQ(prompts.picked[0].rowCount(), 2);
    EXPECT_EQ(line(1).ProductCode, "200002");
    EXPECT_DOUBLE_EQ(line(1).UnitPrice, 2199);

    prompts.pickRow = -1;
    EXPECT_EQ(entry.EnterProduct(2, "6901"), EntryOutcome::Unchanged);
    EXPECT_EQ(session.SaleLines.Count(), 1);
}

TEST_F(ItemEntryTest, QuotesInCodesFromTheHostAndTheCounterGroupAreDoubledInTheChecks)
{
    session.Gzbm = QStringLiteral("01' or '1'='1");
    store.products["7"] = {ProductStore::Product("7'7", "x", 5)};
    ASSERT_EQ(entry.EnterProduct(1, "7"), EntryOutcome::Entered);
    EXPECT_EQ(sqlOf(2),
              "Select * From tbBmspdz Where '7''7' like f_Spbm + '%' And f_Bmbm = '01'' or ''1''=''1' ");
    EXPECT_EQ(sqlOf(3), " Select * From tbSpjyztda  Where f_Jyztbm = ( Select f_Jyztbm From tbLsdkz Where "
                        "f_Spbm = '7''7' ) ");
}

TEST_F(ItemEntryTest, LimitedOfferAtEntryPricesTheLine)
{
    store.products["100003"] = {ProductStore::Product("100003", "洗衣机", 999)};
    store.offers["0"] = {899.0, 100.0};
    ASSERT_EQ(entry.EnterProduct(1, "100003"), EntryOutcome::Entered);
    const TSaleRecord& l = line(1);
    EXPECT_EQ(l.LimitedOffer, 1);
    EXPECT_DOUBLE_EQ(l.UnitPrice, 899);
    EXPECT_DOUBLE_EQ(l.OfferValue, 100);
    EXPECT_DOUBLE_EQ(l.NetAmount + l.TaxAmount, 899);
    EXPECT_DOUBLE_EQ(l.AutoDiscount, 100);
}

TEST_F(ItemEntryTest, StockRefusalCoveredByAShortfallOfferIsAcceptedWithoutTheOfferPrice)
{
    store.stockAccepts = false;
    store.offers["2"] = {1.0, 2.0};
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    EXPECT_EQ(line(1).ShortfallAccepted, 1);
    EXPECT_DOUBLE_EQ(line(1).UnitPrice, 12.5);
    EXPECT_EQ(line(1).LimitedOffer, 0);
    const auto offers = fake->callsTo(dispid::QueryLimitedOffer);
    ASSERT_EQ(offers.size(), 2);
    EXPECT_EQ(offers[0].args[11], QVariant("2"));
    EXPECT_EQ(offers[1].args[11], QVariant("0"));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ItemEntryTest, StockRefusalShowsTheStockMessageNotTheOffersAndRemovesTheLine)
{
    store.stockAccepts = false;
    EXPECT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Refused);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, QVariant(QString::fromUtf8("库存不足")));
    EXPECT_EQ(prompts.messages[0].caption, QString());
    EXPECT_EQ(prompts.messages[0].kind, InfoKind::Notice);
    EXPECT_TRUE(session.SaleLines.IsEmpty());
}

TEST_F(ItemEntryTest, StockCheckRoutesByMethodAndSkipsWhenStockIsNotControlled)
{
    session.Xsfs = 3;
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    ASSERT_EQ(fake->count(dispid::CheckDeliveryStock), 1);
    EXPECT_EQ(fake->callsTo(dispid::CheckDeliveryStock)[0].args,
              (QVariantList{"100001", "0101", "PS01", "CK01", "202406", 1.0, 0.0, QVariant()}));
    EXPECT_EQ(fake->count(dispid::CheckStock), 0);

    fake->clearLog();
    session.Kckz = QStringLiteral("1");
    store.stockAccepts = false;
    EXPECT_TRUE(entry.StockCheck(1, 50));
    EXPECT_TRUE(fake->calls().isEmpty());
}

TEST_F(ItemEntryTest, SecondLineOfTheSameProductSendsTheFirstLinesQuantity)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    ASSERT_EQ(entry.LeaveQuantity(1, "3"), LeaveOutcome::Leave);
    fake->clearLog();
    ASSERT_EQ(entry.EnterProduct(2, "100001"), EntryOutcome::Entered);
    const auto stock = fake->callsTo(dispid::CheckStock);
    ASSERT_EQ(stock.size(), 1);
    EXPECT_EQ(stock[0].args[2], QVariant(1.0));
    EXPECT_EQ(stock[0].args[3], QVariant(3.0));
    EXPECT_EQ(fake->callsTo(dispid::QueryLimitedOffer)[0].args[3], QVariant(1)); // line position
    EXPECT_EQ(fake->callsTo(dispid::QueryLimitedOffer)[0].args[6], QVariant(3.0));
}

TEST_F(ItemEntryTest, NewQuantityIsStockCheckedOfferedAndRepricedDroppingTheManualDiscount)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    session.SaleLines[0].ManualDiscount = 1.5;
    fake->clearLog();
    EXPECT_EQ(entry.LeaveQuantity(1, "3"), LeaveOutcome::Leave);
    EXPECT_EQ(calledIds(), (QList<int>{dispid::CheckStock, dispid::QueryLimitedOffer}));
    EXPECT_EQ(fake->calls()[0].args[2], QVariant(3.0));
    EXPECT_EQ(fake->calls()[1].args[11], QVariant("1"));
    const TSaleRecord& l = line(1);
    EXPECT_EQ(l.Quantity, 3);
    EXPECT_EQ(l.ManualDiscount, 0);
    EXPECT_DOUBLE_EQ(l.NetAmount, 32.05);
    EXPECT_DOUBLE_EQ(l.TaxAmount, 5.45);

    fake->clearLog();
    EXPECT_EQ(entry.LeaveQuantity(1, "3.004"), LeaveOutcome::Leave); // same after rounding
    EXPECT_TRUE(fake->calls().isEmpty());
}

TEST_F(ItemEntryTest, RefusedQuantityKeepsTheOldOneAndANonNumberReportsTheConversion)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    store.stockAccepts = false;
    EXPECT_EQ(entry.LeaveQuantity(1, "9"), LeaveOutcome::Restore);
    EXPECT_EQ(line(1).Quantity, 1);
    EXPECT_EQ(prompts.texts(), QStringList{QString::fromUtf8("库存不足")});

    prompts.messages.clear();
    fake->clearLog();
    EXPECT_EQ(entry.LeaveQuantity(1, "2x"), LeaveOutcome::KeepText);
    EXPECT_EQ(entry.LeavePrice(1, ""), LeaveOutcome::KeepText);
    EXPECT_EQ(entry.LeaveAmount(1, "1", "1..5"), LeaveOutcome::KeepText);
    EXPECT_EQ(prompts.texts(),
              (QStringList{QString::fromUtf8("“2x”不是有效的数字"), QString::fromUtf8("“”不是有效的数字"),
                           QString::fromUtf8("“1..5”不是有效的数字")}));
    EXPECT_EQ(prompts.messages[0].caption, QString::fromUtf8("错误提示"));
    EXPECT_TRUE(fake->calls().isEmpty());
    EXPECT_DOUBLE_EQ(line(1).NetAmount + line(1).TaxAmount, 12.5);
}

TEST_F(ItemEntryTest, OfferOnAQuantityChangeTakesTheOfferPrice)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    store.offers["1"] = {10.0, 2.5};
    EXPECT_EQ(entry.LeaveQuantity(1, "2"), LeaveOutcome::Leave);
    EXPECT_EQ(line(1).LimitedOffer, 1);
    EXPECT_DOUBLE_EQ(line(1).UnitPrice, 10);
    EXPECT_DOUBLE_EQ(line(1).NetAmount + line(1).TaxAmount, 20);
    EXPECT_DOUBLE_EQ(line(1).AutoDiscount, 5);
}

TEST_F(ItemEntryTest, TypedPriceAndAmountRepriceTheLine)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    ASSERT_EQ(entry.LeaveQuantity(1, "3"), LeaveOutcome::Leave);
    EXPECT_EQ(entry.LeaveAmount(1, "3.00", "30"), LeaveOutcome::Leave);
    EXPECT_EQ(line(1).AutoDiscount, 0);
    EXPECT_DOUBLE_EQ(line(1).UnitPrice, 10);
    EXPECT_DOUBLE_EQ(line(1).ManualDiscount, 7.5);

    EXPECT_EQ(entry.LeavePrice(1, "12.49"), LeaveOutcome::Leave);
    EXPECT_EQ(line(1).ManualDiscount, 0);
    EXPECT_DOUBLE_EQ(line(1).NetAmount + line(1).TaxAmount, 37.47);
    EXPECT_DOUBLE_EQ(line(1).AutoDiscount, 0.03);
}

TEST_F(ItemEntryTest, AmountControlledLineKeepsItsAmountsWhenQuantityOrPriceChange)
{
    store.products["300001"] = {ProductStore::Product("300001", "延保", 0)};
    ASSERT_EQ(entry.EnterProduct(1, "300001"), EntryOutcome::Entered);
    ASSERT_EQ(entry.LeaveAmount(1, "1", "199"), LeaveOutcome::Leave);
    EXPECT_EQ(entry.LeaveQuantity(1, "2"), LeaveOutcome::Leave);
    EXPECT_EQ(entry.LeavePrice(1, "5"), LeaveOutcome::Leave);
    EXPECT_EQ(line(1).Quantity, 2);
    EXPECT_EQ(line(1).UnitPrice, 5);
    EXPECT_DOUBLE_EQ(line(1).NetAmount + line(1).TaxAmount, 199);
}

TEST_F(ItemEntryTest, EnterOnARowThatHoldsALineLeavesTheLineAsItIs)
{
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    ASSERT_EQ(entry.LeaveQuantity(1, "4"), LeaveOutcome::Leave);
    ASSERT_EQ(entry.LeaveAmount(1, "4", "45"), LeaveOutcome::Leave);
    fake->clearLog();

    EXPECT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Unchanged);
    EXPECT_TRUE(fake->calls().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    ASSERT_EQ(session.SaleLines.Count(), 1);
    EXPECT_EQ(line(1).Quantity, 4);
    EXPECT_DOUBLE_EQ(line(1).ManualDiscount, 5);
    EXPECT_DOUBLE_EQ(line(1).NetAmount + line(1).TaxAmount, 45);
}

// 999.00 with an offer of 899.00 that covers fewer units than asked for.
TEST_F(ItemEntryTest, QuantityTheOfferNoLongerCoversSellsAtTheListPriceAndReleasesTheReservation)
{
    store.products["100005"] = {ProductStore::Product("100005", "微波炉", 999)};
    store.offers["0"] = {899.0, 100.0};
    ASSERT_EQ(entry.EnterProduct(1, "100001"), EntryOutcome::Entered);
    ASSERT_EQ(entry.EnterProduct(2, "100005"), EntryOutcome::Entered);
    ASSERT_EQ(line(2).LimitedOffer, 1);
    fake->answer(dispid::ExecuteSql, -1, QVariant());
    store.offers.remove("1");
    fake->clearLog();

    EXPECT_EQ(entry.LeaveQuantity(2, "5"), LeaveOutcome::Leave);
    const TSaleRecord& l = line(2);
    EXPECT_EQ(l.Quantity, 5);
    EXPECT_EQ(l.LimitedOffer, 0);
    EXPECT_DOUBLE_EQ(l.UnitPrice, 999);
    EXPECT_EQ(l.OfferValue, 0);
    EXPECT_DOUBLE_EQ(l.NetAmount + l.TaxAmount, 4995);
    EXPECT_EQ(l.AutoDiscount, 0);
    // The cashier is told why, and the line's reservation goes.
    EXPECT_EQ(prompts.texts(), QStringList{"no offer"});
    ASSERT_EQ(fake->callsTo(dispid::ExecuteSql).size(), 1);
    EXPECT_EQ(fake->callsTo(dispid::ExecuteSql)[0].args[0],
              QVariant("Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '0000000123' And f_Dnxh = 1"));

    // Now a price of its own can be typed, and a quantity the offer covers
    // takes the offer again.
    EXPECT_EQ(entry.LeavePrice(2, "950"), LeaveOutcome::Leave);
    EXPECT_DOUBLE_EQ(line(2).NetAmount + line(2).TaxAmount, 4750);
    store.offers["1"] = {899.0, 100.0};
    EXPECT_EQ(entry.LeaveQuantity(2, "3"), LeaveOutcome::Leave);
    EXPECT_EQ(line(2).LimitedOffer, 1);
    EXPECT_DOUBLE_EQ(line(2).NetAmount + line(2).TaxAmount, 2697);
    EXPECT_EQ(fake->callsTo(dispid::ExecuteSql).size(), 1);
}
