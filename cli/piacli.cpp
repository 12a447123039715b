#include "cli/piacli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <variant>

#include "cli/echo.h"
#include "cli/output.h"
#include "cli/run.h"
#include "engine/messagetext.h"
#include "engine/moneytext.h"
#include "scenario/fileerror.h"
#include "scenario/filesystem.h"
#include "scenario/scenarioinputs.h"

namespace velmora::cli {

namespace {

using planner::PiaComputation;
using planner::PiaYear;

constexpr const char* kProgram = "velmora-cli pia";
constexpr std::size_t kShownPath = 200;
// An earnings record or a year table of figures is a few kilobytes; a larger input is
// not one of them (a device, a wrong file) and is not read to its end.
constexpr std::size_t kMostFileBytes = 1 << 20;

const char* const kUsage =
    "Usage: velmora-cli pia --born YYYY-MM-DD --earnings FILE|- [--as-of YYYY-MM-DD]\n"
    "         [--future-earnings AMOUNT --until-age N|--until YYYY-MM] [--wage-growth P] [--cola "
    "P]\n"
    "         [--program-data FILE] [--format text|tsv|csv|json]\n\n"
    "Computes the benefit at full retirement age (the primary insurance amount, PIA) from\n"
    "the earnings record: each year's earnings up to the taxable maximum, indexed to the\n"
    "average wage index of the year the client attains 60 (the year before 62 minus one),\n"
    "the highest 35 years averaged by the month (AIME, down to the dollar), the formula\n"
    "with the bend points of the year 62 is attained (down to the dime), each COLA from\n"
    "December of that year, and the credits (40 are needed). Prints the year table and\n"
    "the figures, and says which figures were projected.\n\n"
    "Options:\n"
    "  --born YYYY-MM-DD        date of birth\n"
    "  --earnings FILE|-        the record: CSV lines \"year,earnings\" (a header line\n"
    "                           allowed) or the earnings table of an SSA statement pasted\n"
    "                           as text (year, taxed Social Security earnings, taxed\n"
    "                           Medicare earnings); - reads the standard input\n"
    "  --as-of YYYY-MM-DD       the date the PIA is wanted for (default: today); the PIA\n"
    "                           is given in dollars of its year, as the planner takes it\n"
    "  --future-earnings AMOUNT earnings a year from the as-of year on, in dollars of the\n"
    "                           as-of year, growing with the wage growth (0: stops now)\n"
    "  --until-age N            the age future earnings stop at (22 to 80); the year it\n"
    "                           is attained counts its months before that month\n"
    "  --until YYYY-MM          instead of --until-age: the month future earnings stop in\n"
    "                           (the claim month, say); its earlier months of the year count\n"
    "  --wage-growth P          yearly wage growth in percent for the years the wage index\n"
    "                           is not published (-10 to 15; default: the mean yearly\n"
    "                           growth of the last ten published years)\n"
    "  --cola P                 the COLA in percent for the years not yet published (0 to\n"
    "                           100, 4 decimals; default 0), as velmora-cli plan takes it\n"
    "  --program-data FILE      a newer file of SSA's yearly figures in the layout of the\n"
    "                           shipped one (year,awi,cola_percent,taxable_maximum)\n"
    "  --format FORMAT          text (default), tsv, csv or json\n"
    "  --help                   show this text and stop\n\n"
    "Out of scope: the special minimum PIA, disability freeze periods and the earnings\n"
    "test (the windfall elimination provision and government pension offset no longer\n"
    "apply from 2024).\n";

std::string Money(std::int64_t cents) {
    return MoneyText(static_cast<long double>(cents) / 100.0L, 2);
}

std::string WholeDollars(std::int64_t dollars) {
    return MoneyText(static_cast<long double>(dollars), 0);
}

// The indexing factor to seven decimals, as SSA's indexing charts print it.
std::string FactorText(const PiaYear& y) {
    if (y.factorDenominator == 0)
        return "";
    const std::int64_t scaled =
        planner::MulDivNearest(y.factorNumerator, 10000000, y.factorDenominator);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%lld.%07lld", static_cast<long long>(scaled / 10000000),
                  static_cast<long long>(scaled % 10000000));
    return buffer;
}

const char* SourceText(planner::EarningsSource source) {
    switch (source) {
        case planner::EarningsSource::Record:
            return "record";
        case planner::EarningsSource::Future:
            return "future";
        case planner::EarningsSource::None:
            break;
    }
    return "none";
}

std::string JsonYears(const std::vector<int>& years) {
    std::string text = "[";
    for (std::size_t i = 0; i < years.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(years[i]);
    return text + "]";
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

// The figures after the year table, as (name, machine value, text value).
struct Figure {
    std::string name;
    std::string value;
    std::string text;
};

std::vector<Figure> Figures(const PiaComputation& pia) {
    const std::string eligibility = std::to_string(pia.EligibilityYear());
    std::vector<Figure> f;
    f.push_back({"eligibility_year", eligibility, eligibility});
    f.push_back(
        {"indexing_year", std::to_string(pia.IndexingYear()), std::to_string(pia.IndexingYear())});
    f.push_back(
        {"indexing_wage_index", CentsNumber(pia.IndexingAwiCents()),
         Money(pia.IndexingAwiCents()) + (pia.BendPointsProjected() ? " (projected)" : "")});
    f.push_back({"computation_years", std::to_string(pia.ComputationYears()),
                 std::to_string(pia.ComputationYears()) + " (" +
                     std::to_string(pia.YearsWithEarnings()) + " with earnings)"});
    f.push_back(
        {"total_indexed", CentsNumber(pia.TotalIndexedCents()), Money(pia.TotalIndexedCents())});
    f.push_back({"aime", std::to_string(pia.AimeDollars()),
                 WholeDollars(pia.AimeDollars()) + " (total over " +
                     std::to_string(pia.ComputationYears() * 12) + " months, down to the dollar)"});
    f.push_back({"first_bend_point", std::to_string(pia.FirstBendPointDollars()),
                 WholeDollars(pia.FirstBendPointDollars())});
    f.push_back({"second_bend_point", std::to_string(pia.SecondBendPointDollars()),
                 WholeDollars(pia.SecondBendPointDollars())});
    f.push_back({"pia_at_eligibility", CentsNumber(pia.PiaAtEligibilityCents()),
                 Money(pia.PiaAtEligibilityCents()) + " in dollars of " + eligibility +
                     " (90 %, 32 %, 15 %, down to the dime)"});
    for (const auto& step : pia.ColaSteps()) {
        f.push_back({"cola_december_" + std::to_string(step.decemberOf), CentsNumber(step.piaCents),
                     Money(step.piaCents) + " after " + planner::PercentText(step.colaMillionths) +
                         " %" + (step.projected ? " (projected)" : "")});
    }
    f.push_back({"pia_as_of", CentsNumber(pia.PiaAsOfCents()),
                 Money(pia.PiaAsOfCents()) +
                     (pia.Insured() ? "" : " (no benefit: fewer than 40 credits)")});
    f.push_back(
        {"credits", std::to_string(pia.TotalCredits()),
         std::to_string(pia.TotalCredits()) + (pia.Insured() ? " (insured)" : " (not insured)")});
    return f;
}

const char* const kFigureTitles[] = {
    "Eligibility year (62)", "Indexing year",        "Wage index of the indexing year",
    "Computation years",     "Highest years, total", "AIME",
    "First bend point",      "Second bend point",    "PIA at eligibility",
};

std::string FigureTitle(const Figure& figure, std::size_t index) {
    if (index < std::size(kFigureTitles))
        return kFigureTitles[index];
    if (figure.name.rfind("cola_december_", 0) == 0)
        return "COLA of December " + figure.name.substr(14);
    if (figure.name == "pia_as_of")
        return "PIA in dollars of the as-of year";
    return "Credits";
}

std::vector<std::string> RowFields(const PiaYear& y) {
    return {std::to_string(y.year),
            SourceText(y.source),
            CentsNumber(y.earningsCents),
            std::to_string(y.taxableMaximumDollars),
            Bool(y.taxableMaximumProjected),
            CentsNumber(y.countedCents),
            FactorText(y),
            CentsNumber(y.indexedCents),
            Bool(y.amongHighest),
            std::to_string(y.quarterOfCoverageDollars),
            std::to_string(y.credits),
            Bool(y.creditsEstimated)};
}

const char* const kColumnNames[] = {
    "year",    "source",           "earnings", "taxable_maximum", "taxable_maximum_projected",
    "counted", "indexing_factor",  "indexed",  "among_highest",   "quarter_of_coverage",
    "credits", "credits_estimated"};

std::string TextForm(const PiaComputation& pia) {
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"Year", "Source", "Earnings", "Maximum", "Counted", "Factor", "Indexed",
                    "Highest", "Credits"});
    for (const auto& y : pia.Years()) {
        rows.push_back(
            {std::to_string(y.year), SourceText(y.source), Money(y.earningsCents),
             WholeDollars(y.taxableMaximumDollars) + (y.taxableMaximumProjected ? "*" : ""),
             Money(y.countedCents), FactorText(y) + (y.awiProjected ? "*" : ""),
             Money(y.indexedCents), y.amongHighest ? "yes" : "",
             std::to_string(y.credits) + (y.creditsEstimated ? "e" : "")});
    }
    std::vector<std::size_t> width(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(width[c] - row[c].size(), ' ');
            line += (c < 2 || c == 7) ? row[c] + pad : pad + row[c];
            if (c + 1 < row.size())
                line += "  ";
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    if (pia.Years().empty())
        text += "(no earnings)\n";
    text += "* projected   e estimated from the yearly total\n\n";
    const auto figures = Figures(pia);
    std::size_t titleWidth = 0;
    for (std::size_t i = 0; i < figures.size(); ++i)
        titleWidth = std::max(titleWidth, FigureTitle(figures[i], i).size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const std::string title = FigureTitle(figures[i], i);
        text += title + ": " + std::string(titleWidth - title.size(), ' ') + figures[i].text + "\n";
    }
    text += "\n";
    for (const auto& note : pia.Notes())
        text += note + "\n";
    return text;
}

std::string JsonForm(const PiaComputation& pia, const PiaRequest& request) {
    const auto& in = request.inputs;
    std::string j = "{\n";
    j += "  \"born\": " + JsonString(planner::DateText(in.born)) + ",\n";
    j += "  \"as_of\": " + JsonString(planner::DateText(in.asOf)) + ",\n";
    j += "  \"earnings\": " + JsonString(request.earningsPath) + ",\n";
    j += "  \"program_data\": " + JsonString(pia.ProgramDataSource()) + ",\n";
    j += "  \"wage_growth_percent\": " + planner::PercentText(pia.WageGrowthMillionths()) + ",\n";
    j += std::string("  \"wage_growth_default\": ") + Bool(pia.WageGrowthIsDefault()) + ",\n";
    j += "  \"cola_percent\": " + planner::PercentText(pia.ColaMillionths()) + ",\n";
    j += "  \"years\": [";
    const auto& years = pia.Years();
    for (std::size_t i = 0; i < years.size(); ++i) {
        const auto fields = RowFields(years[i]);
        j += i == 0 ? "\n    {" : ",\n    {";
        for (std::size_t c = 0; c < fields.size(); ++c) {
            j += (c > 0 ? ", \"" : "\"") + std::string(kColumnNames[c]) + "\": ";
            if (c == 1) {
                j += JsonString(fields[c]);
            } else if (c == 6 && fields[c].empty()) {
                j += "null";
            } else {
                j += fields[c];
            }
        }
        j += "}";
    }
    j += years.empty() ? "],\n" : "\n  ],\n";
    for (const auto& figure : Figures(pia)) {
        if (figure.name.rfind("cola_december_", 0) == 0)
            continue;
        j += "  " + JsonString(figure.name) + ": " + figure.value + ",\n";
    }
    j += std::string("  \"bend_points_projected\": ") + Bool(pia.BendPointsProjected()) + ",\n";
    j += "  \"cola_steps\": [";
    for (std::size_t i = 0; i < pia.ColaSteps().size(); ++i) {
        const auto& step = pia.ColaSteps()[i];
        j += (i == 0 ? "\n    " : ",\n    ") + std::string("{\"december\": ") +
             std::to_string(step.decemberOf) +
             ", \"cola_percent\": " + planner::PercentText(step.colaMillionths) +
             ", \"projected\": " + Bool(step.projected) +
             ", \"pia\": " + CentsNumber(step.piaCents) + "}";
    }
    j += pia.ColaSteps().empty() ? "],\n" : "\n  ],\n";
    j += "  \"years_taken_back\": " + std::to_string(pia.YearsTakenBack()) + ",\n";
    j += "  \"formula_pia_as_of\": " + CentsNumber(pia.FormulaPiaAsOfCents()) + ",\n";
    j += "  \"credits_before_1951\": " + std::to_string(pia.CreditsBefore1951()) + ",\n";
    j += std::string("  \"insured\": ") + Bool(pia.Insured()) + ",\n";
    j += "  \"projected_awi_years\": " + JsonYears(pia.ProjectedAwiYears()) + ",\n";
    j += "  \"projected_taxable_maximum_years\": " + JsonYears(pia.ProjectedTaxableMaximumYears()) +
         ",\n";
    j += "  \"projected_cola_years\": " + JsonYears(pia.ProjectedColaYears()) + ",\n";
    j += "  \"notes\": [";
    const auto notes = pia.Notes();
    for (std::size_t i = 0; i < notes.size(); ++i)
        j += (i == 0 ? "\n    " : ",\n    ") + JsonString(notes[i]);
    j += "\n  ]\n}\n";
    return j;
}

std::string DelimitedForm(const PiaComputation& pia, bool csv) {
    const char mark = csv ? ',' : '\t';
    const auto field = [csv](const std::string& text) { return csv ? CsvField(text) : text; };
    std::string text;
    for (std::size_t c = 0; c < std::size(kColumnNames); ++c)
        text += std::string(c > 0 ? 1 : 0, mark) + kColumnNames[c];
    text += "\n";
    for (const auto& y : pia.Years()) {
        const auto fields = RowFields(y);
        for (std::size_t c = 0; c < fields.size(); ++c)
            text += std::string(c > 0 ? 1 : 0, mark) + field(fields[c]);
        text += "\n";
    }
    // Then the figures, one a line, after an empty line.
    text += "\nfigure" + std::string(1, mark) + "value\n";
    for (const auto& figure : Figures(pia))
        text += figure.name + mark + figure.value + "\n";
    for (const auto& note : pia.Notes())
        text += std::string("note") + mark + field(note) + "\n";
    return text;
}

// The whole of a small file, or a FileError; "-" is the standard input.
std::string ReadSmallFile(const std::string& path, std::istream& in) {
    std::string text;
    char buffer[8192];
    if (path == "-") {
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            text.append(buffer, static_cast<std::size_t>(in.gcount()));
            if (text.size() > kMostFileBytes)
                throw FileError(FileError::Cause::Other, EFBIG);
        }
        if (in.bad())
            throw FileError(FileError::Cause::Other, EIO);
        return text;
    }
    FileSystem& fs = SystemFileSystem();
    const int fd = fs.Open(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0)
        throw FileErrorFromErrno(errno, FileStep::Open);
    struct Closer {
        FileSystem& fs;
        int fd;
        ~Closer() { fs.Close(fd); }
    } closer{fs, fd};
    struct stat st {};
    if (fs.FileStatus(fd, st) != 0)
        throw FileErrorFromErrno(errno, FileStep::Open);
    if (S_ISDIR(st.st_mode))
        throw FileError(FileError::Cause::NotFound);
    for (;;) {
        const ssize_t n = fs.Read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileErrorFromErrno(errno, FileStep::Read);
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMostFileBytes)
            throw FileError(FileError::Cause::Other, EFBIG);
    }
    return text;
}

std::string OptionPath(const std::string& option, const std::string& path) {
    return option + " " + Echoed(path, kShownPath) + ": ";
}

// Reads the record and the program data; the refusal names the option and the file.
std::string ReadInputs(const std::string& earningsPath, const std::string& programDataPath,
                       std::istream& in, planner::EarningsRecord& record,
                       std::optional<planner::ProgramData>& data) {
    try {
        record = planner::ReadEarningsRecord(ReadSmallFile(earningsPath, in));
    } catch (const FileError& e) {
        return OptionPath("--earnings", earningsPath) + e.what();
    } catch (const planner::EarningsError& e) {
        return OptionPath("--earnings", earningsPath) + e.what();
    }
    if (!programDataPath.empty()) {
        try {
            data = planner::ProgramData::FromCsv(ReadSmallFile(programDataPath, in),
                                                 Echoed(programDataPath, kShownPath));
        } catch (const FileError& e) {
            return OptionPath("--program-data", programDataPath) + e.what();
        } catch (const planner::ProgramDataError& e) {
            return std::string("--program-data ") + e.what();
        }
    }
    return {};
}

int Refuse(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << WithFullStop(message) << "\n"
        << "Run '" << kProgram << " --help' for the options.\n";
    return kExitUsage;
}

// A percentage with at most four decimals, possibly negative, in millionths.
std::optional<std::int64_t> ReadPercent(const std::string& text) {
    std::string digits = text;
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        digits.erase(0, 1);
    const std::size_t point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    const std::string part = point == std::string::npos ? "" : digits.substr(point + 1);
    const auto allDigits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 3 || part.size() > 4 || !allDigits(whole) ||
        !allDigits(part) || (point != std::string::npos && part.empty()))
        return std::nullopt;
    std::int64_t value = std::stoll(whole) * 10000;
    std::int64_t scale = 1000;
    for (char c : part) {
        value += (c - '0') * scale;
        scale /= 10;
    }
    return negative ? -value : value;
}

std::string WageGrowthOption(const std::string& text, std::optional<std::int64_t>& into) {
    const auto value = ReadPercent(text);
    if (!value || *value < planner::kLeastWageGrowth || *value > planner::kMostWageGrowth)
        return "\"" + Echoed(text) + "\": a percentage from -10 to 15 with at most 4 decimals";
    into = *value;
    return {};
}

std::int64_t ColaMillionths(double percent) {
    // The COLA option keeps four decimals, so this is exact.
    return static_cast<std::int64_t>(std::llround(static_cast<long double>(percent) * 10000.0L));
}

}  // namespace

std::string PiaHelpText() {
    return kUsage;
}

std::string ParsePiaArguments(const std::vector<std::string>& args, const planner::Date& today,
                              PiaRequest& request) {
    planner::PiaInputs& in = request.inputs;
    in.asOf = today;
    bool born = false;
    std::optional<std::int64_t> future;
    std::optional<int> untilAge;
    std::optional<planner::Month> untilMonth;
    OptionTable table;
    const auto dateOption = [](planner::Date& into, bool* given) {
        return [&into, given](CliOptions&, const std::string& text) -> std::string {
            const auto date = planner::ParseDate(text);
            if (!date)
                return "\"" + Echoed(text) + "\" is not a date of the form YYYY-MM-DD";
            into = *date;
            if (given != nullptr)
                *given = true;
            return {};
        };
    };
    table.Add({"--born", "YYYY-MM-DD", "", dateOption(in.born, &born)});
    table.Add({"--earnings", "FILE", "", [&](CliOptions&, const std::string& text) -> std::string {
                   if (text.empty())
                       return "needs a file name (- for the standard input)";
                   request.earningsPath = text;
                   return {};
               }});
    table.Add({"--as-of", "YYYY-MM-DD", "", dateOption(in.asOf, nullptr)});
    table.Add({"--future-earnings", "AMOUNT", "",
               [&](CliOptions&, const std::string& text) -> std::string {
                   future = planner::EarningsAmountCents(text);
                   if (!future)
                       return "\"" + Echoed(text) + "\" is not an amount from 0 to 999,999,999.99";
                   return {};
               }});
    table.Add({"--until-age", "N", "", [&](CliOptions&, const std::string& text) -> std::string {
                   const bool digits = !text.empty() && text.size() <= 2 &&
                                       std::all_of(text.begin(), text.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
                   const int age = digits ? std::stoi(text) : 0;
                   if (age < 22 || age > 80)
                       return "\"" + Echoed(text) + "\" is not an age from 22 to 80";
                   untilAge = age;
                   return {};
               }});
    table.Add({"--until", "YYYY-MM", "", [&](CliOptions&, const std::string& text) -> std::string {
                   const auto date =
                       text.size() == 7 ? planner::ParseDate(text + "-01") : std::nullopt;
                   if (!date || date->year > 2100)
                       return "\"" + Echoed(text) + "\" is not a month of the form YYYY-MM";
                   untilMonth = planner::Month::Of(date->year, date->month);
                   return {};
               }});
    table.Add({"--wage-growth", "P", "", [&](CliOptions&, const std::string& text) {
                   return WageGrowthOption(text, in.wageGrowthMillionths);
               }});
    table.Add({"--cola", "P", "", [&](CliOptions&, const std::string& text) -> std::string {
                   const InputReading reading = TypeIntoField(InputOf(&TScenarioRec::Cola), text);
                   if (!reading.value)
                       return "\"" + Echoed(text) + "\": " + reading.refusal;
                   in.colaMillionths =
                       ColaMillionths(static_cast<double>(std::get<long double>(*reading.value)));
                   return {};
               }});
    table.Add(
        {"--program-data", "FILE", "", [&](CliOptions&, const std::string& text) -> std::string {
             if (text.empty())
                 return "needs a file name";
             request.programDataPath = text;
             return {};
         }});
    table.Add({"--format", "FORMAT", "", [&](CliOptions&, const std::string& text) {
                   return ReadFormat(text, request.format);
               }});
    table.Add({"--help", "", "", [&](CliOptions&, const std::string&) -> std::string {
                   request.help = true;
                   return {};
               }});
    CliOptions unused;
    if (std::string refusal = table.Parse(args, unused); !refusal.empty())
        return refusal;
    if (request.help)
        return {};
    if (!born)
        return "missing option --born";
    if (request.earningsPath.empty())
        return "missing option --earnings";
    if (untilAge && untilMonth)
        return "--until-age and --until exclude each other";
    if (future.has_value() != (untilAge.has_value() || untilMonth.has_value()))
        return "--future-earnings goes together with --until-age or --until";
    if (future)
        in.future = planner::FutureEarnings{*future, untilAge.value_or(0), untilMonth};
    return {};
}

std::string FormatPia(const PiaComputation& pia, const PiaRequest& request) {
    switch (request.format) {
        case PiaFormat::Text:
            return TextForm(pia);
        case PiaFormat::Json:
            return JsonForm(pia, request);
        case PiaFormat::Tsv:
            return DelimitedForm(pia, false);
        case PiaFormat::Csv:
            break;
    }
    return DelimitedForm(pia, true);
}

int RunPiaCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err, const planner::Date& today) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            out.flush();
            return out ? kExitOk : kExitFailed;
        }
    }
    PiaRequest request;
    if (const std::string refusal = ParsePiaArguments(args, today, request); !refusal.empty())
        return Refuse(err, refusal);
    std::optional<planner::ProgramData> data;
    if (const std::string refusal = ReadInputs(request.earningsPath, request.programDataPath, in,
                                               request.inputs.record, data);
        !refusal.empty())
        return Refuse(err, refusal);
    if (data)
        request.inputs.data = &*data;
    std::string text;
    try {
        const PiaComputation pia(request.inputs);
        text = FormatPia(pia, request);
    } catch (const planner::PiaError& e) {
        return Refuse(err, e.what());
    }
    out << text;
    out.flush();
    if (!out) {
        err << kProgram << ": the output could not be written\n";
        return kExitFailed;
    }
    return kExitOk;
}

void AddEarningsOptions(OptionTable& table, EarningsOptions& options) {
    table.Add({"--earnings", "FILE", "", [&options](CliOptions&, const std::string& text) {
                   options.earningsPath = text;
                   return text.empty() ? std::string("needs a file name") : std::string();
               }});
    table.Add({"--wage-growth", "P", "", [&options](CliOptions&, const std::string& text) {
                   return WageGrowthOption(text, options.wageGrowthMillionths);
               }});
    table.Add({"--program-data", "FILE", "", [&options](CliOptions&, const std::string& text) {
                   options.programDataPath = text;
                   return text.empty() ? std::string("needs a file name") : std::string();
               }});
}

EarningsPia PiaFromEarningsFile(const std::string& path, const planner::Date& born,
                                const planner::Date& asOf, double colaPercent,
                                std::optional<std::int64_t> wageGrowthMillionths,
                                const std::string& programDataPath, bool spouse) {
    EarningsPia result;
    planner::PiaInputs in;
    in.born = born;
    in.asOf = asOf;
    in.colaMillionths = ColaMillionths(colaPercent);
    in.wageGrowthMillionths = wageGrowthMillionths;
    std::optional<planner::ProgramData> data;
    std::istringstream noInput;
    if (path == "-") {
        result.refusal = "--earnings: the plan reads the record from a file, not from -";
        return result;
    }
    result.refusal = ReadInputs(path, programDataPath, noInput, in.record, data);
    if (!result.refusal.empty())
        return result;
    if (data)
        in.data = &*data;
    try {
        const PiaComputation pia(in);
        if (!pia.Insured() && spouse) {
            result.note = "The spouse has no benefit of their own on the earnings record " +
                          Echoed(path, kShownPath) + " (" + std::to_string(pia.TotalCredits()) +
                          " credits; 40 are needed): benefit at FRA $0";
            return result;
        }
        if (!pia.Insured()) {
            result.refusal = OptionPath("--earnings", path) + std::to_string(pia.TotalCredits()) +
                             " credits; 40 are needed: the client has no retirement benefit of "
                             "their own on this record";
            return result;
        }
        result.cents = pia.PiaAsOfCents();
        result.note = "Benefit at FRA " + Money(result.cents) +
                      " computed from the earnings record " + Echoed(path, kShownPath) +
                      " (PIA first eligible in " + std::to_string(pia.EligibilityYear()) +
                      ", in dollars of " + std::to_string(asOf.year) + ")";
    } catch (const planner::PiaError& e) {
        result.refusal = OptionPath("--earnings", path) + e.what();
    }
    return result;
}

}  // namespace velmora::cli
