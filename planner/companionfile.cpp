#include "planner/companionfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "scenario/fileerror.h"
#include "scenario/scenariofile.h"

namespace velmora::planner {

namespace {

constexpr long long kMaxBenefitCents = 9'999'999;

// A value as a message shows it: a companion is plain text anyone may have edited, so
// control characters are escaped and a long value is cut.
std::string Shown(const std::string& value) {
    constexpr std::size_t kShownChars = 40;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (i == kShownChars) {
            shown += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7F) {
            shown += "\\x";
            shown.push_back(kHex[c >> 4]);
            shown.push_back(kHex[c & 0xF]);
        } else {
            shown.push_back(static_cast<char>(c));
        }
    }
    return shown;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "1234", "1234.5" or "1234.56": whole cents, nothing else.
std::optional<long long> CentsOf(std::string_view text) {
    long long cents = 0;
    int digits = 0;
    int decimals = -1;
    for (const char c : text) {
        if (c == '.' && decimals < 0 && digits > 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9' || digits >= 7 || decimals >= 2)
            return std::nullopt;
        cents = cents * 10 + (c - '0');
        if (decimals >= 0) {
            ++decimals;
        } else {
            ++digits;
        }
    }
    if (digits == 0 || decimals == 0)
        return std::nullopt;
    for (int d = decimals < 0 ? 0 : decimals; d < 2; ++d)
        cents *= 10;
    return cents;
}

[[noreturn]] void Damaged(int line, const std::string& why) {
    throw CompanionFileError("line " + std::to_string(line) + ": " + why);
}

// The record on one line: "earnings = 2023:61250.00 2024:64000.00".
std::string EarningsLine(const EarningsRecord& record) {
    if (record.years.empty())
        return {};
    std::string line = "earnings =";
    char entry[48];
    for (const auto& y : record.years) {
        std::snprintf(entry, sizeof entry, " %d:%lld.%02lld", y.year,
                      static_cast<long long>(y.cents / 100), static_cast<long long>(y.cents % 100));
        line += entry;
    }
    return line + "\n";
}

// Each "year:amount" read as the record reader reads a CSV line, so the same rules hold.
EarningsRecord ParseEarnings(const std::string& value, int line) {
    std::string csv;
    std::size_t entries = 0;
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t end = std::min(value.find(' ', at), value.size());
        std::string entry = value.substr(at, end - at);
        at = end + 1;
        if (entry.empty())
            continue;
        const std::size_t colon = entry.find(':');
        if (colon != 4)
            Damaged(line, "earnings: \"" + entry + "\" is not year:amount");
        entry[colon] = ',';
        csv += entry + "\n";
        ++entries;
    }
    try {
        EarningsRecord record = ReadEarningsRecord(csv);
        if (record.years.size() != entries)
            Damaged(line, "earnings: an entry is not year:amount");
        return record;
    } catch (const EarningsError& e) {
        std::string why = e.what();
        if (why.rfind("line ", 0) == 0)
            why.replace(0, 5, "entry ");
        Damaged(line, "earnings: " + why);
    }
}

}  // namespace

std::string CompanionPath(const std::string& scenarioPath) {
    // NAME.ss keeps its NAME.ssp. Every other name keeps its whole self and takes an
    // ending that no NAME.ss is given, so that no two scenario files share a companion
    // (smith.ss and smith.SS, jones.ss and jones are different files).
    const std::size_t n = scenarioPath.size();
    if (n >= 3 && scenarioPath.compare(n - 3, 3, ".ss") == 0)
        return scenarioPath.substr(0, n - 3) + ".ssp";
    return scenarioPath + kOtherCompanionSuffix;
}

std::string FormatCompanion(const PlannerInputs& in) {
    char benefit[32];
    std::snprintf(benefit, sizeof benefit, "%lld.%02lld", in.fraBenefitCents / 100,
                  in.fraBenefitCents % 100);
    return "# Velmora Analysis planner inputs\n"
           "born = " +
           DateText(in.born) + "\nsex = " + (in.sex == Sex::Male ? "male" : "female") +
           "\nfra_benefit = " + benefit + "\nas_of = " + DateText(in.asOf) + "\n" +
           EarningsLine(in.earnings);
}

PlannerInputs ParseCompanion(const std::string& text) {
    PlannerInputs in;
    bool born = false, sex = false, benefit = false, asOf = false, earnings = false;
    std::string_view rest = text;
    int line = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view raw = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++line;
        const std::string_view content = Trim(raw);
        if (content.empty() || content.front() == '#')
            continue;
        const std::size_t eq = content.find('=');
        if (eq == std::string_view::npos)
            Damaged(line, "no \"key = value\"");
        const std::string_view key = Trim(content.substr(0, eq));
        const std::string value(Trim(content.substr(eq + 1)));
        const auto once = [&](bool& seen) {
            if (seen)
                Damaged(line, std::string(key) + " given twice");
            seen = true;
        };
        if (key == "born" || key == "as_of") {
            const bool isBorn = key == "born";
            once(isBorn ? born : asOf);
            const auto date = ParseDate(value);
            if (!date)
                Damaged(line, "\"" + Shown(value) + "\" is not a date of the form YYYY-MM-DD");
            // A date the Planner page cannot show would be dropped there, and lost with the
            // next Save.
            if (date->year < kLowestYear || date->year > kHighestYear)
                Damaged(line, "\"" + value + "\" is outside the years " +
                                  std::to_string(kLowestYear) + " to " +
                                  std::to_string(kHighestYear) + " that the Planner page takes");
            (isBorn ? in.born : in.asOf) = *date;
        } else if (key == "sex") {
            once(sex);
            if (value == "female") {
                in.sex = Sex::Female;
            } else if (value == "male") {
                in.sex = Sex::Male;
            } else {
                Damaged(line, "\"" + Shown(value) + "\" is not female or male");
            }
        } else if (key == "fra_benefit") {
            once(benefit);
            const auto cents = CentsOf(value);
            if (!cents || *cents > kMaxBenefitCents)
                Damaged(line, "\"" + Shown(value) + "\" is not an amount from 0 to 99999.99");
            in.fraBenefitCents = *cents;
        } else if (key == "earnings") {
            once(earnings);
            in.earnings = ParseEarnings(value, line);
        }
    }
    for (const auto& [seen, key] : {std::pair{born, "born"}, std::pair{sex, "sex"},
                                    std::pair{benefit, "fra_benefit"}, std::pair{asOf, "as_of"}}) {
        if (!seen)
            throw CompanionFileError(std::string(key) + " is missing");
    }
    return in;
}

void SaveCompanion(const std::string& path, const PlannerInputs& inputs, FileSystem& fs) {
    SaveFileBytes(path, FormatCompanion(inputs), fs);
}

void RemoveCompanion(const std::string& path, FileSystem& fs) {
    if (fs.Remove(path) != 0 && errno != ENOENT)
        throw FileErrorFromErrno(errno, FileStep::Create);
}

std::optional<PlannerInputs> LoadCompanion(const std::string& path, FileSystem& fs) {
    std::string text;
    try {
        text = LoadSmallFile(path, kMaxCompanionBytes, fs);
    } catch (const FileError& e) {
        if (e.cause() == FileError::Cause::NotFound)
            return std::nullopt;
        throw CompanionFileError(e.what());
    } catch (const FileTooLarge&) {
        throw CompanionFileError("longer than a planner file can be");
    }
    return ParseCompanion(text);
}

}  // namespace velmora::planner
