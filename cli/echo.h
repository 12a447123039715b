#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::cli {

/// A value or name from the command line as a message shows it: control characters,
/// bytes that are no UTF-8 and characters that reorder a line are written as escapes
/// (\n, \t, \x1b, \u202e), so nothing reaches the terminal as a command; a text longer
/// than maxChars characters is cut there and ends in "...".
std::string Echoed(std::string_view text, std::size_t maxChars = 60);

}  // namespace velmora::cli
