#pragma once

// Reading the SSA tables' text: their lines, and whole-number fields taken exactly as they
// are written.

#include <sstream>
#include <string>

namespace velmora::planner {

/// Calls row(lineNumber, line) for each line of a table's text that holds something:
/// blank lines and '#' comments are passed over, and a Windows line end is taken off. The
/// header is the first such line. Line numbers count every line, from 1.
template <typename Row>
void ForEachTableLine(const std::string& text, Row row) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        row(lineNumber, line);
    }
}

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
