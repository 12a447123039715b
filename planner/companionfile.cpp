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
std::string EarningsLine(const EarningsRecord& record, const std::string& prefix) {
    if (record.years.empty())
        return {};
    std::string line = prefix + "earnings =";
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

namespace {

std::string CentsText(std::int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return text;
}

std::string FactorText(long double factor) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2Lf", factor);
    return text;
}

// One person's lines; the spouse's keys carry the prefix.
std::string PersonLines(const PersonInputs& p, const std::string& prefix) {
    std::string lines = prefix + "born = " + DateText(p.born) + "\n" + prefix +
                        "sex = " + (p.sex == Sex::Male ? "male" : "female") + "\n" + prefix +
                        "fra_benefit = " + CentsText(p.piaCents) + "\n";
    if (p.claimed)
        lines += prefix + "claimed = " + MonthText(*p.claimed) + "\n";
    if (p.mortalityFactor != 1)
        lines += prefix + "mortality_factor = " + FactorText(p.mortalityFactor) + "\n";
    return lines + EarningsLine(p.earnings, prefix);
}

}  // namespace

std::string FormatCompanion(const PlannerInputs& in) {
    std::string text = "# Velmora Analysis planner inputs\n" + PersonLines(in.client, "") +
                       "as_of = " + DateText(in.asOf) + "\n";
    text += std::string("mortality = ") +
            (in.mortality == MortalityKind::Period ? "period" : "cohort") + "\n";
    if (in.spouse)
        text += PersonLines(*in.spouse, "spouse_");
    return text;
}

namespace {

// "YYYY-MM".
std::optional<Month> ParseMonth(const std::string& text) {
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    const auto date = ParseDate(text + "-01");
    if (!date)
        return std::nullopt;
    return Month::Of(date->year, date->month);
}

// A date of the form YYYY-MM-DD in the years the Planner page's date fields take: a date
// the page cannot show would be dropped there, and lost with the next Save.
Date DateOf(const std::string& value, int line) {
    const auto date = ParseDate(value);
    if (!date)
        Damaged(line, "\"" + Shown(value) + "\" is not a date of the form YYYY-MM-DD");
    if (date->year < kLowestYear || date->year > kHighestYear)
        Damaged(line, "\"" + value + "\" is outside the years " + std::to_string(kLowestYear) +
                          " to " + std::to_string(kHighestYear) + " that the Planner page takes");
    return *date;
}

// "1", "1.5", "0.25": the factor's hundredths, 0.25 to 4.
std::optional<long double> FactorOf(const std::string& text) {
    const auto hundredths = CentsOf(text);
    if (!hundredths || *hundredths < 25 || *hundredths > 400)
        return std::nullopt;
    return static_cast<long double>(*hundredths) / 100;
}

}  // namespace

PlannerInputs ParseCompanion(const std::string& text, std::vector<std::string>* unknownKeys) {
    PlannerInputs in;
    PersonInputs spouse;
    enum Key { kBorn, kSex, kBenefit, kClaimed, kFactor, kEarnings, kKeys };
    bool seen[2][kKeys] = {};
    bool asOf = false;
    bool mortality = false;
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
        std::string_view key = Trim(content.substr(0, eq));
        const std::string value(Trim(content.substr(eq + 1)));
        const auto once = [&](bool& flag) {
            if (flag)
                Damaged(line, std::string(Trim(content.substr(0, eq))) + " given twice");
            flag = true;
        };
        if (key == "as_of") {
            once(asOf);
            in.asOf = DateOf(value, line);
            continue;
        }
        if (key == "mortality") {
            once(mortality);
            if (value == "cohort") {
                in.mortality = MortalityKind::Cohort;
            } else if (value == "period") {
                in.mortality = MortalityKind::Period;
            } else {
                Damaged(line, "\"" + Shown(value) + "\" is not cohort or period");
            }
            continue;
        }
        const bool isSpouse = key.substr(0, 7) == "spouse_";
        if (isSpouse)
            key.remove_prefix(7);
        PersonInputs& person = isSpouse ? spouse : in.client;
        bool* flags = seen[isSpouse ? 1 : 0];
        if (key == "born") {
            once(flags[kBorn]);
            person.born = DateOf(value, line);
        } else if (key == "sex") {
            once(flags[kSex]);
            if (value == "female") {
                person.sex = Sex::Female;
            } else if (value == "male") {
                person.sex = Sex::Male;
            } else {
                Damaged(line, "\"" + Shown(value) + "\" is not female or male");
            }
        } else if (key == "fra_benefit") {
            once(flags[kBenefit]);
            const auto cents = CentsOf(value);
            if (!cents || *cents > kMaxBenefitCents)
                Damaged(line, "\"" + Shown(value) + "\" is not an amount from 0 to 99999.99");
            person.piaCents = *cents;
        } else if (key == "claimed") {
            once(flags[kClaimed]);
            const auto month = ParseMonth(value);
            if (!month)
                Damaged(line, "\"" + Shown(value) + "\" is not a month of the form YYYY-MM");
            if (month->Year() < kLowestYear || month->Year() > kHighestYear)
                Damaged(line, "\"" + value + "\" is outside the years " +
                                  std::to_string(kLowestYear) + " to " +
                                  std::to_string(kHighestYear) + " that the Planner page takes");
            person.claimed = *month;
        } else if (key == "mortality_factor") {
            once(flags[kFactor]);
            const auto factor = FactorOf(value);
            if (!factor)
                Damaged(line, "\"" + Shown(value) + "\" is not a factor from 0.25 to 4");
            person.mortalityFactor = *factor;
        } else if (key == "earnings") {
            once(flags[kEarnings]);
            person.earnings = ParseEarnings(value, line);
        } else if (unknownKeys != nullptr) {
            unknownKeys->push_back(std::string(Trim(content.substr(0, eq))));
        }
    }
    for (const auto& [present, key] :
         {std::pair{seen[0][kBorn], "born"}, std::pair{seen[0][kSex], "sex"},
          std::pair{seen[0][kBenefit], "fra_benefit"}, std::pair{asOf, "as_of"}}) {
        if (!present)
            throw CompanionFileError(std::string(key) + " is missing");
    }
    const bool anySpouse =
        std::any_of(std::begin(seen[1]), std::end(seen[1]), [](bool b) { return b; });
    if (anySpouse) {
        for (const auto& [present, key] :
             {std::pair{seen[1][kBorn], "spouse_born"}, std::pair{seen[1][kSex], "spouse_sex"},
              std::pair{seen[1][kBenefit], "spouse_fra_benefit"}}) {
            if (!present)
                throw CompanionFileError(std::string(key) + " is missing");
        }
        in.spouse = spouse;
    }
    return in;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string ShownInMessage(const std::string& value) {
    return Shown(value);
}

void SaveCompanion(const std::string& path, const PlannerInputs& inputs, FileSystem& fs) {
    SaveFileBytes(path, FormatCompanion(inputs), fs);
}

void RemoveCompanion(const std::string& path, FileSystem& fs) {
    if (fs.Remove(path) != 0 && errno != ENOENT)
        throw FileErrorFromErrno(errno, FileStep::Create);
}

std::optional<PlannerInputs> LoadCompanion(const std::string& path, FileSystem& fs,
                                           std::vector<std::string>* unknownKeys) {
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
    return ParseCompanion(text, unknownKeys);
}

}  // namespace velmora::planner
