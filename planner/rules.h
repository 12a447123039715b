#pragma once

#include <cstdint>

#include "engine/money.h"
#include "planner/dates.h"

namespace velmora::planner {

/// Full retirement age in months for a year of birth (the year the benefit tables go
/// by: someone born on 1 January goes by the previous year). 65 up to 1937, two months
/// more for each year to 66 for 1943-1954, again to 67 from 1960.
int FullRetirementAgeMonths(int ruleYearOfBirth);

/// Delayed retirement credit per month in 1/2400 (1/24 of 1 %): 11 for 5.5 % a year
/// (1933-34) up to 16 for 8 % (1943 and later). Years before 1933 are not covered.
int DelayedCreditPer2400(int ruleYearOfBirth);
/// The earliest year of birth (rule year) the credit table covers.
inline constexpr int kFirstRuleYearOfBirth = 1933;

/// An exact non-negative fraction.
struct Fraction {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    friend bool operator==(const Fraction&, const Fraction&) = default;
};

/// The part of the benefit at full retirement age paid when claiming `monthsFromFra`
/// months after the FRA month (negative: before it), over the denominator 7200:
/// 5/9 of 1 % less for each of the first 36 months early and 5/12 of 1 % for each
/// further one; the delayed credit for each month after, up to `creditMonthsLimit`.
Fraction ClaimingFactor(int monthsFromFra, int creditPer2400, int creditMonthsLimit);

/// The benefit at FRA times the factor, exactly, rounded down to the dime.
TMoney BenefitRoundedToDime(TMoney fraBenefit, Fraction factor);

/// The factor in percent with two decimals, rounded half up (70.00, 124.00, 99.44).
long double FactorPercent(Fraction factor);

}  // namespace velmora::planner
