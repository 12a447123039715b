// Placeholder: the schedule lands with the engine work.
#include "engine/schedule.h"

namespace velmora {

const std::array<const char*, kResultColumns> kColumnTitles = {
    "Year", "No. of Months", "Age", "Monthly Benefit at Early Retirement",
    "Annual Benefit at Early Retirement", "Present Value", "PV Cumulative Benefits",
    "Monthly Benefit at Later Retirement", "Annual Benefit at Later Retirement", "Present Value",
    "PV Cumulative Benefits", "Difference PV Cumulative Benefits",
};

MemoryCellStore::MemoryCellStore() : rowCount_(kInitialRowCount), rows_(kInitialRowCount) {
    for (int c = 0; c < kResultColumns; ++c) rows_[0][static_cast<std::size_t>(c)] = kColumnTitles[static_cast<std::size_t>(c)];
}
void MemoryCellStore::SetRowCount(int rows) {
    rowCount_ = rows < 1 ? 1 : rows;
    if (rows_.size() < static_cast<std::size_t>(rowCount_)) rows_.resize(static_cast<std::size_t>(rowCount_));
}
void MemoryCellStore::SetCellText(int column, int row, const std::string& text) {
    if (row < 0 || column < 0 || column >= kResultColumns) return;
    if (rows_.size() <= static_cast<std::size_t>(row)) rows_.resize(static_cast<std::size_t>(row) + 1);
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}
std::string MemoryCellStore::GetCellText(int column, int row) const {
    if (row < 0 || column < 0 || column >= kResultColumns || static_cast<std::size_t>(row) >= rows_.size()) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}
void BuildSchedule(const ScheduleInputs& inputs, TResultTable& table) {
    table.cells->SetRowCount(inputs.Years + 1);
    table.BreakEvenFound = false;
    table.BreakEvenYear.clear();
}
std::string ResultMessage(const TResultTable& table) {
    if (table.BreakEvenFound) return "Breakeven point occurs in the year " + table.BreakEvenYear;
    return "Breakeven point not reached using these parameters.";
}

}  // namespace velmora
