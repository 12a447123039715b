#pragma once

// Reading the shipped SSA tables' fields: whole numbers only, so that a figure is taken
// exactly as it is written.

#include <string>

namespace velmora::planner {

/// A whole number of at most nine digits; false for anything else (signs, blanks, points).
inline bool ReadWhole(const std::string& text, long& value) {
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace velmora::planner
