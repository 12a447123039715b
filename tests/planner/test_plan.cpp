#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "planner/plan.h"

namespace velmora::planner {
namespace {

PlanInputs Inputs(Date born, Date asOf, long double benefit = 2000) {
    PlanInputs in;
    in.born = born;
    in.sex = Sex::Female;
    in.fraBenefit = benefit;
    in.asOf = asOf;
    in.cola = 2.5;
    in.rate = 3;
    in.years = 40;
    return in;
}

std::string Money(TMoney m) {
    return std::to_string(m.count / 10000) + "." + std::to_string(m.count % 10000 / 1000) +
           std::to_string(m.count % 1000 / 100);
}

// Options run from the later of the first month at 62 and the as-of month to the month
// 70 is attained.
TEST(Plan, OptionsFromTheFirstPossibleMonthToSeventy) {
    struct Case {
        Date born;
        Date asOf;
        const char* first;
        const char* last;
        std::size_t count;
        const char* firstAge;
    };
    const Case cases[] = {
        {{1960, 3, 15}, {2021, 6, 1}, "2022-04", "2030-03", 96, "62y 1m"},
        {{1960, 3, 2}, {2021, 6, 1}, "2022-03", "2030-03", 97, "62y 0m"},
        {{1960, 3, 1}, {2021, 6, 1}, "2022-03", "2030-02", 96, "62y 1m"},
        // Between 62 and 70 on the as-of date: the as-of month first.
        {{1958, 6, 20}, {2024, 2, 10}, "2024-02", "2028-06", 53, "65y 8m"},
        {{1960, 3, 15}, {2022, 4, 30}, "2022-04", "2030-03", 96, "62y 1m"},
        // The month 70 is attained: one option left.
        {{1954, 1, 20}, {2024, 1, 31}, "2024-01", "2024-01", 1, "70y 0m"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(DateText(c.born) + " as of " + DateText(c.asOf));
        const Plan plan = BuildPlan(Inputs(c.born, c.asOf));
        ASSERT_EQ(plan.options.size(), c.count);
        EXPECT_EQ(MonthText(plan.options.front().claim), c.first);
        EXPECT_EQ(MonthText(plan.options.back().claim), c.last);
        EXPECT_EQ(AgeText(plan.options.front().ageMonths), c.firstAge);
        EXPECT_TRUE(plan.options.back().isMonth70);
        EXPECT_EQ(plan.options.front().breakEven, BreakEven::Earliest);
    }
    const Plan atSeventy = BuildPlan(Inputs({1954, 1, 20}, {2024, 1, 31}));
    EXPECT_EQ(atSeventy.options.front().percentOfFra, 132.00L);
}

TEST(Plan, BenefitGrowsByTheColaToTheClaimYearBeforeTheFactor) {
    PlanInputs in = Inputs({1960, 3, 15}, {2024, 6, 1}, 1000);
    const Plan plan = BuildPlan(in);
    const auto at = [&](int year, int month) {
        return plan.options[static_cast<std::size_t>(Month::Of(year, month).index -
                                                     plan.options.front().claim.index)];
    };
    // 2024: no growth; 33 months early, 81.67 %: 816.666... -> 816.60.
    EXPECT_EQ(Money(at(2024, 6).monthlyBenefit), "816.60");
    EXPECT_EQ(at(2024, 6).percentOfFra, 81.67L);
    // 2025: 1,025.00 x (1 - 26 x 5/9 %) = 876.94 -> 876.90.
    EXPECT_EQ(Money(at(2025, 1).monthlyBenefit), "876.90");
    // FRA month 2027-03: three COLA steps, 1,076.8906 -> 1,076.80.
    EXPECT_TRUE(at(2027, 3).isFraMonth);
    EXPECT_EQ(Money(at(2027, 3).monthlyBenefit), "1076.80");
    EXPECT_EQ(at(2027, 3).percentOfFra, 100.00L);
}

TEST(Plan, RefusedInputsSayWhy) {
    struct Case {
        PlanInputs in;
        const char* message;
    };
    std::vector<Case> cases;
    const auto add = [&](auto change, const char* message) {
        PlanInputs in = Inputs({1960, 3, 15}, {2024, 1, 10});
        change(in);
        cases.push_back({in, message});
    };
    add(
        [](PlanInputs& in) {
            in.asOf = {2031, 1, 1};
        },
        "The client attained age 70 in 2030-03, before the as-of month 2031-01: no claiming "
        "month is left.");
    add([](PlanInputs& in) { in.born = {1960, 2, 30}; }, "The date of birth is not a valid date.");
    add(
        [](PlanInputs& in) {
            in.born = {1933, 1, 1};
        },
        "The date of birth must be 2 January 1933 or later.");
    add(
        [](PlanInputs& in) {
            in.asOf = {1959, 12, 31};
        },
        "The as-of date lies before the date of birth.");
    add([](PlanInputs& in) { in.fraBenefit = 100000; },
        "The benefit at full retirement age must be between 0 and 99,999.99.");
    add([](PlanInputs& in) { in.fraBenefit = -0.01L; },
        "The benefit at full retirement age must be between 0 and 99,999.99.");
    add([](PlanInputs& in) { in.fraBenefit = 10.005L; },
        "The benefit at full retirement age must be in whole cents.");
    add([](PlanInputs& in) { in.cola = 100.5; }, "The COLA must be between 0 and 100 percent.");
    add([](PlanInputs& in) { in.rate = -1; },
        "The discount rate must be between 0 and 100 percent.");
    add([](PlanInputs& in) { in.years = 41; }, "The number of years must be between 1 and 40.");
    // Cents typed as decimals are not exact reals, and are still whole cents.
    for (long double benefit : {0.07L, 0.29L, 1443.57L, 2345.67L, 99999.99L}) {
        PlanInputs in = Inputs({1960, 3, 15}, {2024, 1, 10}, benefit);
        in.years = 1;
        EXPECT_NO_THROW(BuildPlan(in)) << static_cast<double>(benefit);
    }
    for (const auto& c : cases) {
        try {
            BuildPlan(c.in);
            ADD_FAILURE() << c.message;
        } catch (const PlanError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

// With nobody dying the expected value is the plain sum of the rows' present values;
// with no COLA and no discounting that is the benefits paid, which can be counted by hand.
TEST(Plan, WeightedValueWithoutDeathsIsTheSumOfBenefits) {
    std::string immortal = "age,male_lx,female_lx\n";
    for (int age = 0; age <= 130; ++age)
        immortal += std::to_string(age) + ",100000,100000\n";
    const LifeTable table = LifeTable::FromCsv(immortal, "nobody dies");
    PlanInputs in = Inputs({1960, 3, 15}, {2021, 6, 1}, 1000);
    in.cola = 0;
    in.rate = 0;
    in.years = 10;  // 2022 to 2031
    const Plan plan = BuildPlan(in, table);
    EXPECT_EQ(plan.lifeTableEdition, "nobody dies");
    const PlanOption& first = plan.options.front();  // 2022-04, 70.42 % -> 704.10
    EXPECT_EQ(Money(first.monthlyBenefit), "704.10");
    EXPECT_LT(std::fabs(first.expectedValue - (9 * 704.10L + 9 * 12 * 704.10L)), 1e-9L);
    const PlanOption& fra =
        plan.options[static_cast<std::size_t>(plan.fraMonth.index - first.claim.index)];
    EXPECT_EQ(fra.expectedValue, 10 * 1000 + 4 * 12 * 1000);
    // Paid 58,000 against 82,379.70 over the same ten years: not reached.
    EXPECT_EQ(fra.breakEven, BreakEven::Never);
    EXPECT_EQ(plan.best, 0u);
}

// The odds at the break-even year are those of the table from the as-of age to the age
// at the end of that year; on whole ages no interpolation is involved.
TEST(Plan, ChanceAliveAtTheEndOfTheBreakEvenYear) {
    PlanInputs in = Inputs({1960, 1, 1}, {2022, 1, 1});
    in.sex = Sex::Male;
    const Plan plan = BuildPlan(in);
    const LifeTable& table = LifeTable::Shipped();
    int checked = 0;
    for (const PlanOption& option : plan.options) {
        if (option.breakEven != BreakEven::Year)
            continue;
        const int ageThen = option.breakEvenYear + 1 - 1960;
        EXPECT_EQ(option.ageAtBreakEven, ageThen);  // born 1 January: attained on 31 December
        EXPECT_EQ(option.chanceAliveAtBreakEven,
                  table.Survivors(Sex::Male, ageThen) / table.Survivors(Sex::Male, 62));
        ++checked;
    }
    EXPECT_GT(checked, 80);
    // The best option has the largest expected value.
    for (const PlanOption& option : plan.options)
        EXPECT_LE(option.expectedValue, plan.options[plan.best].expectedValue);
}

TEST(Plan, SummaryListsTheFirstOptionEachAgeFraAndSeventy) {
    const auto months = [](const Plan& plan) {
        std::string text;
        for (std::size_t i : SummaryOptions(plan))
            text += MonthText(plan.options[i].claim) + " ";
        return text;
    };
    EXPECT_EQ(months(BuildPlan(Inputs({1960, 3, 15}, {2021, 6, 1}))),
              "2022-04 2023-03 2024-03 2025-03 2026-03 2027-03 2028-03 2029-03 2030-03 ");
    // FRA 66 and 10 months (born 1 January 1960) comes between the ages; a best month
    // between the listed ones (2029-11 here) is listed too.
    EXPECT_EQ(months(BuildPlan(Inputs({1960, 1, 1}, {2024, 6, 1}))),
              "2024-06 2024-12 2025-12 2026-10 2026-12 2027-12 2028-12 2029-11 2029-12 ");
    PlanInputs in = Inputs({1960, 3, 15}, {2026, 12, 10});
    in.sex = Sex::Male;
    const Plan plan = BuildPlan(in);
    EXPECT_EQ(MonthText(plan.options[plan.best].claim), "2028-11");
    EXPECT_EQ(months(plan), "2026-12 2027-03 2028-03 2028-11 2029-03 2030-03 ");
}

}  // namespace
}  // namespace velmora::planner
