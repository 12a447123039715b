#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "engine/money.h"
#include "engine/reference.h"

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace velmora {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

class MoneyTest : public ::testing::Test {
  protected:
    void SetUp() override { SetArithmeticContext(); }
};

// Runs the call and returns the message it raised, or "" when it raised nothing.
std::string RaisedMessage(const std::function<void()>& call) {
    try {
        call();
    } catch (const ArithmeticError& e) {
        return e.what();
    }
    return "";
}

TEST_F(MoneyTest, MoneyFromRealRoundsToNearestCountTiesToEven) {
    struct Case {
        const char* name;
        long double amount;
        std::int64_t count;
    };
    const Case cases[] = {
        {"dollars and cents", 1234.56L, 12345600},
        {"zero", 0.0L, 0},
        {"negative zero", -0.0L, 0},
        {"below half a count", 0.00004L, 0},
        {"negative above half a count", -0.00006L, -1},
        {"large power of two", 0x1p49L, 5629499534213120000},
        {"negative large power of two", -0x1p49L, -5629499534213120000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoneyFromReal(c.amount).count, c.count);
    }
}

TEST_F(MoneyTest, MoneyFromRealTieOfTheProductGoesToTheEvenCount) {
    struct Case {
        long double product;
        std::int64_t count;
    };
    const Case cases[] = {
        {12345602.5L, 12345602},
        {12345601.5L, 12345602},
        {0.5L, 0},
        {1.5L, 2},
        {-2.5L, -2},
        {-3.5L, -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.product));
        // An amount next to product / 10000 whose scaling lands exactly on the tie.
        long double amount = std::nextafter(c.product / 10000, 0.0L);
        for (int step = 0; step < 8 && amount * 10000 != c.product; ++step) {
            amount = std::nextafter(amount, c.product);
        }
        ASSERT_EQ(amount * 10000, c.product) << "no amount scales to the exact tie";
        EXPECT_EQ(MoneyFromReal(amount).count, c.count);
    }
}

TEST_F(MoneyTest, MoneyToRealDividesTheCount) {
    EXPECT_EQ(MoneyToReal(TMoney{12345600}), 12345600.0L / 10000);
    EXPECT_EQ(MoneyToReal(TMoney{0}), 0.0L);
    EXPECT_EQ(MoneyToReal(TMoney{-5629499534213120000}), -0x1p49L);
}

TEST_F(MoneyTest, RoundTripKeepsEveryCount) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        // Up to 2^61 counts the two roundings cannot reach half a count.
        const auto count =
            static_cast<std::int64_t>(random() >> (3 + random() % 61)) * (i % 2 == 0 ? 1 : -1);
        ASSERT_EQ(MoneyFromReal(MoneyToReal(TMoney{count})).count, count) << count;
    }
}

TEST_F(MoneyTest, SumsAndAnnualAmounts) {
    EXPECT_EQ(MoneySum(TMoney{kMax - 1}, TMoney{1}).count, kMax);
    EXPECT_EQ(MoneySum(TMoney{kMin}, TMoney{kMax}).count, -1);
    EXPECT_EQ(AnnualAmount(12, TMoney{10768906}), 129226872.0L / 10000);
    EXPECT_EQ(AnnualAmount(13 - 12, TMoney{10000000}), 1000.0L);
    EXPECT_EQ(AnnualAmount(0, TMoney{10000000}), 0.0L);
}

// The COLA entry's value: a percentage with four decimals as an extended real, handed
// over as a double.
double ColaPercent(std::int64_t tenThousandths) {
    return static_cast<double>(static_cast<long double>(tenThousandths) / 10000);
}

TEST_F(MoneyTest, ApplyColaStepsAndTies) {
    struct Case {
        const char* name;
        std::int64_t count;
        std::int64_t pct;  // ten-thousandths of a percent
        std::int64_t expected;
    };
    const Case cases[] = {
        {"rounds up", 12345600, 31000, 12728314},  // t3 = 12,728,313.6
        {"tie goes to the even count", 10000100, 5000, 10050100},
        {"tie goes to the even count, up", 10000300, 5000, 10050302},
        {"plain step", 10000000, 25000, 10250000},
        {"no COLA", 10768906, 0, 10768906},
        {"zero benefit", 0, 1000000, 0},
        {"largest typed benefit doubles", 999999900, 1000000, 1999999800},
        {"half count up to even", 1, 500000, 2},
        {"half count down to even", 3, 500000, 4},
        // Exact ties of the decimal percentage that the double moves off the tie; the
        // double's side counts (the exact percentage would give the other neighbour).
        {"double below the tie", 1014569500, 881000, 1908405229},
        {"double above the tie", 1792542500, 149800, 2061065367},
        // Cases where multiplying before dividing matters.
        {"multiply first", 1084625000, 219436, 1322630772},
        {"multiply first, other side", 829531250, 613872, 1338757257},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ApplyCola(TMoney{c.count}, ColaPercent(c.pct)).count, c.expected);
    }
}

TEST_F(MoneyTest, Powers) {
    struct Case {
        const char* name;
        long double base;
        long double exponent;
        long double expected;
    };
    const Case cases[] = {
        {"x^0 is 1", 7.5L, 0.0L, 1.0L},
        {"0^0 is 1", 0.0L, 0.0L, 1.0L},
        {"0^3 is 0", 0.0L, 3.0L, 0.0L},
        {"0^0.5 is 0", 0.0L, 0.5L, 0.0L},
        {"2^-3", 2.0L, -3.0L, 0.125L},
        {"1.05^-2", 1.05L, -2.0L, 1.0L / (1.05L * 1.05L)},
        {"negative base, whole exponent", -2.0L, 3.0L, -8.0L},
        {"2^10", 2.0L, 10.0L, 1024.0L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RaiseReal(c.base, c.exponent), c.expected);
    }
    EXPECT_NEAR(static_cast<double>(RaiseReal(4.0L, 0.5L)), 2.0, 1e-15);
    // A whole exponent beyond 32 bits goes through exp and ln; this one underflows quietly.
    EXPECT_EQ(RaiseReal(0.5L, 3e9L), 0.0L);
    EXPECT_EQ(RaiseWhole(0.0L, 0), 1.0L);
    EXPECT_EQ(RaiseWhole(3.0L, 5), 243.0L);
    // Square and multiply: 1.03^6 = (1.03^2)^2 x 1.03^2, each product rounded.
    const long double x2 = 1.03L * 1.03L;
    const long double x4 = x2 * x2;
    EXPECT_EQ(RaiseWhole(1.03L, 6), x2 * x4);
    EXPECT_EQ(RaiseWhole(1.03L, -6), 1.0L / (x2 * x4));
}

TEST_F(MoneyTest, DiscountedWorth) {
    EXPECT_EQ(DiscountedWorth(0.05L, 0, 0, 100, pfYearly, ptPeriodEnd), 100.0L);
    EXPECT_EQ(MoneyFromReal(DiscountedWorth(0.05L, 2, 0, 110.25L, pfYearly, ptPeriodEnd)).count,
              1000000);
    EXPECT_EQ(DiscountedWorth(0.03L, 3, 0, 1000, pfYearly, ptPeriodEnd),
              1000 * (1 / (1.03L * (1.03L * 1.03L))));
    // An annuity of 100 a year for 2 years at 10 %: 100/1.1 + 100/1.21 = 173.55...
    const long double annuity = DiscountedWorth(0.10L, 2, -100, 0, pfYearly, ptPeriodEnd);
    EXPECT_NEAR(static_cast<double>(annuity), 173.553719, 1e-6);
    // Paid at the start of each period: 100 + 100/1.1 = 190.90...
    const long double due = DiscountedWorth(0.10L, 2, -100, 0, pfYearly, ptPeriodStart);
    EXPECT_NEAR(static_cast<double>(due), 190.909091, 1e-6);
    // Monthly periods divide the rate by 12: 12 % a year is 1 % a month.
    EXPECT_EQ(DiscountedWorth(0.12L, 1, 0, 101, pfMonthly, ptPeriodEnd),
              101 * (1 / (1 + 0.12L / 12)));
    EXPECT_EQ(DiscountedWorth(0.12L, 1, 0, 101, pfQuarterly, ptPeriodEnd),
              101 * (1 / (1 + 0.12L / 4)));
    EXPECT_EQ(DiscountedWorth(0.12L, 1, 0, 101, pfHalfYearly, ptPeriodEnd),
              101 * (1 / (1 + 0.12L / 2)));
}

TEST_F(MoneyTest, ErrorsCarryTheirMessages) {
    const std::string invalid = "Invalid floating point operation";
    const std::string zero = "Floating point division by zero";
    const std::string overflow = "Floating point overflow";
    const long double huge = std::numeric_limits<long double>::max();
    struct Case {
        const char* name;
        std::function<void()> call;
        std::string message;
    };
    const Case cases[] = {
        {"sum above the range", [] { MoneySum(TMoney{kMax}, TMoney{1}); }, invalid},
        {"sum below the range", [] { MoneySum(TMoney{kMin}, TMoney{-1}); }, invalid},
        {"count above the range", [] { MoneyFromReal(0x1p50L); }, invalid},
        {"count below the range", [] { MoneyFromReal(-0x1p50L); }, invalid},
        {"amount too large to scale", [huge] { MoneyFromReal(huge); }, overflow},
        {"not a number", [] { MoneyFromReal(std::numeric_limits<long double>::quiet_NaN()); },
         invalid},
        {"infinite amount", [] { MoneyFromReal(std::numeric_limits<long double>::infinity()); },
         invalid},
        {"raised benefit out of range", [] { ApplyCola(TMoney{kMax / 2 + 1}, 100.0); }, invalid},
        {"discounting at rate 0", [] { DiscountedWorth(0, 5, 0, 100, pfYearly, ptPeriodEnd); },
         invalid},
        {"rate 0, no periods", [] { DiscountedWorth(0, 0, 0, 100, pfYearly, ptPeriodEnd); },
         invalid},
        {"zero to a negative power", [] { RaiseWhole(0, -2); }, zero},
        {"zero to a negative real power", [] { RaiseReal(0, -0.5L); }, zero},
        {"negative base, real exponent", [] { RaiseReal(-2, 0.5L); }, invalid},
        {"square overflows", [] { RaiseWhole(1e3000L, 2); }, overflow},
        {"exp overflows", [] { RaiseReal(1e3000L, 2.5L); }, overflow},
        {"power underflows to 0, reciprocal", [] { RaiseWhole(1e-3000L, -2); }, zero},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RaisedMessage(c.call), c.message);
        SetArithmeticContext();
    }
}

TEST_F(MoneyTest, ErrorKindsMatchTheirMessages) {
    EXPECT_EQ(ArithmeticError(ArithmeticError::Kind::InvalidOperation).kind(),
              ArithmeticError::Kind::InvalidOperation);
    EXPECT_STREQ(ArithmeticError(ArithmeticError::Kind::DivisionByZero).what(),
                 "Floating point division by zero");
    EXPECT_STREQ(ArithmeticError(ArithmeticError::Kind::Overflow).what(),
                 "Floating point overflow");
}

TEST_F(MoneyTest, ContextRestoresRoundingToNearest) {
    std::fesetround(FE_UPWARD);
    SetArithmeticContext();
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    // 1/3 x 10000 rounded to nearest, then to the nearest count.
    volatile long double third = 1.0L / 3;
    EXPECT_EQ(MoneyFromReal(third).count, 3333);
    std::feraiseexcept(FE_OVERFLOW | FE_INVALID);
    SetArithmeticContext();
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

#if defined(__x86_64__) || defined(__i386__)
TEST_F(MoneyTest, ContextRestoresTheFullSignificand) {
    fpu_control_t cw;
    _FPU_GETCW(cw);
    cw = static_cast<fpu_control_t>((cw & ~_FPU_EXTENDED) | _FPU_DOUBLE);
    _FPU_SETCW(cw);
    SetArithmeticContext();
    // 1 + 2^-60 survives only with a 64-bit significand.
    volatile long double one = 1.0L;
    volatile long double tiny = 0x1p-60L;
    const long double sum = one + tiny;
    EXPECT_NE(sum, 1.0L);
}
#endif

// The processor's extended arithmetic against the integer model, on random operands:
// a wrong precision or rounding setting shows here.
TEST_F(MoneyTest, OperationsAgreeWithTheIntegerModel) {
    std::mt19937_64 random(77);
    std::uniform_int_distribution<std::int64_t> counts(0, 2000000000000LL);
    std::uniform_real_distribution<double> pcts(0, 100);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t count = counts(random);
        const double pct = std::round(pcts(random) * 10000) / 10000;
        std::int64_t expected = 0;
        try {
            const auto m = reference::FromInt(count);
            const auto t1 = reference::Mul(reference::FromLongDouble(pct), m);
            expected =
                reference::ToCount(reference::Add(reference::Div(t1, reference::FromInt(100)), m));
        } catch (const reference::OutOfRange&) {
            FAIL() << "reference out of range";
        }
        ASSERT_EQ(ApplyCola(TMoney{count}, pct).count, expected) << count << " at " << pct;
        const int months = static_cast<int>(random() % 13);
        const auto annual =
            reference::Div(reference::Mul(reference::FromInt(months), reference::FromInt(count)),
                           reference::FromInt(10000));
        const auto got = reference::FromLongDouble(AnnualAmount(months, TMoney{count}));
        ASSERT_EQ(got.sig, annual.sig) << months << " x " << count;
        ASSERT_EQ(got.exp, annual.exp) << months << " x " << count;
    }
}

}  // namespace
}  // namespace velmora
