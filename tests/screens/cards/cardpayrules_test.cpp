#include "sale/salesession.h"
#include "screens/cards/cardpayrules.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

SaleSession Store(const QString& dwlx)
{
    SaleSession s;
    s.Dwlx = dwlx;
    s.Dybm = QStringLiteral("0101");
    s.Gzbm = QStringLiteral("G01");
    s.Djh = QStringLiteral("D1");
    s.Syybm = QStringLiteral("0012");
    s.Syymc = QStringLiteral("张三");
    return s;
}

const QDateTime Now(QDate(2004, 6, 15), QTime(9, 8, 7));

} // namespace

TEST(CardPayRules, UnitCodeOfPaymentsAndOfTheWelfareRecordDifferForUnitType10)
{
    const struct {
        const char* dwlx;
        const char* payment;
        const char* welfareRecord;
    } cases[] = {{"02", "0101", "0101"}, {"10", "G01", "0101"}, {"11", "G01", "G01"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dwlx);
        const SaleSession s = Store(QString::fromLatin1(c.dwlx));
        TCardInfo card;
        EXPECT_EQ(MemberCardPaymentRequest(s, card, 1).at(2).toString(), QLatin1String(c.payment));
        EXPECT_EQ(WelfarePaymentRequest(s, QStringLiteral("7")).at(2).toString(), QLatin1String(c.payment));
        EXPECT_EQ(WelfareConsumptionRequest(s, TFlzInfo(), Now).at(1).toString(),
                  QLatin1String(c.welfareRecord));
    }
}

TEST(CardPayRules, MemberAndWelfareRequestsCarryTheirElementsInOrder)
{
    const SaleSession s = Store(QStringLiteral("02"));
    TCardInfo card;
    card.CardNo = QStringLiteral("8800000001");
    card.MemberAccount = QStringLiteral("M001");
    const QVariantList pay = MemberCardPaymentRequest(s, card, 120.5);
    EXPECT_EQ(pay, (QVariantList{"0", "D1", "0101", "8800000001", "M001", 120.5, QString(), "0012",
                                 QStringLiteral("张三"), QString()}));
    EXPECT_EQ(pay.at(5).typeId(), QMetaType::Double);

    EXPECT_EQ(WelfareQueryRequest(QStringLiteral("7700000001"), s),
              (QVariantList{"1", "7700000001", "0101"}));
    EXPECT_EQ(WelfarePaymentRequest(s, QStringLiteral("7700000001")),
              (QVariantList{"1", "D1", "0101", "7700000001", QString(), "0012", QStringLiteral("张三"),
                            QString()}));

    TFlzInfo c;
    c.CertificateNo = QStringLiteral("7700000001");
    c.FaceValue = 50.01;
    const QVariantList record = WelfareConsumptionRequest(s, c, Now);
    EXPECT_EQ(record, (QVariantList{"3", "0101", "D1", "PCA", "7700000001", 5001.0, "090807", "0615",
                                    QString(), QString(), QString()}));
}

TEST(CardPayRules, CertificateUsabilityAndTheMoreThan50Rule)
{
    const struct {
        double face, element3, remaining;
        bool usable;
    } cases[] = {
        {30.004, 0, 30, true},
        {30.006, 0, 30, false},
        {100, 20, 80.004, true},
        {100, 20, 79.99, false},
    };
    for (const auto& c : cases) {
        TFlzInfo f;
        f.FaceValue = c.face;
        f.Element3 = c.element3;
        EXPECT_EQ(CertificateUsable(f, c.remaining), c.usable) << c.face << " " << c.remaining;
    }
    // More than 50 beyond the money tolerance, on the unrounded remainder.
    const struct {
        double remaining;
        bool another;
    } remains[] = {
        {70, true},      {50.01, true},          {50.006, true},         {50, false},
        {50.004, false}, {120 - 50 - 50, false}, {200 - 149.995, false}, // 50.005 within the tolerance;
                                                                         // rounded it was 50.01
    };
    for (const auto& r : remains)
        EXPECT_EQ(WantsAnotherCertificate(r.remaining), r.another) << r.remaining;
}

TEST(CardPayRules, MemberBalanceCheckHasTheMoneyTolerance)
{
    EXPECT_TRUE(MemberBalanceUsable(-0.004));
    EXPECT_TRUE(MemberBalanceUsable(0));
    EXPECT_FALSE(MemberBalanceUsable(-0.006));
    TCardInfo card;
    card.CardNo = QStringLiteral("8800000001");
    card.Balance = 500;
    EXPECT_EQ(MemberQueryText(card), QStringLiteral("卡号:8800000001 余额:500.00"));
}

TEST(CardPayRules, CertificateBookingIsOneEntryOfTheFullFaceValue)
{
    SaleSession s = Store(QStringLiteral("02"));
    s.AmountDue = 120;
    TPayment m;
    m.Code = QStringLiteral("0005");
    m.Kind = paykind::Welfare;
    TFlzInfo c;
    c.FaceValue = 100;
    c.Element3 = 20;
    c.Serial = QStringLiteral("LS9");
    BookCertificate(s, m, c);
    ASSERT_EQ(s.PaymentEntries.Count(), 1);
    const TPayDetail& e = s.PaymentEntries.Item(0);
    EXPECT_EQ(e.Code, "0005");
    EXPECT_EQ(e.Kind, paykind::Welfare);
    EXPECT_EQ(e.CardNo, QString());
    EXPECT_EQ(e.MemberAccount, "LS9");
    EXPECT_EQ(e.Source, paysource::Welfare);
    EXPECT_EQ(e.CustomerCode, QString());
    EXPECT_DOUBLE_EQ(e.Amount, 100);
    EXPECT_DOUBLE_EQ(e.CardBalance, 0);
    EXPECT_DOUBLE_EQ(s.AmountPaid, 100);
}

TEST(CardPayRules, BankCardRecordFromApprovalAndRefusal)
{
    const SaleSession s = Store(QStringLiteral("02"));
    // Response: code, 2 filler bytes, card field 9-28, 4 bytes, field 33-38,
    // filler up to 79, field 80-91.
    const QByteArray tail = QByteArray("  ") + QByteArray("622202******7890    ") + "    " + "TRK3  " +
                            QByteArray(41, ' ') + "TRK2TRK2TRK2";
    TXykDetail ok;
    ApplyCardResponse(ok, ParseCardResponse("000000" + tail), 123.45);
    CompleteCardRecord(ok, s, QStringLiteral("20040615"), Now);
    EXPECT_EQ(ok.f_Jydm, "PCA");
    EXPECT_EQ(ok.f_Jyje, "12345");
    EXPECT_EQ(ok.f_Khxx, "622202******7890");
    EXPECT_EQ(ok.f_3gxx, "TRK3");
    EXPECT_EQ(ok.f_2gxx, "TRK2TRK2TRK2");
    EXPECT_EQ(BankCardConsumptionRequest(ok),
              (QVariantList{"2", "0101", "D1", "PCA", "622202******7890", "12345", "090807", "0615",
                            "TRK2TRK2TRK2", "TRK3", QString()}));
    EXPECT_EQ(ok.f_Rzrq, "20040615");

    TXykDetail refused;
    const CardResponse r = ParseCardResponse("A01234" + tail);
    ApplyCardResponse(refused, r, 123.45);
    EXPECT_EQ(refused.f_Jydm, "A34");
    EXPECT_EQ(refused.f_Jyje, "0");
    EXPECT_EQ(BankCardRefusalText(r), QStringLiteral("交易失败，错误码A01234"));
}

TEST(CardPayRules, CardNumbersATerminalReturnsAreMaskedBeforeTheyAreKept)
{
    // A terminal library that hands back the whole card number, in the card
    // field and in a track field.
    const QByteArray tail = QByteArray("  ") + QByteArray("6222021234567890    ") + "    " + "TRK3  " +
                            QByteArray(41, ' ') + "622202123456";
    TXykDetail record;
    ApplyCardResponse(record, ParseCardResponse("000000" + tail), 1);
    EXPECT_EQ(record.f_Khxx, "622202******7890");
    // Twelve digits (the terminals' reference numbers) stay.
    EXPECT_EQ(record.f_2gxx, "622202123456");
}

TEST(CardPayRules, BankCardRequestCarriesTheSwipeAndFen)
{
    const SaleSession s = Store(QStringLiteral("02"));
    const QByteArray r = BankCardRequest(s, QStringLiteral(";6222021234567890=49121010000?"), 0.29);
    ASSERT_EQ(r.size(), 189);
    EXPECT_EQ(r.mid(2, 12), "000000000029");
    EXPECT_EQ(r.mid(42, 6), "0012  ");
    EXPECT_EQ(r.mid(48, 37), QByteArray("6222021234567890").leftJustified(37, ' '));
    EXPECT_EQ(r.mid(85), QByteArray("49121010000").leftJustified(104, ' '));
    EXPECT_EQ(BankCardRequest(s, QStringLiteral("6222021234567890"), 1).mid(48), QByteArray(141, ' '));
}
