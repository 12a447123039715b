#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/plancli.h"

namespace velmora {
struct TScenarioRec;
struct TResultTable;
}  // namespace velmora

namespace velmora::cli {

/// Exit statuses of velmora-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the calculation or the output failed
inline constexpr int kExitUsage = 2;   // an option is missing or refused

/// Writes the report of a finished calculation into a PDF file; gives the error message,
/// or an empty text. The program has one when it is built with the report.
using ReportPdfWriter = std::function<std::string(
    const std::string& path, const TScenarioRec& scenario, const TResultTable& table)>;

/// Runs velmora-cli on its arguments (program name excluded); a first argument "plan"
/// runs the claiming planner instead (cli/plancli.h). The table goes to out,
/// messages to err; on a refusal or an error nothing is written to out. Expects the
/// money format and the arithmetic context to be set up by the caller. With a report
/// writer the report options are offered, and --pdf writes the report instead of the table.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const ReportPdfWriter& writeReport = {}, const SummaryPdfWriter& writeSummary = {});

}  // namespace velmora::cli
