#include <gtest/gtest.h>

#include "planner/dates.h"
#include "planner/rules.h"

namespace velmora::planner {
namespace {

// Attainment: an age is attained on the day before the birthday, so the 1st of a month
// belongs to the previous month (and 1 January to the previous year).
struct BirthCase {
    Date born;
    const char* first62;
    const char* fraMonth;
    const char* month70;
    int ruleYear;
};

TEST(AgeRules, MonthsFollowTheDayBeforeTheBirthday) {
    const BirthCase cases[] = {
        // Born on the 1st: 62 throughout the birthday month; FRA and 70 attained a month early.
        {{1960, 3, 1}, "2022-03", "2027-02", "2030-02", 1960},
        // Born on the 2nd: 62 is attained on the 1st, so the birthday month is the first.
        {{1960, 3, 2}, "2022-03", "2027-03", "2030-03", 1960},
        // Later days: the month after the birthday.
        {{1960, 3, 3}, "2022-04", "2027-03", "2030-03", 1960},
        {{1960, 3, 15}, "2022-04", "2027-03", "2030-03", 1960},
        {{1960, 12, 31}, "2023-01", "2027-12", "2030-12", 1960},
        // Born 1 January goes by the previous year: 1959, FRA 66 and 10 months.
        {{1960, 1, 1}, "2022-01", "2026-10", "2029-12", 1959},
        {{1960, 1, 2}, "2022-01", "2027-01", "2030-01", 1960},
        // Leap day: attained on 28 February in common years.
        {{1956, 2, 29}, "2018-03", "2022-06", "2026-02", 1956},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(DateText(c.born));
        const AgeRules age(c.born);
        EXPECT_EQ(age.RuleYearOfBirth(), c.ruleYear);
        EXPECT_EQ(MonthText(age.FirstMonthAt62()), c.first62);
        EXPECT_EQ(MonthText(age.MonthAttained(FullRetirementAgeMonths(c.ruleYear))), c.fraMonth);
        EXPECT_EQ(MonthText(age.MonthAttained(70 * 12)), c.month70);
    }
}

TEST(AgeRules, AgeInAMonthAndAtTheEndOfAYear) {
    const AgeRules fifteenth({1960, 3, 15});
    EXPECT_EQ(AgeText(fifteenth.AgeMonthsIn(Month::Of(2022, 4))), "62y 1m");
    EXPECT_EQ(AgeText(fifteenth.AgeMonthsIn(Month::Of(2027, 3))), "67y 0m");
    EXPECT_EQ(fifteenth.AgeAtEndOfYear(2040), 80);
    const AgeRules second({1960, 3, 2});
    EXPECT_EQ(AgeText(second.AgeMonthsIn(second.FirstMonthAt62())), "62y 0m");
    // Born 1 January: the next age is attained on 31 December.
    EXPECT_EQ(AgeRules({1960, 1, 1}).AgeAtEndOfYear(2040), 81);
}

TEST(Dates, ParseRefusesWhatIsNotADay) {
    EXPECT_EQ(ParseDate("2024-02-29"), (Date{2024, 2, 29}));
    for (const char* text : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-1-01", "24-01-01",
                             "2024-01-32", "2024/01/01", "2024-01-01x", ""}) {
        EXPECT_FALSE(ParseDate(text).has_value()) << text;
    }
    EXPECT_EQ(MonthText(Month::Of(2024, 12)), "2024-12");
    EXPECT_EQ(Month{Month::Of(2024, 12).index + 1}.Year(), 2025);
}

TEST(Rules, FullRetirementAgeByYearOfBirth) {
    const std::pair<int, int> table[] = {
        {1930, 780}, {1937, 780}, {1938, 782}, {1939, 784}, {1940, 786}, {1941, 788},
        {1942, 790}, {1943, 792}, {1954, 792}, {1955, 794}, {1956, 796}, {1957, 798},
        {1958, 800}, {1959, 802}, {1960, 804}, {1990, 804},
    };
    for (const auto& [year, months] : table)
        EXPECT_EQ(FullRetirementAgeMonths(year), months) << year;
}

TEST(Rules, DelayedCreditByYearOfBirth) {
    // In 1/24 of 1 % a month: 5.5 % a year is 11, 8 % is 16.
    const std::pair<int, int> table[] = {
        {1933, 11}, {1934, 11}, {1935, 12}, {1936, 12}, {1937, 13}, {1938, 13},
        {1939, 14}, {1940, 14}, {1941, 15}, {1942, 15}, {1943, 16}, {1960, 16},
    };
    for (const auto& [year, credit] : table)
        EXPECT_EQ(DelayedCreditPer2400(year), credit) << year;
}

TEST(Rules, ClaimingFactor) {
    struct Case {
        int monthsFromFra;
        int credit;
        int limit;
        std::int64_t numerator;  // over 7200
        long double percent;
    };
    const Case cases[] = {
        {0, 16, 36, 7200, 100.00L},  {-1, 16, 36, 7160, 99.44L},  // 5/9 of 1 %
        {-36, 16, 36, 5760, 80.00L},                              // the last month at 5/9
        {-37, 16, 36, 5730, 79.58L},                              // the first at 5/12
        {-48, 16, 48, 5400, 75.00L},                              // FRA 66
        {-60, 16, 36, 5040, 70.00L},                              // FRA 67
        {12, 16, 36, 7776, 108.00L},                              // 8 % a year
        {36, 16, 36, 8928, 124.00L},                              // at 70
        {40, 16, 36, 8928, 124.00L},                              // no credit past 70
        {48, 16, 48, 9504, 132.00L},                              // FRA 66 to 70
        {7, 11, 60, 7431, 103.21L},  // 5.5 % a year: 11/24 of 1 % a month
        {1, 13, 60, 7239, 100.54L},  // 6.5 %
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.monthsFromFra);
        const Fraction f = ClaimingFactor(c.monthsFromFra, c.credit, c.limit);
        EXPECT_EQ(f.denominator, 7200);
        EXPECT_EQ(f.numerator, c.numerator);
        EXPECT_EQ(FactorPercent(f), c.percent);
    }
}

TEST(Rules, BenefitIsRoundedDownToTheDime) {
    struct Case {
        std::int64_t fraCount;
        std::int64_t numerator;
        std::int64_t expectedCount;
    };
    const Case cases[] = {
        {10000000, 5730, 7958000},   // 795.8333 -> 795.80
        {12345600, 5730, 9825000},   // 982.5040 -> 982.50
        {10000000, 7160, 9944000},   // 994.4444 -> 994.40
        {18000000, 5040, 12600000},  // exactly 1,260.00 stays
        {10000, 7160, 9000},         // 0.9944 -> 0.90
        {0, 8928, 0},
        {999999900, 8928, 1239999000},  // 123,999.9876 -> 123,999.90
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraCount);
        EXPECT_EQ(BenefitRoundedToDime(TMoney{c.fraCount}, Fraction{c.numerator, 7200}).count,
                  c.expectedCount);
    }
}

}  // namespace
}  // namespace velmora::planner
