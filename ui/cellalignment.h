#pragma once

#include <functional>

namespace velmora {

/// Horizontal alignment of a grid cell's text.
enum class CellAlignment { Left, Right, Center };

/// Asked for every cell drawn: row and column, and the alignment the grid would use,
/// which the callback may replace.
using AlignmentCallback = std::function<void(int row, int column, CellAlignment& alignment)>;

}  // namespace velmora
