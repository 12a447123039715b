#include "ui/resultcells.h"

#include <cstddef>

namespace velmora {

namespace {
std::size_t Index(int n) {
    return static_cast<std::size_t>(n);
}
}  // namespace

ResultCells::ResultCells() : rowCount_(kInitialRowCount), rows_(Index(kInitialRowCount)) {
    WriteTitles();
}

void ResultCells::SetRowCount(int rows) {
    rowCount_ = rows < 1 ? 1 : rows;
    if (rows_.size() < Index(rowCount_))
        rows_.resize(Index(rowCount_));
}

bool ResultCells::SetCellText(int column, int row, const std::string& text) {
    if (column < 0 || column >= kResultColumns || row < 0)
        return false;
    if (rows_.size() <= Index(row))
        rows_.resize(Index(row) + 1);
    rows_[Index(row)][Index(column)] = text;
    return true;
}

std::string ResultCells::GetCellText(int column, int row) const {
    if (column < 0 || column >= kResultColumns || row < 0 || Index(row) >= rows_.size())
        return {};
    return rows_[Index(row)][Index(column)];
}

void ResultCells::Clear() {
    for (int r = 0; r < rowCount_; ++r) {
        for (auto& text : rows_[Index(r)])
            text.clear();
    }
    WriteTitles();
}

void ResultCells::WriteTitles() {
    for (int c = 0; c < kResultColumns; ++c)
        rows_[0][Index(c)] = kColumnTitles[Index(c)];
}

}  // namespace velmora
