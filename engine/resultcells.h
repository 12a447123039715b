#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/schedule.h"

namespace velmora {

/// The texts behind the results grid: a header row of column titles and the year rows.
/// Rows beyond the row count keep their texts; they are shown again when the count grows.
class ResultCells {
  public:
    /// The column titles and 24 empty year rows.
    ResultCells();

    /// Header row included; a count below 1 counts as 1.
    void SetRowCount(int rows);
    int RowCount() const { return rowCount_; }

    /// Columns outside 0..11 and negative rows are not cells: writing them does nothing.
    /// Returns whether a cell was written.
    bool SetCellText(int column, int row, const std::string& text);
    /// A cell never written, or emptied by Clear, reads as empty text.
    std::string GetCellText(int column, int row) const;

    /// Empties every cell of the current rows, header row included, then writes the
    /// column titles back into row 0. The row count is kept.
    void Clear();

  private:
    void WriteTitles();

    int rowCount_;
    std::vector<std::array<std::string, kResultColumns>> rows_;
};

}  // namespace velmora
