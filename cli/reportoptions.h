#pragma once

#include "cli/options.h"
#include "scenario/scenariorec.h"

namespace velmora::cli {

/// --pdf and the report's texts --client, --description and --preparer. A text takes
/// at most 100 characters, blanks at both ends removed, as its entry field would.
void AddReportOptions(OptionTable& table);

/// The scenario that the report shows: the texts of the report options and the ten
/// values as given (every one of them must be there, as ResolveInputs checks).
TScenarioRec ReportScenario(const CliOptions& options);

}  // namespace velmora::cli
