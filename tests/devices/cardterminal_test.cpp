#include "devices/cardrequest.h"
#include "devices/cardterminal.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

// The simulator library with a configuration of its own for each test.
class SimulatorTerminal : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        logPath_ = dir_.filePath(QStringLiteral("cardterm.log"));
        configure(QStringLiteral(
                      R"({"amountLimit": 1000.00, "declinedCards": ["6222020000000005"], "logFile": "%1"})")
                      .arg(logPath_));
    }
    void TearDown() override { qunsetenv("QIANTAI_CARDTERM_CONFIG"); }

    void configure(const QString& json)
    {
        const QString path = dir_.filePath(QStringLiteral("cardterm.json"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json.toUtf8());
        f.close();
        qputenv("QIANTAI_CARDTERM_CONFIG", path.toLocal8Bit());
    }

    CardResponse pay(const QString& swipe, double amount, QString* error = nullptr)
    {
        const SwipePieces pieces = SplitSwipe(swipe);
        const CardTerminalResult r = terminal_.transact(
            BuildCardRequest(pieces.first, pieces.second, AmountToFen(amount), QStringLiteral("0012")));
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        if (error != nullptr)
            *error = r.error;
        return ParseCardResponse(r.response);
    }

    QByteArray log() const
    {
        QFile f(logPath_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QString logPath_;
    LibraryCardTerminal terminal_{CardTerminalSettings{QStringLiteral(QIANTAI_SLDLL_PATH)}};
};

} // namespace

TEST_F(SimulatorTerminal, ApprovesAndAnswersInTheLayoutTheModuleReads)
{
    const CardResponse r = pay(QStringLiteral(";6222021234567890=49121010000?"), 123.45);
    EXPECT_TRUE(r.approved()) << r.code.toStdString();
    EXPECT_EQ(r.transactionCode(), QStringLiteral("PCA"));
    EXPECT_EQ(r.khxx, QStringLiteral("************7890"));
    EXPECT_EQ(r.gxx3.size(), 6);
    EXPECT_EQ(r.gxx2.size(), 12);
}

TEST_F(SimulatorTerminal, DeclinesByItsRules)
{
    const struct {
        const char* name;
        QString swipe;
        double amount;
        QString code, transactionCode;
    } cases[] = {
        {"declined card", QStringLiteral(";6222020000000005=4912?"), 10, QStringLiteral("D00005"),
         QStringLiteral("D05")},
        {"over the limit", QStringLiteral(";6222021234567890=4912?"), 1000.01, QStringLiteral("D00061"),
         QStringLiteral("D61")},
        {"no card number", QStringLiteral("garbage"), 10, QStringLiteral("D00014"), QStringLiteral("D14")},
        {"zero amount", QStringLiteral(";6222021234567890=4912?"), 0, QStringLiteral("E00013"),
         QStringLiteral("E13")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CardResponse r = pay(c.swipe, c.amount);
        EXPECT_FALSE(r.approved());
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.transactionCode(), c.transactionCode);
        EXPECT_TRUE(r.gxx2.isEmpty());
    }
    EXPECT_TRUE(pay(QStringLiteral(";6222021234567890=4912?"), 1000.00).approved());
}

TEST_F(SimulatorTerminal, ItsLogShowsNoMoreThanTheLastFourDigits)
{
    pay(QStringLiteral(";6222021234567890=49121010000?"), 50);
    pay(QStringLiteral(";6222020000000005=49121010000?"), 50);
    const QByteArray text = log();
    EXPECT_TRUE(text.contains("7890"));
    EXPECT_TRUE(text.contains("0005"));
    EXPECT_FALSE(text.contains("622202"));
    EXPECT_FALSE(text.contains("49121010000"));
}

TEST_F(SimulatorTerminal, ABrokenRequestIsAFormatError)
{
    const CardTerminalResult r = terminal_.transact("00 too short");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(ParseCardResponse(r.response).code, QStringLiteral("E00030"));
}

TEST(CardTerminal, MissingLibraryOrSymbolIsAFailureWithItsReason)
{
    LibraryCardTerminal missing(CardTerminalSettings{QStringLiteral("/nonexistent/libsldll.so")});
    CardTerminalResult r = missing.transact(BuildCardRequest({}, {}, 100, {}));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.response.isEmpty());
    EXPECT_TRUE(r.error.contains(QStringLiteral("/nonexistent/libsldll.so"))) << r.error.toStdString();

    // A real library that has no CardTrans.
    LibraryCardTerminal noSymbol(CardTerminalSettings{QStringLiteral("libm.so.6")});
    QString error;
    EXPECT_FALSE(noSymbol.load(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("CardTrans"))) << error.toStdString();
    r = noSymbol.transact(BuildCardRequest({}, {}, 100, {}));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}
