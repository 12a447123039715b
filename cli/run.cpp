#include "cli/run.h"

#include "cli/batch.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/plancli.h"
#include "cli/reportoptions.h"
#include "cli/scenariooptions.h"
#include "engine/money.h"
#include "engine/schedule.h"

namespace velmora::cli {

namespace {

constexpr const char* kProgram = "velmora-cli";

int Refuse(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << WithFullStop(message) << "\n"
        << "Run '" << kProgram << " --help' for the options.\n";
    return kExitUsage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const ReportPdfWriter& writeReport, const SummaryPdfWriter& writeSummary) {
    if (!args.empty() && args.front() == "plan")
        return RunPlanCli({args.begin() + 1, args.end()}, out, err, Today(), writeSummary);
    OptionTable table = CliOptionTable();
    if (writeReport)
        AddReportOptions(table);
    CliOptions options;
    // --help wins over everything else on the line, even over refused values.
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << table.HelpText(kProgram) << BatchHelpText(kProgram);
            out.flush();
            return out ? kExitOk : kExitFailed;
        }
    }
    const std::string refusal = table.Parse(args, options);
    if (!refusal.empty())
        return Refuse(err, refusal);

    if (const std::string fromFile = ApplyScenarioFile(options); !fromFile.empty())
        return Refuse(err, fromFile);

    std::string missing;
    const auto inputs = ResolveInputs(options, missing);
    if (!inputs)
        return Refuse(err, missing);

    if (const std::string failure = SaveScenarioOption(options); !failure.empty()) {
        err << kProgram << ": " << WithFullStop(failure) << "\n";
        return kExitFailed;
    }

    TResultTable result;
    try {
        BuildSchedule(*inputs, result);
    } catch (const ArithmeticError& e) {
        SetArithmeticContext();
        err << WithFullStop(e.what()) << "\n";
        return kExitFailed;
    }

    if (!options.report.pdfPath.empty()) {
        const std::string failure =
            writeReport(options.report.pdfPath, ScenarioToSave(options), result);
        if (failure.empty())
            return kExitOk;
        err << kProgram << ": " << WithFullStop(failure) << "\n";
        return kExitFailed;
    }

    out << FormatTable(result, options.format);
    out.flush();
    if (!out) {
        err << kProgram << ": " << WithFullStop("the output could not be written") << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velmora::cli
