#include "hostcalls/hostservice.h"
#include "qiantai/dispids.h"
#include "screens/cards/cardservices.h"

#include "fakehost.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;

namespace {

struct Shown {
    QVariant message;
    QString caption;
    InfoKind kind;
};

class FakeFrontEnd : public CardFrontEnd {
public:
    explicit FakeFrontEnd(CardFrontEndResult r, QList<QVariantList>* requests)
        : result_(r), requests_(requests)
    {
    }
    CardFrontEndResult queryCard(const QVariantList& request) override
    {
        requests_->append(request);
        return result_;
    }
    CardFrontEndResult payByCard(const QVariantList& request, const QString&, const QString&) override
    {
        requests_->append(request);
        return result_;
    }
    CardFrontEndResult paymentStatus(const QString&) override { return result_; }
    CardFrontEndResult reverseCharge(const QString&) override { return result_; }

private:
    CardFrontEndResult result_;
    QList<QVariantList>* requests_;
};

class CardServicesTest : public ::testing::Test {
protected:
    CardServices Services()
    {
        return CardServices(
            [this](QString& error) -> std::unique_ptr<CardFrontEnd> {
                ++connections;
                if (!connectError.isEmpty()) {
                    error = connectError;
                    return nullptr;
                }
                return std::make_unique<FakeFrontEnd>(result, &requests);
            },
            [this](const QVariant& m, const QString& c, InfoKind k) {
                shown.append({m, c, k});
                return 1;
            },
            &charges);
    }

    static CardFrontEndResult Answer(QVariantList elements)
    {
        CardFrontEndResult r;
        r.status = CardFrontEndStatus::Ok;
        r.answer = std::move(elements);
        return r;
    }
    static CardFrontEndResult Status(CardFrontEndStatus s, const QString& error, const QVariant& refusal = {})
    {
        CardFrontEndResult r;
        r.status = s;
        r.error = error;
        r.refusal = refusal;
        return r;
    }

    CardFrontEndResult result;
    QString connectError;
    int connections = 0;
    QList<QVariantList> requests;
    QList<Shown> shown;
    CardCharges charges;
};

const QVariantList MemberAnswer{QVariant(), "500.005", 0.0, "8800000001", 7, "M001", 1200.75, 3.5, 2};

} // namespace

TEST_F(CardServicesTest, MemberCardAnswerIsCopiedByElement)
{
    result = Answer(MemberAnswer);
    TCardInfo card;
    const QVariantList request{"0", "8800000001", "123456", "1", "", "0101"};
    ASSERT_TRUE(Services().QueryMemberCard(request, card));
    EXPECT_EQ(requests, QList<QVariantList>{request});
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_DOUBLE_EQ(card.Balance, 500.01);
    EXPECT_EQ(card.CardNo, QStringLiteral("8800000001"));
    EXPECT_EQ(card.Element4, 7);
    EXPECT_EQ(card.MemberAccount, QStringLiteral("M001"));
    EXPECT_DOUBLE_EQ(card.Points, 1200.75);
    EXPECT_DOUBLE_EQ(card.Element7, 3.5);
    EXPECT_EQ(card.Element8, 2);
}

TEST_F(CardServicesTest, QueryFailuresShowTheirMessagesAndLeaveTheCard)
{
    struct Case {
        const char* name;
        QString connectError;
        CardFrontEndResult result;
        QVariant message;
        QString caption;
    };
    QVariantList shortAnswer = MemberAnswer.mid(0, 5);
    QVariantList badPoints = MemberAnswer;
    badPoints[6] = QStringLiteral("abc");
    const QList<Case> cases{
        {"no address",
         QStringLiteral("没有远程卡前置机"),
         {},
         QStringLiteral("远程卡前置机连接失败:没有远程卡前置机"),
         QStringLiteral("提  示")},
        {"unreachable",
         {},
         Status(CardFrontEndStatus::ConnectionFailed, QStringLiteral("无法连接 h:1")),
         QStringLiteral("远程卡前置机连接失败:无法连接 h:1"),
         QStringLiteral("提  示")},
        {"refused",
         {},
         Status(CardFrontEndStatus::Refused, {}, QVariantList{"密码错误", "请重刷"}),
         QVariantList{"密码错误", "请重刷"},
         QStringLiteral("提 示")},
        {"bad answer",
         {},
         Status(CardFrontEndStatus::BadAnswer, QStringLiteral("不是 JSON")),
         QStringLiteral("取会员卡信息失败:不是 JSON"),
         QStringLiteral("提  示")},
        {"too few elements",
         {},
         Answer(shortAnswer),
         QStringLiteral("取会员卡信息失败:应答只有4项，应有8项"),
         QStringLiteral("提  示")},
        {"points not a number",
         {},
         Answer(badPoints),
         QStringLiteral("取会员卡信息失败:应答第6项\"abc\"不是数值"),
         QStringLiteral("提  示")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shown.clear();
        connectError = c.connectError;
        result = c.result;
        TCardInfo card;
        card.CardNo = QStringLiteral("before");
        EXPECT_FALSE(Services().QueryMemberCard({"0"}, card));
        EXPECT_EQ(card.CardNo, QStringLiteral("before"));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].message, c.message) << shown[0].message.toString().toStdString();
        EXPECT_EQ(shown[0].caption, c.caption);
        EXPECT_EQ(shown[0].kind, InfoKind::Statement);
    }
}

TEST_F(CardServicesTest, WelfareCertificateQueryAndPayments)
{
    result = Answer({QVariant(), "7700000003", 100.0, "20"});
    TFlzInfo flz;
    ASSERT_TRUE(Services().QueryWelfareCertificate({"1", "7700000003"}, flz));
    EXPECT_EQ(flz.CertificateNo, QStringLiteral("7700000003"));
    EXPECT_DOUBLE_EQ(flz.FaceValue, 100);
    EXPECT_DOUBLE_EQ(flz.Element3, 20);

    result = Status(CardFrontEndStatus::BadAnswer, QStringLiteral("x"));
    EXPECT_FALSE(Services().QueryWelfareCertificate({"1"}, flz));
    EXPECT_EQ(shown.value(0).message, QVariant(QStringLiteral("取福利证信息失败:x")));

    shown.clear();
    result = Status(CardFrontEndStatus::Ok, {});
    EXPECT_TRUE(Services().PayMemberCard({"0", "8800000001"}));
    EXPECT_TRUE(shown.isEmpty());
    result = Status(CardFrontEndStatus::Refused, {}, QStringLiteral("余额不足"));
    EXPECT_FALSE(Services().PayMemberCard({"0"}));
    EXPECT_FALSE(Services().PayWelfareCertificate({"1"}, 50));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].message, QVariant(QStringLiteral("余额不足")));
    EXPECT_EQ(shown[0].caption, QStringLiteral("会员卡支付时出错"));
    EXPECT_EQ(shown[1].caption, QStringLiteral("福利证支付时出错"));

    // Every call has its own connection.
    EXPECT_EQ(connections, 5);
}

TEST_F(CardServicesTest, ConsumptionRecordReplacesTheRequestBySerial)
{
    auto* fake = new FakeHost;
    HostService host(fake);
    fake->release();
    fake->on(dispid::RecordCardConsumption, [](QVariantList& a) {
        a[1] = 4711;
        return QVariant(true);
    });
    const QVariantList request{"3", "7700000001"};
    QVariant r = request;
    ASSERT_TRUE(Services().RecordWelfareConsumption(host, r));
    EXPECT_EQ(r, QVariant(QStringLiteral("4711")));
    EXPECT_EQ(fake->calls().value(0).args.value(0), QVariant(request));

    fake->refuse(dispid::RecordCardConsumption, QStringLiteral("流水号用完"));
    r = request;
    EXPECT_FALSE(Services().RecordBankCardConsumption(host, r));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].message, QVariant(QStringLiteral("流水号用完")));
    EXPECT_EQ(shown[0].caption, QStringLiteral("取信用卡消费流水报错"));
    fake->fail(dispid::RecordCardConsumption, QStringLiteral("boom"));
    EXPECT_FALSE(Services().RecordWelfareConsumption(host, r));
    EXPECT_EQ(shown.value(1).caption, QStringLiteral("取福利证消费流水报错"));
    EXPECT_TRUE(shown.value(1).message.toString().contains(QStringLiteral("boom")));
}

TEST_F(CardServicesTest, UnreachableFrontEndOnLoopbackIsAConnectionFailure)
{
    // A port that was just free: nothing listens there.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    const int port = ntohs(addr.sin_port);
    ::close(fd);

    CardServices services(
        [port](QString&) -> std::unique_ptr<CardFrontEnd> {
            CardFrontEndSettings s;
            s.host = QStringLiteral("127.0.0.1");
            s.port = port;
            s.connectTimeoutSeconds = 1;
            s.readTimeoutSeconds = 1;
            return std::make_unique<CardFrontEndClient>(s);
        },
        [this](const QVariant& m, const QString& c, InfoKind k) {
            shown.append({m, c, k});
            return 1;
        });
    TCardInfo card;
    EXPECT_FALSE(services.QueryMemberCard({"0", "8800000001", "123456", "1", "", "0101"}, card));
    ASSERT_EQ(shown.size(), 1);
    const QString text = shown[0].message.toString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("远程卡前置机连接失败:"))) << text.toStdString();
    EXPECT_GT(text.size(), QStringLiteral("远程卡前置机连接失败:").size());
    EXPECT_EQ(shown[0].caption, QStringLiteral("提  示"));
}
