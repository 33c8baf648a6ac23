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

// The reservations are kept by line position: after a deletion the lines
// below move up one position and their reservations with them.
TEST_F(LimitedOfferTest, DeletedLinesReservationGoesAndTheLinesBelowKeepTheirs)
{
    fake->answer(dispid::ExecuteSql, -1, QVariant());
    fake->answer(dispid::ExecuteCentreSql, -1, QVariant());
    const QString where = QStringLiteral(" Where f_Ny = '202406' And f_Djh = '0000000123' And f_Dnxh = ");
    const struct {
        int xsfs;
        int deleted; // of the four lines of the fixture
        QStringList statements;
    } cases[] = {
        {0,
         2,
         {"Delete From tbXsxlqK" + where + "1", "Update tbXsxlqK Set f_Dnxh = 1" + where + "2",
          "Update tbXsxlqK Set f_Dnxh = 2" + where + "3"}},
        {0, 4, {"Delete From tbXsxlqK" + where + "3"}},
        {3, 3, {"Delete From tbXsxlqK" + where + "2", "Update tbXsxlqK Set f_Dnxh = 2" + where + "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleted);
        fake->clearLog();
        session.Xsfs = c.xsfs;
        session.SaleLines.Clear();
        for (const char* code : {"100001", "100005", "100005", "100002"})
            AddLine(session.SaleLines, code, 1);
        session.SaleLines.Delete(c.deleted - 1);
        EXPECT_TRUE(ReleaseDeletedLineOffer(host, session, c.deleted));
        QStringList sent;
        for (const auto& call : fake->calls()) {
            EXPECT_EQ(call.dispId, c.xsfs == 3 ? dispid::ExecuteCentreSql : dispid::ExecuteSql);
            if (c.xsfs == 3) {
                EXPECT_EQ(call.args.value(1), QVariant("PS01"));
            }
            sent << call.args.value(0).toString();
        }
        EXPECT_EQ(sent, c.statements);
    }
}

TEST_F(LimitedOfferTest, RefusedReleaseMovesNoReservation)
{
    fake->refuse(dispid::ExecuteSql, QStringLiteral("refused"));
    session.SaleLines.Delete(0);
    EXPECT_FALSE(ReleaseDeletedLineOffer(host, session, 1));
    EXPECT_EQ(fake->calls().size(), 1);
}
