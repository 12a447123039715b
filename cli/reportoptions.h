#pragma once

#include "cli/options.h"

namespace velmora::cli {

/// --pdf; the report's texts come from --client, --description and --preparer (or the
/// --scenario file), as the scenario options take them.
void AddReportOptions(OptionTable& table);

}  // namespace velmora::cli
