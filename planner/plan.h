#pragma once

// The claiming planner: for each month in which a client could start retirement
// benefits, the monthly benefit, the break-even year against the earliest claim (from
// the break-even schedule itself), the odds of living that long and the expected value
// of the payments (planner/optimiser.h).
//
// Typical use:
//   PlanInputs in;  in.born = {1960, 3, 15};  in.sex = Sex::Female;
//   in.fraBenefit = 2000;  in.asOf = {2024, 1, 10};  in.cola = 2.5;  in.rate = 3;
//   Plan plan = BuildPlan(in);   // throws PlanError on a refused input
//   for (const PlanOption& o : plan.options) ...  plan.options[plan.best] ...

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/money.h"
#include "planner/dates.h"
#include "planner/household.h"
#include "planner/lifetable.h"
#include "planner/rules.h"

namespace velmora::planner {

/// What the plan is made from.
struct PlanInputs {
    Date born;
    Sex sex = Sex::Female;
    /// Monthly benefit at full retirement age, in dollars of the as-of year (0 to 99,999.99,
    /// whole cents).
    long double fraBenefit = 0;
    /// The day the plan is made for; options start no earlier than its month.
    Date asOf;
    /// Yearly cost-of-living adjustment in percent (0 to 100); a double, as the schedule takes it.
    double cola = 0;
    /// Yearly discount rate in percent (0 to 100).
    long double rate = 0;
    /// Rows of each option's schedule (1 to 40); the break-even columns only.
    std::int32_t years = 40;
    /// The expected values' life table and the client's factor on its q(x) (0.25 to 4).
    MortalityKind mortality = MortalityKind::Cohort;
    long double mortalityFactor = 1;
    std::optional<BenefitCut> cut;
};

/// The household of this single client (the benefit as whole cents).
HouseholdInputs HouseholdOf(const PlanInputs& inputs);

/// The break-even result of one option against the earliest one.
enum class BreakEven {
    Earliest,  // the earliest option itself: nothing to compare
    Year,      // reached in `breakEvenYear`
    Never,     // not reached within the years of the schedule
};

/// One claiming month.
struct PlanOption {
    Month claim;
    int ageMonths = 0;             // age attained by the end of the claim month
    Fraction factor;               // part of the benefit at FRA, before rounding
    long double percentOfFra = 0;  // the factor in percent, two decimals
    /// The benefit at FRA grown by the COLA to the claim year, times the factor, rounded
    /// down to the dime: the monthly benefit in the claim year.
    TMoney monthlyBenefit;
    BreakEven breakEven = BreakEven::Earliest;
    int breakEvenYear = 0;                   // when breakEven is Year
    int ageAtBreakEven = 0;                  // age at the end of the break-even year, when Year
    long double chanceAliveAtBreakEven = 0;  // 0..1 at the end of that year, when Year
    /// The expected value of the month-by-month payments of this claim to the end of the
    /// life table, discounted to the as-of month.
    long double expectedValue = 0;
    bool isFraMonth = false;
    bool isMonth70 = false;
};

struct Plan {
    std::vector<PlanOption> options;  // claim months in order, the earliest first
    std::size_t best = 0;             // largest expected value; the earlier one on a tie
    Month firstMonthAt62;
    Month fraMonth;
    Month month70;
    int fraAgeMonths = 0;
    /// Whole-year age in the earliest option's month: the schedule's Age.
    int scheduleAge = 0;
    std::string lifeTableEdition;
};

/// Checks the inputs (PlanError with a clear message) and builds the plan. An
/// ArithmeticError from the schedule (a COLA of 100 % over many years) passes through.
/// `table` is the period table, used for the break-even column's chance of being alive
/// and, with MortalityKind::Period, for the expected values.
Plan BuildPlan(const PlanInputs& inputs, const LifeTable& table = LifeTable::Shipped());

/// The chance that the plan's client is alive at the end of a year, by the plan's mortality
/// (table and factor), from the start of the as-of month: the chance of the break-even
/// column. 1 for a year that ends before the as-of month.
long double ChanceAliveAtEndOfYear(const PlanInputs& inputs, int year,
                                   const LifeTable& table = LifeTable::Shipped());

/// The short list: the first option, the first month at each age 63 to 69 that is an
/// option (the month that age is attained), the FRA month, the month 70 is attained and
/// the best option, as indexes into plan.options in order, each once.
std::vector<std::size_t> SummaryOptions(const Plan& plan);

}  // namespace velmora::planner
