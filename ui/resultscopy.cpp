#include "ui/resultscopy.h"

namespace velmora {

namespace {

void AppendCell(std::string& out, const std::string& text) {
    if (text.find_first_of("\t\r\n\"") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendRow(std::string& out, const TCellStore& cells, const CellBlock& block, int row) {
    for (int column = block.firstColumn; column <= block.lastColumn; ++column) {
        if (column > block.firstColumn)
            out += '\t';
        AppendCell(out, cells.GetCellText(column, row));
    }
    out += '\n';
}

}  // namespace

CellBlock WholeTable(const TCellStore& cells) {
    return {0, kResultColumns - 1, 1, cells.RowCount() - 1};
}

std::string TabSeparatedText(const TCellStore& cells, const CellBlock& block) {
    std::string out;
    AppendRow(out, cells, block, 0);
    for (int row = block.firstRow; row <= block.lastRow; ++row)
        AppendRow(out, cells, block, row);
    return out;
}

}  // namespace velmora
