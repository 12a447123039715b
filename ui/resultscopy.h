#pragma once

#include <string>

#include "engine/schedule.h"

namespace velmora {

/// A block of the results grid: grid columns and year rows, both ends included.
struct CellBlock {
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 1;
    int lastRow = 0;
};

/// Every column and every year row of the store.
CellBlock WholeTable(const TCellStore& cells);

/// The block as a spreadsheet takes it from the clipboard: the header row's titles of the
/// block's columns, then one line per row, cells separated by tabs, each line ended by a
/// newline. A text holding a tab, a line break or a double quote is quoted, its quotes
/// doubled, so that it stays one cell.
std::string TabSeparatedText(const TCellStore& cells, const CellBlock& block);

}  // namespace velmora
