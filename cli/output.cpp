#include "cli/output.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

namespace velmora::cli {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            quoted += buffer;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string CentsNumber(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::int64_t magnitude = negative ? -cents : cents;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", negative ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude % 100));
    return buffer;
}

namespace {

// Characters shown on a terminal: UTF-8 continuation bytes take no place.
std::size_t DisplayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string PadLeft(const std::string& text, std::size_t width) {
    const std::size_t shown = DisplayWidth(text);
    return shown >= width ? text : std::string(width - shown, ' ') + text;
}

// Greedy word wrap; a word longer than the width stands on its own line.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (!lines.empty() && DisplayWidth(lines.back()) + 1 + DisplayWidth(word) <= width) {
            lines.back() += " " + word;
        } else {
            lines.push_back(word);
        }
    }
    return lines;
}

int DataRows(const TResultTable& table) {
    return table.cells.RowCount() - 1;
}

}  // namespace

std::string TsvText(const TResultTable& table) {
    // About a row's length per row, so that the text is not copied again and again as it
    // grows; batch runs print many tables.
    std::string text;
    text.reserve(static_cast<std::size_t>(DataRows(table) + 2) * 96);
    for (int r = 1; r <= DataRows(table); ++r) {
        for (int c = 0; c < kResultColumns; ++c) {
            if (c > 0)
                text += '\t';
            text += table.cells.GetCellText(c, r);
        }
        text += '\n';
    }
    text += ResultMessage(table);
    text += '\n';
    return text;
}

std::string CsvText(const TResultTable& table) {
    std::string text;
    for (int r = 0; r <= DataRows(table); ++r) {
        for (int c = 0; c < kResultColumns; ++c) {
            if (c > 0)
                text += ',';
            text += CsvField(r == 0 ? kColumnTitles[static_cast<std::size_t>(c)]
                                    : table.cells.GetCellText(c, r));
        }
        text += '\n';
    }
    return text;
}

std::string AlignedText(const TResultTable& table) {
    const int rows = DataRows(table);
    std::vector<std::size_t> widths(kResultColumns, 0);
    for (int c = 0; c < kResultColumns; ++c) {
        auto& width = widths[static_cast<std::size_t>(c)];
        for (const auto& word : Wrap(kColumnTitles[static_cast<std::size_t>(c)], 0)) {
            width = std::max(width, DisplayWidth(word));
        }
        for (int r = 1; r <= rows; ++r) {
            width = std::max(width, DisplayWidth(table.cells.GetCellText(c, r)));
        }
    }
    std::vector<std::vector<std::string>> titles;
    std::size_t titleLines = 0;
    for (std::size_t c = 0; c < kResultColumns; ++c) {
        titles.push_back(Wrap(kColumnTitles[c], widths[c]));
        titleLines = std::max(titleLines, titles.back().size());
    }

    std::string text;
    auto addLine = [&](auto cellOf) {
        std::string line;
        for (std::size_t c = 0; c < kResultColumns; ++c) {
            if (c > 0)
                line += "  ";
            line += PadLeft(cellOf(c), widths[c]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    };
    // Titles sit on the bottom lines of the header, right above their column.
    for (std::size_t l = 0; l < titleLines; ++l) {
        addLine([&](std::size_t c) {
            const std::size_t skip = titleLines - titles[c].size();
            return l < skip ? std::string() : titles[c][l - skip];
        });
    }
    addLine([&](std::size_t c) { return std::string(widths[c], '-'); });
    for (int r = 1; r <= rows; ++r) {
        addLine([&](std::size_t c) { return table.cells.GetCellText(static_cast<int>(c), r); });
    }
    return text + "\n" + ResultMessage(table) + "\n";
}

std::string FormatTable(const TResultTable& table, OutputFormat format) {
    switch (format) {
        case OutputFormat::Tsv:
            return TsvText(table);
        case OutputFormat::Csv:
            return CsvText(table);
        case OutputFormat::Text:
            break;
    }
    return AlignedText(table);
}

}  // namespace velmora::cli
