#include "planner/plantable.h"

#include <cmath>
#include <cstdio>

#include "engine/moneytext.h"

namespace velmora::planner {

const std::array<const char*, kPlanColumns> kPlanColumnTitles = {
    "Claim month", "Age",          "Monthly benefit", "% of FRA", "Break-even",
    "Age then",    "Alive then %", "Expected value",  "Best"};

namespace {
std::string Fixed2(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2Lf", value);
    return buffer;
}
}  // namespace

std::string ChancePercentText(long double chance) {
    return std::to_string(static_cast<long>(std::floor(chance * 100 + 0.5L)));
}

std::vector<std::string> PlanRowTexts(const Plan& plan, std::size_t index) {
    const PlanOption& o = plan.options.at(index);
    std::vector<std::string> row;
    row.reserve(kPlanColumns);
    row.push_back(MonthText(o.claim));
    row.push_back(AgeText(o.ageMonths));
    row.push_back(MoneyText(MoneyToReal(o.monthlyBenefit), 2));
    row.push_back(Fixed2(o.percentOfFra));
    switch (o.breakEven) {
        case BreakEven::Earliest:
            row.insert(row.end(), {"", "", ""});
            break;
        case BreakEven::Never:
            row.insert(row.end(), {"never", "", ""});
            break;
        case BreakEven::Year:
            row.push_back(std::to_string(o.breakEvenYear));
            row.push_back(std::to_string(o.ageAtBreakEven));
            row.push_back(ChancePercentText(o.chanceAliveAtBreakEven));
            break;
    }
    row.push_back(MoneyText(o.expectedValue, 0));
    row.push_back(index == plan.best ? "best" : "");
    return row;
}

ClaimEntry ClaimEntryFor(const Plan& plan, std::size_t index, ClaimSide side) {
    const PlanOption& o = plan.options.at(index);
    ClaimEntry entry;
    entry.year = o.claim.Year();
    entry.month = o.claim.MonthOfYear();
    entry.benefit = MoneyToReal(o.monthlyBenefit);
    if (side == ClaimSide::Early) {
        entry.hasAge = true;
        entry.age = o.ageMonths / 12;
    }
    return entry;
}

std::size_t SummaryLaterOption(const Plan& plan) {
    if (plan.best != 0)
        return plan.best;
    for (std::size_t i = 1; i < plan.options.size(); ++i) {
        if (plan.options[i].isFraMonth)
            return i;
    }
    return plan.options.empty() ? 0 : plan.options.size() - 1;
}

ScheduleInputs PairInputs(const Plan& plan, const PlanInputs& inputs, std::size_t early,
                          std::size_t later) {
    const ClaimEntry e = ClaimEntryFor(plan, early, ClaimSide::Early);
    const ClaimEntry l = ClaimEntryFor(plan, later, ClaimSide::Later);
    ScheduleInputs s;
    s.EarlyYear = e.year;
    s.EarlyMonth = e.month;
    s.EarlyBenefit = e.benefit;
    s.Age = e.age;
    s.LaterYear = l.year;
    s.LaterMonth = l.month;
    s.LaterBenefit = l.benefit;
    s.Years = inputs.years;
    s.Rate = inputs.rate;
    s.Cola = inputs.cola;
    return s;
}

}  // namespace velmora::planner
