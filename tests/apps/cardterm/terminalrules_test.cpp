#include "devices/cardrequest.h"
#include "terminalrules.h"

#include <gtest/gtest.h>

using namespace qiantai::cardterm;

namespace {

std::string ModuleRequest(const QString& cashier, const QString& first, const QString& second, qint64 fen)
{
    return qiantai::BuildCardRequest(first, second, fen, cashier).toStdString();
}

} // namespace

TEST(ParseTerminalRequest, ReadsWhatTheModuleBuildsIncludingMovedFields)
{
    const QString card = QStringLiteral("6222021234567890");
    const struct {
        QString cashier, first, second;
    } cases[] = {
        {QStringLiteral("0012"), card, QStringLiteral("49121010000")},
        {QStringLiteral("000123"), card, QStringLiteral("49121010000")},
        {QStringLiteral("12345678"), card, QStringLiteral("49121010000")},
        {QStringLiteral("01"), QString(40, QLatin1Char('7')), QStringLiteral("4912")},
        {QString(), QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cashier.toStdString() + "/" + c.first.toStdString());
        TerminalRequest r;
        std::string error;
        ASSERT_TRUE(ParseTerminalRequest(ModuleRequest(c.cashier, c.first, c.second, 12345), &r, &error))
            << error;
        EXPECT_EQ(r.amountFen, 12345);
        EXPECT_EQ(r.stationNo, "");
        EXPECT_EQ(r.cashierCode, c.cashier.toStdString());
        EXPECT_EQ(r.firstPiece, c.first.toStdString());
        EXPECT_EQ(r.secondPiece, c.second.toStdString());
    }
}

TEST(ParseTerminalRequest, RefusesABrokenLayout)
{
    const std::string good = ModuleRequest(QStringLiteral("01"), QStringLiteral("6222021234567890"), {}, 100);
    std::string shortText = good.substr(0, 188);
    std::string badType = good;
    badType[1] = '1';
    std::string badAmount = good;
    badAmount[5] = 'x';
    std::string busyReserved = good;
    busyReserved[20] = 'Z';
    for (const std::string& request : {shortText, badType, badAmount, busyReserved, std::string()}) {
        TerminalRequest r;
        std::string error;
        EXPECT_FALSE(ParseTerminalRequest(request, &r, &error)) << request;
        EXPECT_FALSE(error.empty());
    }
}

TEST(Decide, RulesOfTheConfiguration)
{
    TerminalConfig config;
    config.amountLimitFen = 100000;
    config.declinedCards = {"6222020000000005"};
    const struct {
        std::string card;
        long long fen;
        const char* code;
    } cases[] = {
        {"6222021234567890", 100000, Approved},     {"6222021234567890", 100001, OverLimit},
        {"6222020000000005", 100, DeclinedCard},    {"12345678901", 100, InvalidCard},
        {"62220212345678901234", 100, InvalidCard}, {"62220212345A7890", 100, InvalidCard},
        {"6222021234567890", 0, InvalidAmount},
    };
    for (const auto& c : cases) {
        TerminalRequest r;
        r.firstPiece = c.card;
        r.amountFen = c.fen;
        EXPECT_EQ(Decide(config, r).code, c.code) << c.card << " " << c.fen;
    }
}

TEST(BuildTerminalResponse, FieldsAtTheirPositionsAndCardMasked)
{
    TerminalRequest r;
    r.firstPiece = "6222021234567890";
    r.amountFen = 12345;
    const TerminalDecision approved = Decide(TerminalConfig(), r);
    const std::string text = BuildTerminalResponse(approved, "654321", "101112000042");
    ASSERT_EQ(text.size(), 91u);
    EXPECT_EQ(text.substr(0, 6), "000000");
    EXPECT_EQ(text.substr(8, 20), "************7890    ");
    EXPECT_EQ(text.substr(32, 6), "654321");
    EXPECT_EQ(text.substr(38, 12), "000000012345");
    EXPECT_EQ(text.substr(79, 12), "101112000042");
    EXPECT_EQ(text.find("622202"), std::string::npos);

    const std::string declined =
        BuildTerminalResponse({DeclinedCard, MaskCard(r.firstPiece), 100}, "654321", "1");
    EXPECT_EQ(declined.substr(0, 6), "D00005");
    EXPECT_EQ(declined.substr(32, 6), "      ");
    EXPECT_EQ(declined.substr(79, 12), std::string(12, ' '));
    EXPECT_EQ(MaskCard("1234"), "****");
}
