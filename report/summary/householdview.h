#pragma once

// What the Planner page and the client summary show of the payment model: the couple's
// grid of claiming pairs by year of age, a pair in words, the references, and the chart of
// a choice against the earliest months. Plain functions over the model, no widgets.

#include <optional>
#include <string>
#include <vector>

#include "planner/chartdata.h"
#include "planner/household.h"
#include "planner/optimiser.h"

namespace velmora {

/// A cell of the couple's grid: the best pair of months within a year of age of each.
struct PairCell {
    bool possible = false;
    planner::Month client;
    planner::Month spouse;
    long double value = 0;
};

inline constexpr int kGridFirstAge = 62;
inline constexpr int kGridAges = 9;  // 62 to 70

/// The grid's cells [client age - 62][spouse age - 62]: for each year of age of each, the
/// pair of months attained in those years with the largest value (the earlier months on a
/// tie). A year in which a person cannot claim (past, or before the claim already made)
/// stays impossible.
std::vector<std::vector<PairCell>> PairCells(const planner::CoupleSearch& search,
                                             const planner::HouseholdInputs& inputs);

/// "2031-01 at 68y 7m".
std::string ClaimWords(const planner::PersonInputs& person, planner::Month claim);
/// "Client claims 2031-01 at 68y 7m, spouse 2027-06 at 67y 0m".
std::string PairWords(const planner::HouseholdInputs& inputs, planner::Month client,
                      planner::Month spouse);

/// A reference strategy and its value against the best.
struct ReferenceLine {
    std::string name;  // "Both at the earliest month", "Both at FRA", "Both at 70"
    planner::ChoiceValue choice;
    long double difference = 0;  // value - best (0 or less)
};
std::vector<ReferenceLine> References(const planner::CoupleSearch& search);

/// The chart of a choice against the earliest months (both at the earliest for a couple):
/// cumulative expected present value by calendar year of payment over the model's whole
/// horizon, and the chance that each person (and, for a couple, either) is alive at the
/// end of each year.
planner::BreakEvenChartData ExpectedValueChart(const planner::HouseholdModel& model,
                                               planner::Month client,
                                               std::optional<planner::Month> spouse);

}  // namespace velmora
