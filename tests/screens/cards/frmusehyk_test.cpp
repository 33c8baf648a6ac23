#include "modalscript.h"

#include "controls/flatedit.h"
#include "devices/cardfrontend.h"
#include "sale/salesession.h"
#include "screens/cards/frmusehyk.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qiantai;
using qiantai::test::ModalScript;

namespace {

class OneAnswerFrontEnd : public CardFrontEnd {
public:
    OneAnswerFrontEnd(CardFrontEndResult r, QList<QVariantList>* requests)
        : result_(std::move(r)), requests_(requests)
    {
    }
    CardFrontEndResult queryCard(const QVariantList& request) override
    {
        requests_->append(request);
        return result_;
    }
    CardFrontEndResult payByCard(const QVariantList&, const QString&, const QString&) override { return {}; }
    CardFrontEndResult paymentStatus(const QString&) override { return {}; }
    CardFrontEndResult reverseCharge(const QString&) override { return {}; }

private:
    CardFrontEndResult result_;
    QList<QVariantList>* requests_;
};

class UseHykTest : public ::testing::Test {
protected:
    UseHykTest()
    {
        s.Dybm = QStringLiteral("0101");
        s.Ckqzws = 2;
        s.Ckhzws = 1;
        found.status = CardFrontEndStatus::Ok;
        found.answer = {QVariant(), 500.0, 0.0, QStringLiteral("8800000001"), 1, QStringLiteral("M01"),
                        1200.7,     0.0,   0};
    }

    int Run(const QString& keys)
    {
        CardServices services(
            [this](QString&) -> std::unique_ptr<CardFrontEnd> {
                return std::make_unique<OneAnswerFrontEnd>(answer, &requests);
            },
            [this](const QVariant& m, const QString&, InfoKind) {
                shown.append(m.toString());
                return 1;
            });
        TfrmUseHyk dialog(nullptr, s, services);
        ModalScript script(keys);
        const int result = dialog.exec();
        EXPECT_TRUE(script.done());
        return result;
    }

    SaleSession s;
    CardFrontEndResult found;
    CardFrontEndResult answer;
    QList<QVariantList> requests;
    QStringList shown;
};

} // namespace

TEST_F(UseHykTest, SwipedNumberIsTrimmedAndTheCardKept)
{
    answer = found;
    EXPECT_EQ(Run(QStringLiteral(";;8800000001?<Enter>123456<Enter>")), TfrmUseHyk::Found);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0],
              (QVariantList{QStringLiteral("0"), QStringLiteral("8800000001"), QStringLiteral("123456"),
                            QStringLiteral("1"), QString(), QStringLiteral("0101")}));
    EXPECT_EQ(s.CurrentMemberCard.CardNo, QStringLiteral("8800000001"));
}

TEST_F(UseHykTest, EmptySwipeIsToldAndARefusalClearsTheNumber)
{
    answer.status = CardFrontEndStatus::Refused;
    answer.refusal = QStringLiteral("密码错误");
    // Enter on an empty number opens the box (closed by the robot's Enter);
    // the refused query leaves the dialog open for Esc.
    EXPECT_EQ(Run(QStringLiteral("<Enter><Enter>;;8800000001?<Down>000<Enter><Esc>")), TfrmUseHyk::Cancelled);
    EXPECT_EQ(requests.size(), 1);
    EXPECT_TRUE(s.CurrentMemberCard.CardNo.isEmpty());
    EXPECT_FALSE(shown.isEmpty()); // the refusal went through the card services' box
}

TEST_F(UseHykTest, F2ClearsBothBoxesForANewSwipe)
{
    answer = found;
    EXPECT_EQ(Run(QStringLiteral(";;1111111111?<Enter>99<F2>;;8800000001?<Enter>123456<Enter>")),
              TfrmUseHyk::Found);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value(1), QStringLiteral("8800000001"));
    EXPECT_EQ(requests[0].value(2), QStringLiteral("123456"));
}
