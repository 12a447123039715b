#include "planner/plan.h"

#include <algorithm>

#include "engine/schedule.h"
#include "planner/optimiser.h"

namespace velmora::planner {

namespace {

constexpr int kYearOfPlanLimit = 2100;

void CheckInputs(const PlanInputs& in) {
    if (!IsValidDate(in.born))
        throw PlanError("The date of birth is not a valid date.");
    if (!IsValidDate(in.asOf))
        throw PlanError("The as-of date is not a valid date.");
    if (AgeRules(in.born).RuleYearOfBirth() < kFirstRuleYearOfBirth)
        throw PlanError("The date of birth must be 2 January 1933 or later.");
    if (in.born.year > kYearOfPlanLimit || in.asOf.year > kYearOfPlanLimit)
        throw PlanError("Dates after the year 2100 are not supported.");
    if (in.asOf < in.born)
        throw PlanError("The as-of date lies before the date of birth.");
    if (!(in.fraBenefit >= 0 && in.fraBenefit <= 99999.99L))
        throw PlanError("The benefit at full retirement age must be between 0 and 99,999.99.");
    // Whole cents as the money value holds them: a typed 2345.67 is not exactly
    // representable, so the test is on the rounded count, not on the real.
    if (MoneyFromReal(in.fraBenefit).count % 100 != 0)
        throw PlanError("The benefit at full retirement age must be in whole cents.");
    if (!(in.cola >= 0 && in.cola <= 100))
        throw PlanError("The COLA must be between 0 and 100 percent.");
    if (!(in.rate >= 0 && in.rate <= 100))
        throw PlanError("The discount rate must be between 0 and 100 percent.");
    if (in.years < 1 || in.years > 40)
        throw PlanError("The number of years must be between 1 and 40.");
    CheckHousehold(HouseholdOf(in));
}

}  // namespace

HouseholdInputs HouseholdOf(const PlanInputs& in) {
    HouseholdInputs h;
    h.client.born = in.born;
    h.client.sex = in.sex;
    h.client.piaCents = MoneyFromReal(in.fraBenefit).count / 100;
    h.client.mortalityFactor = in.mortalityFactor;
    h.asOf = in.asOf;
    h.cola = in.cola;
    h.rate = in.rate;
    h.mortality = in.mortality;
    h.cut = in.cut;
    return h;
}

Plan BuildPlan(const PlanInputs& in, const LifeTable& table) {
    CheckInputs(in);
    const AgeRules age(in.born);
    const Month asOfMonth = Month::Of(in.asOf.year, in.asOf.month);

    Plan plan;
    plan.firstMonthAt62 = age.FirstMonthAt62();
    plan.fraAgeMonths = FullRetirementAgeMonths(age.RuleYearOfBirth());
    plan.fraMonth = age.MonthAttained(plan.fraAgeMonths);
    plan.month70 = age.MonthAttained(70 * 12);
    if (asOfMonth > plan.month70) {
        throw PlanError("The client attained age 70 in " + MonthText(plan.month70) +
                        ", before the as-of month " + MonthText(asOfMonth) +
                        ": no claiming month is left.");
    }
    const Month first = std::max(plan.firstMonthAt62, asOfMonth);
    const int credit = DelayedCreditPer2400(age.RuleYearOfBirth());
    const int creditLimit = plan.month70.index - plan.fraMonth.index;

    // The expected values come from the month-by-month payments; the monthly benefit shown
    // is the one of the claim month with all its credits.
    const HouseholdModel model(HouseholdOf(in), table);
    plan.lifeTableEdition = MortalityEdition(in.mortality, table);
    const SingleSearch values = model.SearchSingle();
    const BenefitRules& rules = model.Rules();
    for (Month m = first; m <= plan.month70; m.index++) {
        PlanOption option;
        option.claim = m;
        option.ageMonths = age.AgeMonthsIn(m);
        option.factor = ClaimingFactor(m.index - plan.fraMonth.index, credit, creditLimit);
        option.percentOfFra = FactorPercent(option.factor);
        option.monthlyBenefit =
            BenefitRoundedToDime(TMoney{rules.PiaCents(Who::Client, m) * 100}, option.factor);
        option.isFraMonth = m == plan.fraMonth;
        option.isMonth70 = m == plan.month70;
        option.expectedValue = values.months[static_cast<std::size_t>(m.index - first.index)].value;
        plan.options.push_back(option);
    }
    plan.best = values.best;

    // Each option's schedule against the earliest gives its break-even year.
    const PlanOption& earliest = plan.options.front();
    plan.scheduleAge = earliest.ageMonths / 12;

    ScheduleInputs schedule;
    schedule.EarlyYear = first.Year();
    schedule.EarlyMonth = first.MonthOfYear();
    schedule.Age = plan.scheduleAge;
    schedule.EarlyBenefit = MoneyToReal(earliest.monthlyBenefit);
    schedule.Years = in.years;
    schedule.Rate = in.rate;
    schedule.Cola = in.cola;
    TResultTable result;
    for (std::size_t i = 0; i < plan.options.size(); ++i) {
        PlanOption& option = plan.options[i];
        schedule.LaterYear = option.claim.Year();
        schedule.LaterMonth = option.claim.MonthOfYear();
        schedule.LaterBenefit = MoneyToReal(option.monthlyBenefit);
        BuildSchedule(schedule, result);

        if (i == 0) {
            option.breakEven = BreakEven::Earliest;
        } else if (result.BreakEvenFound) {
            option.breakEven = BreakEven::Year;
            option.breakEvenYear = std::stoi(result.BreakEvenYear);
            option.ageAtBreakEven = age.AgeAtEndOfYear(option.breakEvenYear);
            // Alive at the end of the break-even year: the end of its December.
            option.chanceAliveAtBreakEven = model.Alive(
                Who::Client, Month::Of(option.breakEvenYear, 12).index - asOfMonth.index);
        } else {
            option.breakEven = BreakEven::Never;
        }
    }
    return plan;
}

std::vector<std::size_t> SummaryOptions(const Plan& plan) {
    std::vector<std::size_t> picked;
    if (plan.options.empty())
        return picked;
    const Month first = plan.options.front().claim;
    const auto indexOf = [&](Month m) { return static_cast<std::size_t>(m.index - first.index); };
    const auto add = [&](Month m) {
        if (m >= first && m <= plan.options.back().claim)
            picked.push_back(indexOf(m));
    };
    picked.push_back(0);
    for (int years = 63; years <= 69; ++years) {
        // The first month at that age: the month in which it is attained counts, as
        // the FRA month does.
        const Month m{plan.options.front().claim.index - plan.options.front().ageMonths +
                      years * 12};
        add(m);
    }
    add(plan.fraMonth);
    add(plan.month70);
    // The best month belongs on any list that is to name it.
    picked.push_back(plan.best);
    std::sort(picked.begin(), picked.end());
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    return picked;
}

}  // namespace velmora::planner
