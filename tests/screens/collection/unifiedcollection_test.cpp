#include "screens/collection/unifiedcollection.h"

#include "fakehost.h"
#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"
#include "sale/salesession.h"

#include <gmock/gmock.h>

#include <QHash>

namespace qiantai {
namespace {

using test::FakeHost;

// A host whose month tables hold collectable documents by number.
class UnifiedCollectionTest : public ::testing::Test {
protected:
    ~UnifiedCollectionTest() override { fake->release(); }

    void SetUp() override
    {
        s.Dqny = QStringLiteral("201001");
        s.Syybm = QStringLiteral("0007");
        s.AmountDue = 500;
        fake->answer(dispid::GetCurrentDate, 0, QStringLiteral("20100115"));
        fake->on(dispid::OpenQuery, [this](QVariantList& args) {
            const QString sql = args[0].toString();
            for (auto it = cash.constBegin(); it != cash.constEnd(); ++it)
                if (sql.contains(QStringLiteral("f_Djh = '%1'").arg(it.key()))) {
                    args[1] = packetToVariant(FakeHost::table({QStringLiteral("f_Dsje")}, {{it.value()}}));
                    return QVariant(true);
                }
            args[1] = packetToVariant(FakeHost::table({QStringLiteral("f_Dsje")}));
            return QVariant(true);
        });
    }

    QStringList queries() const
    {
        QStringList out;
        for (const auto& c : fake->callsTo(dispid::OpenQuery))
            out << c.args[0].toString();
        return out;
    }

    SaleSession s;
    FakeHost* fake = new FakeHost;
    HostService host{fake};
    QHash<QString, double> cash;
};

TEST_F(UnifiedCollectionTest, SaleQueryTextIsExact)
{
    cash[QStringLiteral("0000000012")] = 100;
    EXPECT_TRUE(AddUnifiedDocument(s, host, false, QStringLiteral("0000000012")));
    ASSERT_EQ(queries().size(), 1);
    // What the document still owes: its last cash payment row, the
    // suspension entry.
    EXPECT_EQ(queries()[0], QStringLiteral(" Select IsNull((Select P.f_Zfje From tb201001_Xszffs P"
                                           " Where P.f_Djh = A.f_Djh And P.f_Xh = (Select Max(Q.f_Xh)"
                                           " From tb201001_Xszffs Q Where Q.f_Djh = A.f_Djh"
                                           " And Q.f_Zffs = 0)), A.f_Xjje) f_Dsje From tb201001_Xsmxzb A "
                                           " Where A.f_Rzrq = '20100115' "
                                           "   And A.f_Syybm = '0007' "
                                           "   And A.f_Xsbz Like '%统收单据XXXX%' "
                                           "   And A.f_Djh = '0000000012' "));
    EXPECT_EQ(fake->dispIds(), (QList<int>{dispid::GetCurrentDate, dispid::OpenQuery}));
}

TEST_F(UnifiedCollectionTest, PreSaleQueryUsesMakingDateAndPreSaleTable)
{
    cash[QStringLiteral("201001000305")] = 80;
    EXPECT_TRUE(AddUnifiedDocument(s, host, true, QStringLiteral("201001000305")));
    EXPECT_EQ(queries()[0], QStringLiteral(" Select IsNull((Select P.f_Zfje From tb201001_yXszffs P"
                                           " Where P.f_Djh = A.f_Djh And P.f_Xh = (Select Max(Q.f_Xh)"
                                           " From tb201001_yXszffs Q Where Q.f_Djh = A.f_Djh"
                                           " And Q.f_Zffs = 0)), A.f_Xjje) f_Dsje From tb201001_yXsmxzb A "
                                           " Where A.f_Zdrq = '20100115' "
                                           "   And A.f_Syybm = '0007' "
                                           "   And A.f_Xsbz Like '%统收单据XXXX%' "
                                           "   And A.f_Djh = '201001000305' "));
    EXPECT_EQ(s.CollectedPreSales, QStringList{QStringLiteral("201001000305")});
    EXPECT_TRUE(s.CollectedSales.isEmpty());
}

TEST_F(UnifiedCollectionTest, QuotesInCodesCannotChangeTheStatement)
{
    s.Syybm = QStringLiteral("7' Or '1'='1");
    AddUnifiedDocument(s, host, false, QStringLiteral("1' --"));
    EXPECT_THAT(queries()[0].toStdString(), ::testing::HasSubstr("A.f_Syybm = '7'' Or ''1''=''1' "));
    EXPECT_THAT(queries()[0].toStdString(), ::testing::HasSubstr("A.f_Djh = '1'' --' "));
}

TEST_F(UnifiedCollectionTest, TwoDocumentsRaiseDueAndTotalOnceEach)
{
    cash[QStringLiteral("0000000012")] = 100;
    cash[QStringLiteral("0000000305")] = 250.5;
    QString error;
    EXPECT_TRUE(CollectTypedDocuments(s, host, false, QStringLiteral("12, 305,12"), error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(s.CollectedSales, (QStringList{QStringLiteral("0000000012"), QStringLiteral("0000000305")}));
    EXPECT_DOUBLE_EQ(s.UnifiedTotal, 350.5);
    EXPECT_DOUBLE_EQ(s.AmountDue, 850.5);
    // The repeated number is not asked for again.
    EXPECT_EQ(queries().size(), 2);

    // A later checkout starts with empty lists and counts it again.
    s.CollectedSales.clear();
    EXPECT_TRUE(AddUnifiedDocument(s, host, false, QStringLiteral("0000000012")));
    EXPECT_DOUBLE_EQ(s.UnifiedTotal, 450.5);
}

TEST_F(UnifiedCollectionTest, UnknownOrRefusedDocumentChangesNothing)
{
    EXPECT_FALSE(AddUnifiedDocument(s, host, false, QStringLiteral("0000000099")));
    fake->refuse(dispid::OpenQuery, QStringLiteral("断网"));
    EXPECT_FALSE(AddUnifiedDocument(s, host, true, QStringLiteral("201001000001")));
    EXPECT_TRUE(s.CollectedSales.isEmpty());
    EXPECT_TRUE(s.CollectedPreSales.isEmpty());
    EXPECT_DOUBLE_EQ(s.AmountDue, 500);
    EXPECT_DOUBLE_EQ(s.UnifiedTotal, 0);
}

TEST_F(UnifiedCollectionTest, NoQueryWithoutAValidMonth)
{
    s.Dqny = QStringLiteral("2010'1");
    EXPECT_FALSE(AddUnifiedDocument(s, host, false, QStringLiteral("0000000012")));
    EXPECT_TRUE(queries().isEmpty());
}

TEST(UnifiedNumbers, TypedNumbersArePadded)
{
    EXPECT_EQ(UnifiedSaleNumber(12), QStringLiteral("0000000012"));
    EXPECT_EQ(UnifiedSaleNumber(12345678901), QStringLiteral("2345678901"));
    EXPECT_EQ(UnifiedPreSaleNumber(QStringLiteral("201001"), 305), QStringLiteral("201001000305"));
    EXPECT_EQ(UnifiedPreSaleNumber(QStringLiteral("201001"), 1234567), QStringLiteral("201001234567"));
}

TEST_F(UnifiedCollectionTest, TypedPreSalesGetTheMonthPrefix)
{
    cash[QStringLiteral("201001000012")] = 10;
    QString error;
    EXPECT_TRUE(CollectTypedDocuments(s, host, true, QStringLiteral("12"), error));
    EXPECT_EQ(s.CollectedPreSales, QStringList{QStringLiteral("201001000012")});
}

TEST_F(UnifiedCollectionTest, BlankInputTakesNothing)
{
    QString error;
    EXPECT_TRUE(CollectTypedDocuments(s, host, false, QStringLiteral("   "), error));
    EXPECT_TRUE(fake->calls().isEmpty());
}

TEST_F(UnifiedCollectionTest, NonNumberStopsAfterTheDocumentsBeforeIt)
{
    cash[QStringLiteral("0000000012")] = 100;
    cash[QStringLiteral("0000000013")] = 1;
    QString error;
    EXPECT_FALSE(CollectTypedDocuments(s, host, false, QStringLiteral("12,abc,13"), error));
    EXPECT_THAT(error.toStdString(), ::testing::HasSubstr("abc"));
    EXPECT_EQ(s.CollectedSales, QStringList{QStringLiteral("0000000012")});
    EXPECT_DOUBLE_EQ(s.AmountDue, 600);
}

} // namespace
} // namespace qiantai
