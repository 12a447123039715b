#include <gtest/gtest.h>

#include <algorithm>
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

// The flat case (no COLA, no discounting, factor 1): the expected value is the sum of the
// payments times the chance that each is paid. The test counts the payments and the
// chances itself: 70.42 % of $1,000.00 is $704.16 -> $704.10, paid as $704 a month for each
// month from April 2022 at whose end the client is alive, l(x) linear between whole ages.
TEST(Plan, ExpectedValueOfTheFlatCaseIsTheSumOfChancesTimesPayments) {
    std::string table = "age,male_lx,female_lx\n";
    for (int age = 0; age <= 90; ++age) {
        const int l = age < 70 ? 100000 : 100000 - (age - 70) * 5000;  // 0 at 90
        table += std::to_string(age) + "," + std::to_string(l) + "," + std::to_string(l) + "\n";
    }
    const LifeTable period = LifeTable::FromCsv(table, "falls from 70 to 90");
    PlanInputs in = Inputs({1960, 3, 15}, {2021, 6, 1}, 1000);
    in.cola = 0;
    in.rate = 0;
    in.mortality = MortalityKind::Period;
    const Plan plan = BuildPlan(in, period);
    EXPECT_EQ(plan.lifeTableEdition, "falls from 70 to 90");
    const PlanOption& first = plan.options.front();
    EXPECT_EQ(MonthText(first.claim), "2022-04");
    EXPECT_EQ(Money(first.monthlyBenefit), "704.10");
    // The age at the end of a month is the age at the start of the next; the chance is
    // conditioned on being alive at the start of the as-of month.
    const auto ageAt = [](int year, int month) {
        return FractionalYear({year, month, 1}) - FractionalYear({1960, 3, 15});
    };
    const auto l = [](long double age) -> long double {
        if (age < 70)
            return 100000;
        return std::max<long double>(0, 100000 - (age - 70) * 5000);
    };
    long double expected = 0;
    for (int year = 2022, month = 4; year < 2060; ++month) {
        if (month == 13) {
            month = 1;
            ++year;
        }
        const int nextYear = month == 12 ? year + 1 : year;
        const int nextMonth = month == 12 ? 1 : month + 1;
        expected += 704 * l(ageAt(nextYear, nextMonth)) / l(ageAt(2021, 6));
    }
    EXPECT_LT(std::fabs(first.expectedValue - expected), 1e-6L) << static_cast<double>(expected);
    // Everybody is gone at 90, so no more than 27 years and 11 months can be paid.
    EXPECT_LT(first.expectedValue, 704.0L * (27 * 12 + 11));
}

// The odds at the break-even year are those of the table from the as-of age to the age
// at the end of that year; on whole ages no interpolation is involved.
TEST(Plan, ChanceAliveAtTheEndOfTheBreakEvenYear) {
    PlanInputs in = Inputs({1960, 1, 1}, {2022, 1, 1});
    in.sex = Sex::Male;
    in.mortality = MortalityKind::Period;
    const Plan plan = BuildPlan(in);
    const LifeTable& table = LifeTable::Shipped();
    int checked = 0;
    for (const PlanOption& option : plan.options) {
        if (option.breakEven != BreakEven::Year)
            continue;
        const int ageThen = option.breakEvenYear + 1 - 1960;
        EXPECT_EQ(option.ageAtBreakEven, ageThen);  // born 1 January: attained on 31 December
        EXPECT_LT(std::fabs(option.chanceAliveAtBreakEven -
                            table.Survivors(Sex::Male, ageThen) / table.Survivors(Sex::Male, 62)),
                  1e-15L);
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
    // FRA 66 and 10 months (born 1 January 1960) comes between the ages.
    EXPECT_EQ(months(BuildPlan(Inputs({1960, 1, 1}, {2024, 6, 1}))),
              "2024-06 2024-12 2025-12 2026-10 2026-12 2027-12 2028-12 2029-12 ");
    // A best month between the listed ones is listed too: here a January, from which the
    // credits of the year before are paid.
    PlanInputs in = Inputs({1960, 3, 15}, {2026, 12, 10});
    in.sex = Sex::Male;
    const Plan plan = BuildPlan(in);
    EXPECT_EQ(MonthText(plan.options[plan.best].claim), "2030-01");
    EXPECT_EQ(months(plan), "2026-12 2027-03 2028-03 2029-03 2030-01 2030-03 ");
}

}  // namespace
}  // namespace velmora::planner
