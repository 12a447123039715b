#pragma once

#include <cstdint>
#include <string>

#include "cli/echo.h"
#include "cli/options.h"
#include "engine/messagetext.h"
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

/// A JSON string: quotes and backslashes escaped, control characters as \u escapes.
std::string JsonString(const std::string& text);

/// Whole cents as a machine number, 1234.50: '.' and no group marks, whatever the locale.
std::string CentsNumber(std::int64_t cents);

/// The value of a --format option of the planner's commands (text, tsv, csv or json) into
/// format; the refusal for anything else.
template <typename Format>
std::string ReadFormat(const std::string& text, Format& format) {
    if (text == "text") {
        format = Format::Text;
    } else if (text == "tsv") {
        format = Format::Tsv;
    } else if (text == "csv") {
        format = Format::Csv;
    } else if (text == "json") {
        format = Format::Json;
    } else {
        return "\"" + Echoed(text) + "\" is not one of text, tsv, csv, json";
    }
    return {};
}

}  // namespace velmora::cli
