#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/schedule.h"
#include "scenario/scenarioinputs.h"

namespace velmora::cli {

enum class OutputFormat { Text, Tsv, Csv };

/// --pdf: the report as a PDF file instead of the table (cli/reportoptions.h).
struct ReportRequest {
    std::string pdfPath;
};

/// Everything the command line asks for.
struct CliOptions {
    /// The inputs, each read as its entry field reads it; given[i] tells whether the i-th
    /// input of the inputs table has its value (from its option or the --scenario file).
    TScenarioRec scenario;
    std::array<bool, kInputCount> given{};
    OutputFormat format = OutputFormat::Text;
    // The scenario file options (cli/scenariooptions.h).
    std::string scenarioPath;
    std::string savePath;
    ReportRequest report;
};

/// One option: "--name VALUE", also written "--name=VALUE", or a flag without a value.
struct OptionDef {
    std::string name;       // with the leading dashes
    std::string valueName;  // empty for a flag
    std::string help;
    /// Takes the value (empty for a flag) into the options; returns why it is refused,
    /// or an empty text.
    std::function<std::string(CliOptions&, const std::string& value)> apply;
    /// Builds the help text in place of `help` where that costs work (the inputs' ranges
    /// are formatted from their bounds); only --help and refusals read it, so a run that
    /// just calculates does not pay for it.
    std::function<std::string()> describe = {};

    std::string Help() const { return describe ? describe() : help; }
};

/// The options the command line understands, in the order --help lists them.
class OptionTable {
  public:
    void Add(OptionDef setup);
    const std::vector<OptionDef>& Options() const { return options_; }
    /// Reads the arguments (program name excluded) into options; returns the refusal
    /// message naming the option, or an empty text.
    std::string Parse(const std::vector<std::string>& args, CliOptions& options) const;
    std::string HelpText(const std::string& program) const;

  private:
    const OptionDef* Find(const std::string& name) const;
    std::vector<OptionDef> options_;
};

/// One option for each of the thirteen inputs, from the inputs table.
void AddInputOptions(OptionTable& table);
/// --format and --help.
void AddOutputOptions(OptionTable& table);
/// Every option of velmora-cli but --pdf, which RunCli adds when it can write the report.
OptionTable CliOptionTable();

/// The schedule's inputs once every value is there; otherwise the refusal naming the
/// first missing option.
std::optional<ScheduleInputs> ResolveInputs(const CliOptions& options, std::string& error);

}  // namespace velmora::cli
