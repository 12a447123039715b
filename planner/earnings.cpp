#include "planner/earnings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>

namespace velmora::planner {

namespace {

constexpr int kLastEarningsYear = 2100;

std::string Trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithYear(const std::string& line) {
    return line.size() >= 4 && std::all_of(line.begin(), line.begin() + 4, IsDigit) &&
           (line.size() == 4 || !IsDigit(line[4]));
}

enum class AmountReading { Ok, Negative, Bad };

// "$61,250", "61250.5", "$ 1,234.56"; group marks only in whole groups of three.
AmountReading ReadAmount(std::string text, std::int64_t& cents) {
    text = Trim(text);
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = Trim(text.substr(1, text.size() - 2));
    }
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text = Trim(text.substr(1));
    }
    if (!text.empty() && text.front() == '$')
        text = Trim(text.substr(1));
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text = Trim(text.substr(1));
    }
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string part = point == std::string::npos ? "" : text.substr(point + 1);
    if (whole.empty() || (point != std::string::npos && (part.empty() || part.size() > 2)))
        return AmountReading::Bad;
    std::int64_t dollars = 0;
    int digits = 0;
    const bool grouped = whole.find(',') != std::string::npos;
    int sinceMark = -1;
    for (char c : whole) {
        if (c == ',') {
            if (digits == 0 || (sinceMark >= 0 && sinceMark != 3) || (sinceMark < 0 && digits > 3))
                return AmountReading::Bad;
            sinceMark = 0;
            continue;
        }
        if (!IsDigit(c) || ++digits > 12)
            return AmountReading::Bad;
        if (sinceMark >= 0)
            ++sinceMark;
        dollars = dollars * 10 + (c - '0');
    }
    if (grouped && sinceMark != 3)
        return AmountReading::Bad;
    if (!std::all_of(part.begin(), part.end(), IsDigit))
        return AmountReading::Bad;
    std::int64_t fraction = part.empty() ? 0 : std::stoll(part);
    if (part.size() == 1)
        fraction *= 10;
    cents = dollars * 100 + fraction;
    if (negative && cents != 0)
        return AmountReading::Negative;
    return AmountReading::Ok;
}

// The fields of a CSV line; a quoted field may hold commas.
std::vector<std::string> CsvFields(const std::string& line, bool& quoted) {
    std::vector<std::string> fields(1);
    bool inQuotes = false;
    quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            inQuotes = quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

bool IsNotYetRecorded(const std::vector<std::string>& words) {
    if (words.size() < 2)
        return false;
    std::string rest;
    for (std::size_t i = 1; i < words.size(); ++i)
        rest += (i > 1 ? " " : "") + words[i];
    std::transform(rest.begin(), rest.end(), rest.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return rest.rfind("not yet recorded", 0) == 0;
}

struct LineReading {
    bool skip = false;
    int year = 0;
    std::string amount;  // the Social Security amount's text
};

// A statement line: the year, then one or two amounts ("$" may stand apart).
std::string StatementAmount(const std::vector<std::string>& words, const std::string& where) {
    std::vector<std::string> amounts;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "$" && i + 1 < words.size()) {
            amounts.push_back("$" + words[++i]);
        } else {
            amounts.push_back(words[i]);
        }
    }
    if (amounts.empty() || amounts.size() > 2) {
        throw EarningsError(where +
                            "expected the year, the Social Security earnings and the "
                            "Medicare earnings");
    }
    std::int64_t medicare = 0;
    if (amounts.size() == 2) {
        const AmountReading reading = ReadAmount(amounts[1], medicare);
        if (reading == AmountReading::Negative)
            throw EarningsError(where + "a negative amount is refused");
        if (reading == AmountReading::Bad)
            throw EarningsError(where + "\"" + amounts[1] + "\" is not an amount of money");
    }
    return amounts[0];
}

}  // namespace

EarningsRecord ReadEarningsRecord(const std::string& text) {
    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
    }
    if (!lines.empty() && lines.front().rfind("\xEF\xBB\xBF", 0) == 0)
        lines.front().erase(0, 3);
    // A pasted statement brings its headings and notes along; a CSV file has only its
    // header, so other text there is a mistake worth naming.
    bool statement = false;
    for (const auto& raw : lines) {
        const std::string line = Trim(raw);
        if (StartsWithYear(line) && line.find(',') != 4 && Words(line).size() >= 2 &&
            line.substr(4, 1).find_first_of(" \t") == 0)
            statement = true;
    }

    std::map<int, std::pair<std::int64_t, int>> years;  // year -> cents, line
    bool firstContent = true;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string line = Trim(lines[n]);
        const int lineNumber = static_cast<int>(n) + 1;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.empty() || line[0] == '#')
            continue;
        const bool first = firstContent;
        firstContent = false;
        if (!StartsWithYear(line)) {
            if (statement || (first && !IsDigit(line[0])))
                continue;
            throw EarningsError(where + "expected a year and the earnings of that year");
        }
        const int year = std::stoi(line.substr(0, 4));
        std::string amountText;
        const std::string rest = Trim(line.substr(4));
        if (line.size() >= 9 && line[4] == '-' && StartsWithYear(line.substr(5))) {
            throw EarningsError(where +
                                "a range of years cannot be used; give the earnings of each "
                                "year on a line of its own");
        }
        if (!rest.empty() && rest[0] == ',') {
            bool quoted = false;
            auto fields = CsvFields(line, quoted);
            if (fields.size() > 2 && !quoted) {
                // "2024,64,000.00": the group marks of an unquoted amount.
                std::string joined = fields[1];
                for (std::size_t i = 2; i < fields.size(); ++i)
                    joined += "," + fields[i];
                fields = {fields[0], joined};
            }
            if (fields.size() != 2 || Trim(fields[0]).size() != 4)
                throw EarningsError(where + "expected two fields: the year and the earnings");
            amountText = fields[1];
        } else {
            const auto words = Words(line);
            if (IsNotYetRecorded(words))
                continue;
            amountText = StatementAmount(words, where);
        }
        if (year < kFirstEarningsYear) {
            throw EarningsError(where + std::to_string(year) +
                                " is before 1937, the first year of Social Security earnings");
        }
        if (year > kLastEarningsYear)
            throw EarningsError(where + "years after 2100 are not supported");
        std::int64_t cents = 0;
        const AmountReading reading = ReadAmount(amountText, cents);
        if (reading == AmountReading::Negative)
            throw EarningsError(where + "a negative amount is refused");
        if (reading == AmountReading::Bad) {
            throw EarningsError(where + "\"" + Trim(amountText) + "\" is not an amount of money");
        }
        if (cents > kMostEarningsCents)
            throw EarningsError(where + "the amount is larger than $999,999,999.99");
        const auto [at, inserted] = years.emplace(year, std::make_pair(cents, lineNumber));
        if (!inserted) {
            throw EarningsError(where + "the year " + std::to_string(year) +
                                " is given twice (also on line " +
                                std::to_string(at->second.second) + ")");
        }
    }
    EarningsRecord record;
    for (const auto& [year, value] : years)
        record.years.push_back({year, value.first});
    return record;
}

std::optional<std::int64_t> EarningsAmountCents(const std::string& text) {
    std::int64_t cents = 0;
    if (ReadAmount(text, cents) != AmountReading::Ok || cents > kMostEarningsCents)
        return std::nullopt;
    return cents;
}

std::string EarningsRecordCsv(const EarningsRecord& record) {
    std::string text = "year,earnings\n";
    char buffer[64];
    for (const auto& y : record.years) {
        std::snprintf(buffer, sizeof buffer, "%d,%lld.%02lld\n", y.year,
                      static_cast<long long>(y.cents / 100), static_cast<long long>(y.cents % 100));
        text += buffer;
    }
    return text;
}

}  // namespace velmora::planner
