#pragma once

// The plan as rows of text (the columns `velmora-cli plan` prints), and what choosing an
// option puts into the calculation's inputs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/schedule.h"
#include "planner/plan.h"

namespace velmora::planner {

inline constexpr std::size_t kPlanColumns = 9;
/// Column titles; the last one heads the mark of the best row.
extern const std::array<const char*, kPlanColumns> kPlanColumnTitles;
enum PlanColumn : std::size_t {
    kClaimMonthColumn,
    kAgeColumn,
    kBenefitColumn,
    kPercentColumn,
    kBreakEvenColumn,
    kAgeThenColumn,
    kAliveColumn,
    kExpectedColumn,
    kBestColumn,
};

/// The nine texts of an option's row: claim month "YYYY-MM", age "62y 1m", monthly
/// benefit as money text, percentage of the FRA benefit with two decimals, break-even
/// year (empty for the earliest option, "never" when not reached), age at the end of
/// that year, chance alive in whole percent, expected value as whole-dollar money text,
/// and "best" on the best row.
std::vector<std::string> PlanRowTexts(const Plan& plan, std::size_t index);

/// A chance (0..1) in whole percent, halves up.
std::string ChancePercentText(long double chance);

/// Which side of the calculation an option is copied into.
enum class ClaimSide { Early, Later };

/// What choosing an option writes into the calculation's fields.
struct ClaimEntry {
    std::int32_t year = 0;
    std::int32_t month = 0;
    /// The option's monthly benefit in its claim year, in dollars (whole dimes).
    long double benefit = 0;
    /// The client's age in whole years in the claim month; written for Early only.
    bool hasAge = false;
    std::int32_t age = 0;
};
ClaimEntry ClaimEntryFor(const Plan& plan, std::size_t index, ClaimSide side);

/// The later start a summary without a chosen pair compares with the earliest option: the
/// best one, or when that is the earliest itself the FRA month, else the last option.
std::size_t SummaryLaterOption(const Plan& plan);

/// The calculation's inputs for two options, as choosing them as Early and Later puts
/// them into the fields, with the plan's COLA, rate and years.
ScheduleInputs PairInputs(const Plan& plan, const PlanInputs& inputs, std::size_t early,
                          std::size_t later);

}  // namespace velmora::planner
