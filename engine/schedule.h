#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/money.h"
#include "engine/resultcells.h"

namespace velmora {

enum ResultColumn {
    grdYear,
    grdMonths,
    grdAge,
    grdEarlyBenefit,
    grdAnnualEarlyBenefit,
    grdEarlyPv,
    grdEarlyPvCumulative,
    grdLaterBenefit,
    grdAnnualLaterBenefit,
    grdLaterPv,
    grdLaterPvCumulative,
    grdDifference,
};
/// The result table of the last calculation: its texts, totals and break-even result.
/// The results grid shows the cells; the report and the command line read them.
struct TResultTable {
    ResultCells cells;
    std::vector<TMoney> CumEarly;  // index r for row r; index 0 unused
    std::vector<TMoney> CumLater;
    bool BreakEvenFound = false;
    std::string BreakEvenYear;
};

/// The ten numeric inputs of a scenario, as the Calculate command reads them.
struct ScheduleInputs {
    std::int32_t EarlyYear = 0;
    std::int32_t Age = 0;
    long double EarlyBenefit = 0;
    long double LaterBenefit = 0;
    std::int32_t EarlyMonth = 0;
    std::int32_t LaterMonth = 0;
    std::int32_t Years = 0;
    long double Rate = 0;
    double Cola = 0;
    std::int32_t LaterYear = 0;
    friend bool operator==(const ScheduleInputs&, const ScheduleInputs&) = default;
};

/// Fills the table pass by pass: row count, years, months, ages, the early side, the
/// later side, the differences. An ArithmeticError (a count leaving the TMoney range)
/// ends it where it happens and leaves the cells written so far.
void BuildSchedule(const ScheduleInputs& inputs, TResultTable& table);
/// "Breakeven point occurs in the year 2014" or the not-reached message.
std::string ResultMessage(const TResultTable& table);

}  // namespace velmora
