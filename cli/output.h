#pragma once

#include <string>

#include "cli/options.h"
#include "engine/schedule.h"

namespace velmora::cli {

/// Rows 1 to the last of the table: the twelve cell texts separated by tabs, one line
/// per row, then the result message.
std::string TsvText(const TResultTable& table);
/// The twelve column titles, then one line per row; fields holding a comma, a quote or
/// a line break are quoted.
std::string CsvText(const TResultTable& table);
/// An aligned table for a terminal: wrapped column titles, the rows, then the message.
std::string AlignedText(const TResultTable& table);
std::string FormatTable(const TResultTable& table, OutputFormat format);

/// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

/// An error message as the program shows it: a full stop is added when the last
/// character comes after '.' in character order.
std::string WithFullStop(const std::string& message);

}  // namespace velmora::cli
