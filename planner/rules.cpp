#include "planner/rules.h"

#include <algorithm>

namespace velmora::planner {

namespace {

__extension__ typedef __int128 Wide;

constexpr std::int64_t kFactorDenominator = 7200;  // common to 1/180, 1/240 and 1/2400
constexpr std::int64_t kCountsPerDime = 1000;      // TMoney counts ten-thousandths

}  // namespace

int FullRetirementAgeMonths(int ruleYearOfBirth) {
    if (ruleYearOfBirth <= 1937)
        return 65 * 12;
    if (ruleYearOfBirth <= 1942)
        return 65 * 12 + 2 * (ruleYearOfBirth - 1937);
    if (ruleYearOfBirth <= 1954)
        return 66 * 12;
    if (ruleYearOfBirth <= 1959)
        return 66 * 12 + 2 * (ruleYearOfBirth - 1954);
    return 67 * 12;
}

int DelayedCreditPer2400(int ruleYearOfBirth) {
    // Half a percent a year more for every two years of birth: 1933-34 5.5 %, ...
    if (ruleYearOfBirth >= 1943)
        return 16;
    const int step = (std::max(ruleYearOfBirth, kFirstRuleYearOfBirth) - 1933) / 2;
    return 11 + step;
}

Fraction ClaimingFactor(int monthsFromFra, int creditPer2400, int creditMonthsLimit) {
    std::int64_t numerator = kFactorDenominator;
    if (monthsFromFra < 0) {
        const std::int64_t early = -static_cast<std::int64_t>(monthsFromFra);
        const std::int64_t first = std::min<std::int64_t>(early, 36);
        const std::int64_t further = early - first;
        numerator -= first * (kFactorDenominator / 180) + further * (kFactorDenominator / 240);
        numerator = std::max<std::int64_t>(numerator, 0);
    } else {
        const std::int64_t credited = std::min(monthsFromFra, std::max(creditMonthsLimit, 0));
        numerator += credited * creditPer2400 * (kFactorDenominator / 2400);
    }
    return {numerator, kFactorDenominator};
}

TMoney BenefitRoundedToDime(TMoney fraBenefit, Fraction factor) {
    const Wide exact = static_cast<Wide>(fraBenefit.count) * factor.numerator;
    const Wide perDime = static_cast<Wide>(factor.denominator) * kCountsPerDime;
    Wide dimes = exact / perDime;
    if (exact % perDime != 0 && exact < 0)
        --dimes;  // down, also below zero
    return TMoney{static_cast<std::int64_t>(dimes * kCountsPerDime)};
}

long double FactorPercent(Fraction factor) {
    // Hundredths of a percent, half up: factor x 10000.
    const Wide scaled = static_cast<Wide>(factor.numerator) * 10000 * 2 + factor.denominator;
    const auto hundredths =
        static_cast<std::int64_t>(scaled / (static_cast<Wide>(factor.denominator) * 2));
    return static_cast<long double>(hundredths) / 100.0L;
}

}  // namespace velmora::planner
