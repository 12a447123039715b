#pragma once

// What the break-even chart draws, taken from a calculation's result table: the two
// cumulative present values by year, the break-even year and, when the client is known,
// the chance of being alive at the end of each year.

#include <optional>
#include <string>
#include <vector>

#include "engine/schedule.h"
#include "planner/dates.h"
#include "planner/lifetable.h"

namespace velmora::planner {

/// The client the survival line is drawn for.
struct SurvivalBasis {
    Date born;
    Sex sex = Sex::Female;
    Date asOf;
};

struct BreakEvenChartData {
    std::vector<int> years;          // one per table row, in order
    std::vector<long double> early;  // cumulative present value of the early choice, dollars
    std::vector<long double> later;  // the same for the later choice
    bool breakEvenFound = false;
    int breakEvenYear = 0;
    /// Percent (0..100) alive at the end of each year, from the as-of date; empty without
    /// a client.
    std::vector<long double> alivePercent;
    /// For a couple: the spouse, and either of the two, the same way.
    std::vector<long double> spouseAlivePercent;
    std::vector<long double> eitherAlivePercent;
    /// The legend's names of the two lines and the left axis's title; empty for the
    /// calculation's own ("Early start", "Later start", "Cumulative present value").
    std::string earlyName;
    std::string laterName;
    std::string valueTitle;

    bool Empty() const { return years.empty(); }
};

/// The chart's data from the rows of a calculated table (row 1 on; rows without a year
/// text end it). Survival is l(age at the year's end) / l(age on the as-of date),
/// 100 % for a year that ends before the as-of date.
BreakEvenChartData ChartDataFrom(const TResultTable& table,
                                 const std::optional<SurvivalBasis>& client,
                                 const LifeTable& lifeTable = LifeTable::Shipped());

/// The whole number in a year cell ("2014"); nullopt for an empty or foreign text.
std::optional<int> YearOfCell(const std::string& text);

}  // namespace velmora::planner
