#include "base/result.h"

#include <gtest/gtest.h>

#include <memory>

using qiantai::Failure;
using qiantai::Result;

namespace {

Result<int> ParsePositive(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n <= 0)
        return Failure{QStringLiteral("not a positive number: %1").arg(text)};
    return n;
}

Result<> Check(bool good)
{
    if (!good)
        return Failure{QStringLiteral("bad")};
    return {};
}

} // namespace

TEST(Result, HoldsTheValueOrTheMessage)
{
    const struct {
        const char* text;
        bool ok;
        int value;
        const char* error;
    } cases[] = {
        {"42", true, 42, ""},
        {"0", false, 0, "not a positive number: 0"},
        {"x", false, 0, "not a positive number: x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<int> r = ParsePositive(QString::fromLatin1(c.text));
        EXPECT_EQ(r.ok(), c.ok);
        EXPECT_EQ(bool(r), c.ok);
        EXPECT_EQ(r.error(), QString::fromLatin1(c.error));
        if (c.ok) {
            EXPECT_EQ(r.value(), c.value);
        }
    }
}

// A failure with an empty message is still a failure.
TEST(Result, AnEmptyMessageStillFails)
{
    const Result<int> r = Failure{};
    EXPECT_FALSE(r.ok());
    const Result<> v = Failure{};
    EXPECT_FALSE(v.ok());
}

TEST(Result, VoidFormTellsSuccessOrTheMessage)
{
    EXPECT_TRUE(Check(true).ok());
    EXPECT_TRUE(Check(true).error().isEmpty());
    const Result<> bad = Check(false);
    EXPECT_FALSE(bad);
    EXPECT_EQ(bad.error(), QStringLiteral("bad"));
}

TEST(Result, MovesAValueThatCannotBeCopied)
{
    Result<std::unique_ptr<int>> r = std::make_unique<int>(7);
    ASSERT_TRUE(r.ok());
    const std::unique_ptr<int> taken = std::move(r).value();
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, 7);
}
