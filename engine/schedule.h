#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/money.h"

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
inline constexpr int kResultColumns = 12;
inline constexpr int kInitialRowCount = 25;  // header row and 24 empty year rows

/// Header row texts of the result table, column 0 first.
extern const std::array<const char*, kResultColumns> kColumnTitles;

/// Where the result table's texts live: the results grid in the window, a plain
/// table elsewhere. Row 0 is the header row; texts are UTF-8.
class TCellStore {
  public:
    virtual ~TCellStore() = default;
    /// Header row included; a count below 1 counts as 1.
    virtual void SetRowCount(int rows) = 0;
    virtual int RowCount() const = 0;
    virtual void SetCellText(int column, int row, const std::string& text) = 0;
    /// A cell never written reads as empty text.
    virtual std::string GetCellText(int column, int row) const = 0;
    /// false: the schedule need not make the cell's money text (a store that keeps only
    /// some cells saves the work). The year column is always written: it is read back.
    virtual bool KeepsText(int /*column*/, int /*row*/) const { return true; }
};

/// A plain in-memory cell store: titles in row 0 and 24 empty rows when made.
class MemoryCellStore final : public TCellStore {
  public:
    MemoryCellStore();
    void SetRowCount(int rows) override;
    int RowCount() const override { return rowCount_; }
    void SetCellText(int column, int row, const std::string& text) override;
    std::string GetCellText(int column, int row) const override;

  private:
    int rowCount_;
    std::vector<std::array<std::string, kResultColumns>> rows_;
};

/// The result table of the last calculation: texts in the store, totals and the
/// break-even result here.
struct TResultTable {
    explicit TResultTable(TCellStore& store) : cells(&store) {}
    TCellStore* cells;
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
};

/// Fills the table pass by pass: row count, years, months, ages, the early side, the
/// later side, the differences. An ArithmeticError (a count leaving the TMoney range)
/// ends it where it happens and leaves the cells written so far.
void BuildSchedule(const ScheduleInputs& inputs, TResultTable& table);
/// "Breakeven point occurs in the year 2014" or the not-reached message.
std::string ResultMessage(const TResultTable& table);

}  // namespace velmora
