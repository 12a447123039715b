#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "engine/reference.h"

namespace velmora {
namespace {

struct TextCase {
    const char* name;
    long double amount;
    int decimals;
    const char* text;
};

class MoneyTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetArithmeticContext();
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
    }
    void TearDown() override { MoneyFormat() = saved_; }

  private:
    TMoneyFormat saved_;
};

TEST_F(MoneyTextTest, UnitedStatesSettings) {
    const TextCase cases[] = {
        {"cents", 1234.56L, 2, "$1,234.56"},
        {"cents rounded", 1272.8314L, 2, "$1,272.83"},
        {"dollars rounded", 15273.9768L, 0, "$15,274"},
        {"no group", 100, 0, "$100"},
        {"one group", 1000, 0, "$1,000"},
        {"carry into a new group", 999999.5L, 0, "$1,000,000"},
        {"half away from zero", 2.5L, 0, "$3"},
        {"negative half away from zero", -2.5L, 0, "($3)"},
        {"negative", -1234.5L, 0, "($1,235)"},
        {"negative rounding to zero", -0.4L, 0, "$0"},
        {"zero", 0, 0, "$0"},
        {"negative zero", -0.0L, 0, "$0"},
        {"zero with cents", 0, 2, "$0.00"},
        {"half a dollar", 0.5L, 0, "$1"},
        {"half a cent", 0.005L, 2, "$0.01"},
        {"negative half a cent", -0.005L, 2, "($0.01)"},
        {"below half a cent", 0.004L, 2, "$0.00"},
        {"twelve significant digits", 12345678901.23L, 2, "$12,345,678,901.20"},
        {"scientific", 1234567890123.4L, 0, "1.23456789012E12"},
        {"negative scientific", -1234567890123.4L, 0, "-1.23456789012E12"},
        {"rounds up into scientific", 999999999999.5L, 0, "1E12"},
        {"largest currency form", 999999999999.4L, 0, "$999,999,999,999"},
        {"below a dollar", 0.0001L, 2, "$0.00"},
        {"a cent", 0.01L, 2, "$0.01"},
        {"tenths", 0.1L, 2, "$0.10"},
        {"four decimals", 0.0001L, 4, "$0.0001"},
        {"more decimals than digits", 1.5L, 5, "$1.50000"},
        {"negative decimals count as none", 1234.5L, -1, "$1,235"},
        {"decimals past the digits", 1e-7L, 2, "$0.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoneyText(c.amount, c.decimals), c.text);
    }
}

TEST_F(MoneyTextTest, OtherSettings) {
    TMoneyFormat swedish;
    swedish.CurrencySymbol = "kr";
    swedish.PositivePattern = 3;
    swedish.NegativePattern = 8;
    swedish.GroupMark = ".";
    swedish.DecimalMark = ",";
    TMoneyFormat minusFirst = TMoneyFormat::UnitedStates();
    minusFirst.NegativePattern = 1;
    TMoneyFormat noSymbol = TMoneyFormat::UnitedStates();
    noSymbol.CurrencySymbol = "";
    TMoneyFormat noMarks = TMoneyFormat::UnitedStates();
    noMarks.GroupMark = "";
    noMarks.DecimalMark = "";
    TMoneyFormat french;
    french.CurrencySymbol = "\u20ac";
    french.PositivePattern = 3;
    french.NegativePattern = 8;
    french.GroupMark = "\u202f";  // narrow no-break space
    french.DecimalMark = ",";
    TMoneyFormat beyond = TMoneyFormat::UnitedStates();
    beyond.PositivePattern = 200;
    beyond.NegativePattern = 99;

    struct Case {
        const char* name;
        const TMoneyFormat& format;
        long double amount;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {"symbol after, space", swedish, 1234.5L, 2, "1.234,50 kr"},
        {"minus first, symbol after", swedish, -1234.5L, 0, "-1.235 kr"},
        {"scientific takes the decimal mark", swedish, 1234567890123.4L, 0, "1,23456789012E12"},
        {"minus before the symbol", minusFirst, -1234.5L, 0, "-$1,235"},
        {"empty symbol", noSymbol, 1234.5L, 0, "1,235"},
        {"empty symbol, negative", noSymbol, -1234.5L, 0, "(1,235)"},
        {"no group and no decimal mark", noMarks, 1234567.891L, 2, "$123456789"},
        {"no decimal mark in scientific form", noMarks, 1234567890123.4L, 0, "123456789012E12"},
        {"multi-byte group mark", french, 1234567.5L, 2, "1\u202f234\u202f567,50 \u20ac"},
        {"patterns beyond the table act as the last", beyond, 1234.5L, 0, "1,235 $"},
        {"negative beyond the table", beyond, -1234.5L, 0, "(1,235 $)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoneyText(c.amount, c.decimals, c.format), c.text);
    }
}

TEST_F(MoneyTextTest, EveryCurrencyPattern) {
    const char* positive[] = {"$1,235", "1,235$", "$ 1,235", "1,235 $"};
    const char* negative[] = {
        "($1,235)", "-$1,235",  "$-1,235",   "$1,235-",   "(1,235$)", "-1,235$",
        "1,235-$",  "1,235$-",  "-1,235 $",  "-$ 1,235",  "1,235 $-", "$ 1,235-",
        "$ -1,235", "1,235- $", "($ 1,235)", "(1,235 $)",
    };
    TMoneyFormat format = TMoneyFormat::UnitedStates();
    for (int p = 0; p < 4; ++p) {
        SCOPED_TRACE(testing::Message() << "positive pattern " << p);
        format.PositivePattern = static_cast<std::uint8_t>(p);
        EXPECT_EQ(MoneyText(1234.5L, 0, format), positive[p]);
    }
    for (int p = 0; p < 16; ++p) {
        SCOPED_TRACE(testing::Message() << "negative pattern " << p);
        format.NegativePattern = static_cast<std::uint8_t>(p);
        EXPECT_EQ(MoneyText(-1234.5L, 0, format), negative[p]);
    }
}

TEST_F(MoneyTextTest, FifteenSignificantDigits) {
    const TMoneyFormat us = TMoneyFormat::UnitedStates();
    const TextCase cases[] = {
        {"thirteen integer digits", 1234567890123.4L, 0, "$1,234,567,890,123"},
        {"fifteen digits with cents", 1234567890123.456L, 2, "$1,234,567,890,123.46"},
        {"cut after fifteen digits", 12345678901234.567L, 2, "$12,345,678,901,234.60"},
        {"scientific above fifteen digits", 1e15L, 0, "1E15"},
        {"benefit with cents", 1234.5L, 2, "$1,234.50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoneyText(c.amount, c.decimals, us, 15), c.text);
    }
}

TEST_F(MoneyTextTest, EighteenDigitStepRoundsTiesToEven) {
    // Exactly representable amounts with a tie at the 19th digit: the 18-digit step
    // decides, and the 12-digit step then rounds what it produced.
    const TextCase cases[] = {
        {"odd 18th digit rounds up, then carries", 123456789012499999.5L, 0, "1.23456789013E17"},
        {"even 18th digit stays", 123456789012499998.5L, 0, "1.23456789012E17"},
        {"tie below 10^18 carries to a new digit", 999999999999999999.5L, 0, "1E18"},
        {"more than 18 digits", 1234567890123456789012.0L, 0, "1.23456789012E21"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoneyText(c.amount, c.decimals), c.text);
    }
}

TEST_F(MoneyTextTest, AgreesWithTheExactDecimalModel) {
    std::mt19937_64 random(4242);
    const TMoneyFormat us = TMoneyFormat::UnitedStates();
    for (int i = 0; i < 30000; ++i) {
        long double amount = 0;
        switch (i % 3) {
            case 0:  // a count of ten-thousandths, as the table's amounts are
                amount = static_cast<long double>(
                             static_cast<std::int64_t>(random() >> (random() % 64))) /
                         10000;
                break;
            case 1: {  // a random significand at a random scale
                const auto significand = static_cast<long double>(random() | (1ULL << 63));
                amount = std::ldexp(significand, static_cast<int>(random() % 140) - 100);
                break;
            }
            default:  // near a half at two decimals
                amount = (static_cast<long double>(random() % 100000000) + 0.5L) / 100;
                break;
        }
        if (random() % 2 == 0)
            amount = -amount;
        const int decimals = static_cast<int>(random() % 3) * 2;
        const int precision = random() % 2 == 0 ? 12 : 15;
        const auto expected =
            reference::UsMoneyText(reference::FromLongDouble(amount), decimals, precision);
        ASSERT_EQ(MoneyText(amount, decimals, us, precision), expected)
            << static_cast<double>(amount) << " with " << decimals << " decimals";
    }
}

TEST(WholeTextTest, PlainDecimalDigits) {
    struct Case {
        std::int32_t n;
        const char* text;
    };
    const Case cases[] = {
        {2001, "2001"},
        {0, "0"},
        {-5, "-5"},
        {1234567, "1234567"},
        {INT_MAX, "2147483647"},
        {INT_MIN, "-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WholeText(c.n), c.text);
}

}  // namespace
}  // namespace velmora
