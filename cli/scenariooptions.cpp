#include "cli/scenariooptions.h"

#include <cstdio>

#include "cli/echo.h"
#include "scenario/scenariofile.h"

namespace velmora::cli {

namespace {

// A file name is shown longer than a value before it is cut.
constexpr std::size_t kShownPath = 200;

OptionDef PathOption(const std::string& name, const std::string& help,
                     std::string CliOptions::*member) {
    return OptionDef{name, "FILE", help,
                     [member](CliOptions& options, const std::string& value) -> std::string {
                         if (value.empty())
                             return "needs a file name";
                         options.*member = value;
                         return {};
                     }};
}

// A stored value as the message shows it.
std::string StoredText(const ScenarioInput& input, const TScenarioRec& rec) {
    if (input.kind == InputKind::Integer)
        return std::to_string(rec.*input.integer);
    char text[64];
    std::snprintf(text, sizeof text, "%.12Lg", rec.*input.real);
    return text;
}

}  // namespace

void AddScenarioOptions(OptionTable& table) {
    table.Add(PathOption("--scenario",
                         "take the calculation values from a scenario file (.ss); options given "
                         "as well replace the file's values",
                         &CliOptions::scenarioPath));
    table.Add(PathOption("--save",
                         "save the scenario (the calculation values and the three texts) to a "
                         "scenario file (.ss), replacing it, before calculating",
                         &CliOptions::savePath));
}

std::string ApplyScenarioFile(CliOptions& options, FileSystem& fs) {
    if (options.scenarioPath.empty())
        return {};
    const std::string prefix = "--scenario " + Echoed(options.scenarioPath, kShownPath) + ": ";
    TScenarioRec rec;
    try {
        rec = LoadScenarioFile(options.scenarioPath, fs);
    } catch (const FileError& e) {
        return prefix + e.what();
    }
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const ScenarioInput& input = kScenarioInputs[i];
        if (options.given[i])
            continue;  // the option given overrides the file
        if (!input.IsNumeric()) {
            // The fields cut a text at a zero byte.
            const std::string& stored = rec.*input.text;
            options.scenario.*input.text = stored.substr(0, stored.find('\0'));
        } else {
            // Taken as Open shows it and Calculate then reads it.
            const InputReading reading = ReadStoredValue(input, rec);
            if (!reading.value) {
                const std::string option(input.option);
                return prefix + "the file's value for " + option + ", \"" + StoredText(input, rec) +
                       "\": " + reading.refusal + " (give " + option + " to replace it)";
            }
            StoreValue(input, *reading.value, options.scenario);
        }
        options.given[i] = true;
    }
    return {};
}

TScenarioRec ScenarioToSave(const CliOptions& options) {
    return options.scenario;
}

std::string SaveScenarioOption(const CliOptions& options, FileSystem& fs) {
    if (options.savePath.empty())
        return {};
    try {
        SaveScenarioFile(options.savePath, ScenarioToSave(options), fs);
    } catch (const FileError& e) {
        return "--save " + Echoed(options.savePath, kShownPath) + ": " + e.what();
    }
    return {};
}

}  // namespace velmora::cli
