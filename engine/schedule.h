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
/// The schedule's arithmetic without its texts: the cumulative present values and the
/// break-even result exactly as BuildSchedule finds them, for many tables against one early
/// start (the early side is shared). Years outside 1000..9999 fall back to BuildSchedule,
/// whose comparison of year texts then differs from a comparison of numbers.
struct ScheduleTotals {
    std::vector<TMoney> CumEarly;  // index r for row r; index 0 unused
    std::vector<TMoney> CumLater;
    bool BreakEvenFound = false;
    std::int32_t BreakEvenYear = 0;
};
class ScheduleArithmetic {
  public:
    /// The early side of `early` (its EarlyYear, EarlyMonth, EarlyBenefit, Years, Rate, Cola).
    explicit ScheduleArithmetic(const ScheduleInputs& early);
    /// The totals of a table with that early side and this later start. An ArithmeticError
    /// passes through as from BuildSchedule.
    void Totals(std::int32_t laterYear, std::int32_t laterMonth, long double laterBenefit,
                ScheduleTotals& out) const;

  private:
    ScheduleInputs in_;
    std::vector<TMoney> cumEarly_;
    bool numeric_ = true;
};

/// "Breakeven point occurs in the year 2014" or the not-reached message.
std::string ResultMessage(const TResultTable& table);

}  // namespace velmora
