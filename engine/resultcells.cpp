#include "engine/resultcells.h"

#include <algorithm>
#include <cstddef>

namespace velmora {

const std::array<const char*, kResultColumns> kColumnTitles = {
    "Year",
    "No. of Months",
    "Age",
    "Monthly Benefit at Early Retirement",
    "Annual Benefit at Early Retirement",
    "Present Value",
    "PV Cumulative Benefits",
    "Monthly Benefit at Later Retirement",
    "Annual Benefit at Later Retirement",
    "Present Value",
    "PV Cumulative Benefits",
    "Difference PV Cumulative Benefits",
};

namespace {
std::size_t Index(int n) {
    return static_cast<std::size_t>(n);
}
}  // namespace

ResultCells::ResultCells() : rows_(Index(kInitialRowCount)) {
    WriteTitles();
}

ResultCells::~ResultCells() {
    if (observer_)
        observer_->CellsDestroyed();
}

void ResultCells::SetRowCount(int rows) {
    const int before = RowCount();
    const int after = std::max(rows, 1);
    if (after == before)
        return;
    if (observer_)
        observer_->RowCountChanging(before, after);
    rows_.resize(Index(after));
    if (observer_)
        observer_->RowCountChanged();
}

bool ResultCells::SetCellText(int column, int row, const std::string& text) {
    if (column < 0 || column >= kResultColumns || row < 0 || row >= RowCount() ||
        !KeepsText(column, row))
        return false;
    rows_[Index(row)][Index(column)] = text;
    if (observer_)
        observer_->CellChanged(column, row);
    return true;
}

std::string ResultCells::GetCellText(int column, int row) const {
    if (column < 0 || column >= kResultColumns || row < 0 || row >= RowCount() ||
        !KeepsText(column, row))
        return {};
    return rows_[Index(row)][Index(column)];
}

void ResultCells::Clear() {
    for (auto& row : rows_)
        row.fill({});
    WriteTitles();
    if (observer_)
        observer_->AllCellsChanged();
}

void ResultCells::WriteTitles() {
    for (int c = 0; c < kResultColumns; ++c)
        rows_[0][Index(c)] = kColumnTitles[Index(c)];
}

}  // namespace velmora
