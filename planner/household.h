#pragma once

// The one input of the payment model: a client, optionally a spouse, and the economic
// assumptions. The command line, the window and the companion file all fill this.
//
//   HouseholdInputs in;
//   in.client = {{1960, 3, 15}, Sex::Female, 200000};   // $2,000.00 at FRA
//   in.spouse = PersonInputs{{1958, 7, 2}, Sex::Male, 310000};
//   in.asOf = {2025, 1, 10};  in.cola = 2.5;  in.rate = 3;
//   CheckHousehold(in);        // PlanError with a sentence for the user

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "planner/dates.h"
#include "planner/earnings.h"
#include "planner/lifetable.h"

namespace velmora::planner {

/// A refused input or a person past 70; what() is a sentence for the user.
class PlanError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Which life table gives the chances of survival.
enum class MortalityKind {
    Cohort,  // the SSA cohort table of each person's year of birth (the default)
    Period,  // the shipped period table, the same for every year of birth
};

/// One person of the household.
struct PersonInputs {
    Date born;
    Sex sex = Sex::Female;
    /// The benefit at full retirement age (the PIA) in whole cents of the as-of month,
    /// 0 to 9,999,999.
    std::int64_t piaCents = 0;
    /// The month of a claim already made (benefits already received); only the other
    /// person's month is then chosen.
    std::optional<Month> claimed;
    /// Multiplies every q(x) of the table, capped at 1: 0.25 to 4, 1 for average health.
    long double mortalityFactor = 1;
    /// The earnings record the PIA was computed from, kept with the scenario; empty when
    /// the PIA was typed.
    EarningsRecord earnings = {};
    friend bool operator==(const PersonInputs&, const PersonInputs&) = default;
};

/// A trust fund shortfall: from January of `fromYear` only (100 - percent) % of every
/// benefit is paid.
struct BenefitCut {
    /// Hundredths of a percent, 1 to 10,000 (2300 is 23 %).
    std::int32_t percentHundredths = 0;
    std::int32_t fromYear = 0;
    friend bool operator==(const BenefitCut&, const BenefitCut&) = default;
};

struct HouseholdInputs {
    PersonInputs client;
    /// A married couple when given; both are alive on the as-of date.
    std::optional<PersonInputs> spouse;
    /// The day the plan is made for; the values are discounted to its month.
    Date asOf;
    /// Yearly COLA in percent (0 to 100), taken to four decimals; effective each December.
    double cola = 0;
    /// Yearly discount rate in percent (0 to 100).
    long double rate = 0;
    MortalityKind mortality = MortalityKind::Cohort;
    std::optional<BenefitCut> cut;
    friend bool operator==(const HouseholdInputs&, const HouseholdInputs&) = default;
};

/// Which of the two a death or a stream belongs to.
enum class Who { Client, Spouse };

/// The months that matter for one person.
struct PersonMonths {
    Month firstAt62;  // the first month throughout which the person is 62
    Month fra;        // the month full retirement age is attained
    Month at70;       // the month 70 is attained
    Month at60;       // the first month a survivor benefit can start (60 throughout)
    Month survivorFra;
    int fraAgeMonths = 0;
    int survivorFraAgeMonths = 0;
    int creditPer2400 = 0;
    /// The first month that can be chosen for a claim: the later of the first month at 62
    /// and the as-of month.
    Month firstChoice;
};
PersonMonths MonthsOf(const PersonInputs& person, Month asOf);

/// Survivor full retirement age in months: 65 up to 1939, two months more a year to 66
/// for 1945-1956, again two months a year to 67 for 1962 and later.
int SurvivorFullRetirementAgeMonths(int ruleYearOfBirth);

/// Checks every input (PlanError naming the problem): dates, amounts, factors, a person
/// past 70 without a claim, a claimed month before 62 or after the as-of month, a cut
/// out of range.
void CheckHousehold(const HouseholdInputs& inputs);

}  // namespace velmora::planner
