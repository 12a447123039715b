#pragma once

#include <string>

#include "cli/options.h"
#include "scenario/filesystem.h"
#include "scenario/scenariorec.h"

namespace velmora::cli {

/// --scenario FILE, --save FILE, --client, --description and --preparer.
void AddScenarioOptions(OptionTable& table);

/// Takes every calculation value and text that no option gave from the --scenario file.
/// A value from the file must keep its field's rule, as a given option must. Returns
/// the refusal, or an empty text (also when there is no --scenario).
std::string ApplyScenarioFile(CliOptions& options, FileSystem& fs = SystemFileSystem());

/// The scenario that --save writes and --pdf prints: what the window's Save would write with the
/// same values in its fields. Expects every calculation value to be there.
TScenarioRec ScenarioToSave(const CliOptions& options);

/// Writes the --save file, if asked for; returns the failure's message, or an empty text.
std::string SaveScenarioOption(const CliOptions& options, FileSystem& fs = SystemFileSystem());

}  // namespace velmora::cli
