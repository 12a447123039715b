#pragma once

// velmora-cli pia: the benefit at full retirement age (PIA) from an earnings record,
// with the year table and every figure of the computation; and the PIA that
// `velmora-cli plan --earnings FILE` takes in place of --fra-benefit.

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "planner/dates.h"
#include "planner/pia.h"

namespace velmora::cli {

enum class PiaFormat { Text, Tsv, Csv, Json };

/// What `velmora-cli pia` was asked for.
struct PiaRequest {
    planner::PiaInputs inputs;
    std::string earningsPath;     // "-" for the standard input
    std::string programDataPath;  // empty: the shipped figures
    PiaFormat format = PiaFormat::Text;
    bool help = false;
};

/// Reads the arguments after "pia"; returns the refusal naming the option, or an empty
/// text. Without --as-of the computation is made for `today`. The record and the program
/// data are not read here.
std::string ParsePiaArguments(const std::vector<std::string>& args, const planner::Date& today,
                              PiaRequest& request);

/// The year table and the figures in the request's format; JSON, CSV and TSV numbers use
/// '.' whatever the locale, the text form the locale's money format.
std::string FormatPia(const planner::PiaComputation& pia, const PiaRequest& request);

/// Runs `velmora-cli pia` on the arguments after "pia"; "-" reads the record from `in`.
/// Exit statuses as the table form: 2 for a refused option, record or program data file.
int RunPiaCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err, const planner::Date& today);

std::string PiaHelpText();

/// The options `velmora-cli plan` takes for a PIA from an earnings record.
struct EarningsOptions {
    std::string earningsPath;
    std::string programDataPath;
    std::optional<std::int64_t> wageGrowthMillionths;
};
/// Adds --earnings FILE, --wage-growth P and --program-data FILE to a table.
void AddEarningsOptions(OptionTable& table, EarningsOptions& options);

/// The PIA in whole cents of the as-of year, for the planner, or why there is none.
struct EarningsPia {
    std::int64_t cents = 0;
    std::string refusal;  // empty when cents holds the PIA
    /// "computed from the earnings record FILE: ..." for the output.
    std::string note;
};
/// Reads the record and the program data (the shipped figures when the path is empty)
/// and computes. A client without 40 credits is refused as having no benefit; a spouse
/// (`spouse`) without them gets a PIA of 0, as a spouse can still draw on the other's
/// record.
EarningsPia PiaFromEarningsFile(const std::string& path, const planner::Date& born,
                                const planner::Date& asOf, double colaPercent,
                                std::optional<std::int64_t> wageGrowthMillionths,
                                const std::string& programDataPath, bool spouse = false);

}  // namespace velmora::cli
