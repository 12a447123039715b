#include "planner/household.h"

#include <algorithm>
#include <cmath>

#include "planner/rules.h"

namespace velmora::planner {

namespace {

constexpr int kYearLimit = 2100;
constexpr std::int64_t kPiaCentsLimit = 9'999'999;

// The sentence names whose input is wrong: "The spouse's ..." for the spouse.
std::string Whose(Who who, const char* what) {
    return std::string(who == Who::Client ? "The client's " : "The spouse's ") + what;
}

void CheckPerson(const PersonInputs& p, Who who, const Date& asOf) {
    if (!IsValidDate(p.born))
        throw PlanError(Whose(who, "date of birth is not a valid date."));
    if (AgeRules(p.born).RuleYearOfBirth() < kFirstRuleYearOfBirth)
        throw PlanError(Whose(who, "date of birth must be 2 January 1933 or later."));
    if (p.born.year > kYearLimit)
        throw PlanError("Dates after the year 2100 are not supported.");
    if (asOf < p.born)
        throw PlanError("The as-of date lies before " +
                        std::string(who == Who::Client ? "the client's" : "the spouse's") +
                        " date of birth.");
    if (p.piaCents < 0 || p.piaCents > kPiaCentsLimit)
        throw PlanError(
            Whose(who, "benefit at full retirement age must be between 0 and 99,999.99."));
    if (!(p.mortalityFactor >= 0.25L && p.mortalityFactor <= 4))
        throw PlanError(Whose(who, "mortality factor must be between 0.25 and 4."));
    const Month asOfMonth = Month::Of(asOf.year, asOf.month);
    const PersonMonths months = MonthsOf(p, asOfMonth);
    if (p.claimed) {
        if (*p.claimed < months.firstAt62) {
            throw PlanError(Whose(who, "claimed month ") + MonthText(*p.claimed) +
                            " lies before the first month at 62, " + MonthText(months.firstAt62) +
                            ".");
        }
        if (*p.claimed > asOfMonth) {
            throw PlanError(Whose(who, "claimed month ") + MonthText(*p.claimed) +
                            " lies after the as-of month " + MonthText(asOfMonth) + ".");
        }
        if (*p.claimed > months.at70) {
            throw PlanError(Whose(who, "claimed month ") + MonthText(*p.claimed) +
                            " lies after the month 70 was attained, " + MonthText(months.at70) +
                            ".");
        }
    } else if (asOfMonth > months.at70) {
        throw PlanError(std::string(who == Who::Client ? "The client" : "The spouse") +
                        " attained age 70 in " + MonthText(months.at70) +
                        ", before the as-of month " + MonthText(asOfMonth) +
                        ": no claiming month is left.");
    }
}

}  // namespace

int SurvivorFullRetirementAgeMonths(int ruleYearOfBirth) {
    if (ruleYearOfBirth <= 1939)
        return 65 * 12;
    if (ruleYearOfBirth <= 1944)
        return 65 * 12 + 2 * (ruleYearOfBirth - 1939);
    if (ruleYearOfBirth <= 1956)
        return 66 * 12;
    if (ruleYearOfBirth <= 1961)
        return 66 * 12 + 2 * (ruleYearOfBirth - 1956);
    return 67 * 12;
}

PersonMonths MonthsOf(const PersonInputs& person, Month asOf) {
    const AgeRules age(person.born);
    PersonMonths m;
    const int rule = age.RuleYearOfBirth();
    m.firstAt62 = age.FirstMonthAt62();
    m.fraAgeMonths = FullRetirementAgeMonths(rule);
    m.fra = age.MonthAttained(m.fraAgeMonths);
    m.at70 = age.MonthAttained(70 * 12);
    // As at 62: 60 throughout the month only when it is attained on the month's first day.
    const Month attained60 = age.MonthAttained(60 * 12);
    m.at60 = age.AttainmentDay().day == 1 ? attained60 : Month{attained60.index + 1};
    m.survivorFraAgeMonths = SurvivorFullRetirementAgeMonths(rule);
    m.survivorFra = age.MonthAttained(m.survivorFraAgeMonths);
    m.creditPer2400 = DelayedCreditPer2400(rule);
    m.firstChoice = std::max(m.firstAt62, asOf);
    return m;
}

void CheckHousehold(const HouseholdInputs& in) {
    if (!IsValidDate(in.asOf))
        throw PlanError("The as-of date is not a valid date.");
    if (in.asOf.year > kYearLimit)
        throw PlanError("Dates after the year 2100 are not supported.");
    CheckPerson(in.client, Who::Client, in.asOf);
    if (in.spouse)
        CheckPerson(*in.spouse, Who::Spouse, in.asOf);
    if (!(in.cola >= 0 && in.cola <= 100))
        throw PlanError("The COLA must be between 0 and 100 percent.");
    if (!(in.rate >= 0 && in.rate <= 100))
        throw PlanError("The discount rate must be between 0 and 100 percent.");
    if (in.cut) {
        if (in.cut->percentHundredths < 1 || in.cut->percentHundredths > 10000)
            throw PlanError("The benefit cut must be more than 0 and at most 100 percent.");
        if (in.cut->fromYear < 1900 || in.cut->fromYear > kYearLimit)
            throw PlanError("The year of the benefit cut must be between 1900 and 2100.");
    }
}

}  // namespace velmora::planner
