#include "screens/sales/limitedoffer.h"

#include "fakehost.h"
#include "qiantai/dispids.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;

namespace {

void AddLine(TSaleRecords& lines, const char* code, double qty, int shortfall = 0, double price = 10)
{
    TSaleRecord& line = lines.Add();
    line.ProductCode = QString::fromUtf8(code);
    line.Quantity = qty;
    line.UnitPrice = price;
    line.ShortfallAccepted = shortfall;
}

class LimitedOfferTest : public ::testing::Test {
protected:
    LimitedOfferTest()
    {
        session.Dybm = QStringLiteral("0101");
        session.Djh = QStringLiteral("0000000123");
        session.Dqny = QStringLiteral("202406");
        session.Pszxbm = QStringLiteral("PS01");
        AddLine(session.SaleLines, "100001", 2);
        AddLine(session.SaleLines, "100002", 1);
        AddLine(session.SaleLines, "100001", 3, 1, 899);
        AddLine(session.SaleLines, "100001", 0.5);
    }
    ~LimitedOfferTest() override { fake->release(); }

    FakeHost* fake = new FakeHost;
    HostService host{fake};
    SaleSession session;
};

} // namespace

TEST_F(LimitedOfferTest, OtherLinesQuantityAddsTheSameProductOnTheOtherLinesOnly)
{
    const TSaleRecords& lines = session.SaleLines;
    EXPECT_DOUBLE_EQ(OtherLinesQuantity(lines, 1), 3.5);
    EXPECT_DOUBLE_EQ(OtherLinesQuantity(lines, 3), 2.5);
    EXPECT_DOUBLE_EQ(OtherLinesQuantity(lines, 2), 0); // no other line of 100002
    EXPECT_DOUBLE_EQ(OtherLinesQuantity(lines, 5), 0); // past the end
    EXPECT_DOUBLE_EQ(OtherLinesQuantity(lines, 0), 0);
}

TEST_F(LimitedOfferTest, CheckSendsTheLineInTheHostsOrderAndTakesTheOutValues)
{
    fake->on(dispid::QueryLimitedOffer, [](QVariantList& a) {
        a[8] = 1;
        a[9] = 799.0;
        a[10] = 200.0;
        return QVariant(true);
    });
    OfferAnswer answer;
    ASSERT_TRUE(CheckLimitedOffer(host, session, 3, 4, offermode::QuantityChange, answer));
    ASSERT_EQ(fake->count(dispid::QueryLimitedOffer), 1);
    const QVariantList args = fake->calls()[0].args;
    EXPECT_EQ(args, (QVariantList{0, "0101", "0000000123", 2, "100001", 4.0, 2.5, 899.0, QVariant(),
                                  QVariant(), QVariant(), "1"}));
    EXPECT_DOUBLE_EQ(answer.offerPrice, 799.0);
    EXPECT_DOUBLE_EQ(answer.offerValue, 200.0);
}

TEST_F(LimitedOfferTest, ShortfallModeLeavesOutLinesWhoseShortfallWasAcceptedAndCentralSaleSendsOne)
{
    fake->answer(dispid::QueryLimitedOffer, -1, QVariant(), false);
    session.Xsfs = 3;
    OfferAnswer answer;
    EXPECT_FALSE(CheckLimitedOffer(host, session, 1, 1, offermode::Shortfall, answer));
    EXPECT_FALSE(CheckLimitedOffer(host, session, 1, 1, offermode::Entry, answer));
    const auto calls = fake->callsTo(dispid::QueryLimitedOffer);
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].args[0], QVariant(1));
    EXPECT_EQ(calls[0].args[6], QVariant(0.5)); // line 3 (shortfall accepted) not counted
    EXPECT_EQ(calls[0].args[11], QVariant("2"));
    EXPECT_EQ(calls[1].args[6], QVariant(3.5));
    EXPECT_EQ(calls[1].args[11], QVariant("0"));
}

TEST_F(LimitedOfferTest, CheckOfALineThatDoesNotExistAsksNothing)
{
    OfferAnswer answer;
    EXPECT_FALSE(CheckLimitedOffer(host, session, 5, 1, offermode::Entry, answer));
    EXPECT_FALSE(CheckLimitedOffer(host, session, 0, 1, offermode::Entry, answer));
    EXPECT_TRUE(fake->calls().isEmpty());
}

TEST_F(LimitedOfferTest, ReleaseDeletesOneLinePositionOrTheWholeDocument)
{
    fake->answer(dispid::ExecuteSql, -1, QVariant());
    EXPECT_TRUE(ReleaseOfferReservation(host, session, 3));
    EXPECT_TRUE(ReleaseOfferReservation(host, session, -1));
    const auto calls = fake->callsTo(dispid::ExecuteSql);
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(
        calls[0].args,
        QVariantList{"Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '0000000123' And f_Dnxh = 2"});
    EXPECT_EQ(calls[1].args,
              QVariantList{"Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '0000000123' "});
    EXPECT_EQ(fake->count(dispid::ExecuteCentreSql), 0);
}

TEST_F(LimitedOfferTest, ReleaseOfACentralDeliverySaleGoesToTheCentreAndReturnsTheHostsAnswer)
{
    session.Xsfs = 3;
    session.Djh = QStringLiteral("12'3");
    fake->refuse(dispid::ExecuteCentreSql, QStringLiteral("refused"));
    EXPECT_FALSE(ReleaseOfferReservation(host, session, 1));
    const auto calls = fake->callsTo(dispid::ExecuteCentreSql);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].args,
              (QVariantList{"Delete From tbXsxlqK Where f_Ny = '202406' And f_Djh = '12''3' And f_Dnxh = 0",
                            "PS01"}));
    EXPECT_EQ(fake->count(dispid::ExecuteSql), 0);
}
