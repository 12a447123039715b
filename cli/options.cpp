#include "cli/options.h"

#include <cstdio>
#include <set>
#include <sstream>
#include <variant>

#include "cli/echo.h"
#include "cli/scenariooptions.h"
#include "scenario/codepage.h"

namespace velmora::cli {

namespace {

// A text field drops the blanks at both ends when the user leaves it.
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::size_t CharacterCount(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

// Why a text cannot go into a scenario file as given, or nothing: the file keeps
// Windows-1252, and a character it lacks would be saved as '?'.
std::string UnstorableText(const std::string& utf8) {
    const std::optional<char32_t> c = FirstUnstorable(utf8);
    if (!c)
        return {};
    if (*c == kMalformedUtf8)
        return "the text is not valid UTF-8";
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*c));
    return std::string("the text holds a character that a scenario file cannot store (") + code +
           ")";
}

std::string InputHelp(const ScenarioInput& input) {
    std::string help(input.help);
    switch (input.kind) {
        case InputKind::Text:
            return help + " (at most " + std::to_string(kTextFieldLength) + " characters)";
        case InputKind::Integer:
            return help + " (" + RangeText(input) + ")";
        case InputKind::Real:
            break;
    }
    const int decimals = NumericMask(input.mask, EntryFormat{}).Decimals();
    return help + " (" + RangeText(input) + ", " + std::to_string(decimals) + " decimals)";
}

OptionDef InputOption(std::size_t index) {
    const ScenarioInput& input = kScenarioInputs[index];
    return OptionDef{std::string(input.option), std::string(input.valueName), std::string(),
                     [index](CliOptions& options, const std::string& value) -> std::string {
                         const ScenarioInput& in = kScenarioInputs[index];
                         if (!in.IsNumeric()) {
                             // A longer text is refused rather than cut, so that nothing is saved
                             // or printed that the user did not see.
                             std::string text = Trimmed(value);
                             if (std::string refusal = UnstorableText(text); !refusal.empty())
                                 return refusal;
                             if (CharacterCount(text) > kTextFieldLength) {
                                 return "the text is longer than " +
                                        std::to_string(kTextFieldLength) + " characters";
                             }
                             options.scenario.*in.text = std::move(text);
                         } else {
                             const InputReading reading = TypeIntoField(in, value);
                             if (!reading.value)
                                 return "\"" + Echoed(value) + "\": " + reading.refusal;
                             StoreValue(in, *reading.value, options.scenario);
                         }
                         options.given[index] = true;
                         return {};
                     },
                     [index] { return InputHelp(kScenarioInputs[index]); }};
}

}  // namespace

void OptionTable::Add(OptionDef option) {
    options_.push_back(std::move(option));
}

const OptionDef* OptionTable::Find(const std::string& name) const {
    for (const auto& option : options_) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

std::string OptionTable::Parse(const std::vector<std::string>& args, CliOptions& options) const {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            return "unexpected argument \"" + Echoed(arg) + "\"";
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionDef* option = Find(name);
        if (option == nullptr)
            return "unknown option " + Echoed(name);
        if (!seen.insert(name).second)
            return "option " + name + " is given more than once";
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos)
                return "option " + name + " takes no value";
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return "option " + name + " needs a value (" + option->valueName + ")";
        }
        const std::string refusal = option->apply(options, value);
        if (!refusal.empty())
            return name + ": " + refusal;
    }
    return {};
}

std::string OptionTable::HelpText(const std::string& program) const {
    std::string text = "Usage: " + program + " OPTIONS\n\n";
    text +=
        "Compares claiming Social Security retirement benefits early or later: prints the\n"
        "year-by-year table of benefits, present values and cumulative present values, and\n"
        "the break-even year. Money texts follow the regional settings of the locale.\n\n"
        "Options:\n";
    constexpr std::size_t kIndent = 26;
    constexpr std::size_t kWidth = 80;
    for (const auto& option : options_) {
        std::string line = "  " + option.name;
        if (!option.valueName.empty())
            line += " " + option.valueName;
        if (line.size() < kIndent) {
            line.resize(kIndent, ' ');
        } else {
            text += line + "\n";
            line = std::string(kIndent, ' ');
        }
        // The description, wrapped at word boundaries below the first line's start.
        std::istringstream words(option.Help());
        std::string word;
        bool first = true;
        while (words >> word) {
            if (!first && line.size() + 1 + word.size() > kWidth) {
                text += line + "\n";
                line = std::string(kIndent, ' ') + word;
            } else {
                line += (first ? "" : " ") + word;
            }
            first = false;
        }
        text += line + "\n";
    }
    text +=
        "\nA number is taken as if typed into its field in the window and the field then left:\n"
        "digits, one '.' as the decimal point and a '-', no group marks; the same bounds, and\n"
        "the value rounded to the field's decimals as the field rounds it.\n\n"
        "Exit status: 0 on success, 1 when the calculation fails (for example when an amount\n"
        "leaves the money range) or the --save file cannot be written, 2 when an option is\n"
        "missing or refused.\n";
    return text;
}

void AddInputOptions(OptionTable& table) {
    for (std::size_t i = 0; i < kInputCount; ++i)
        table.Add(InputOption(i));
}

void AddOutputOptions(OptionTable& table) {
    table.Add(
        OptionDef{"--format", "FORMAT",
                  "text (default: an aligned table), tsv (the cell texts separated by tabs, the "
                  "result message last) or csv (titles, then the rows)",
                  [](CliOptions& options, const std::string& value) -> std::string {
                      if (value == "text") {
                          options.format = OutputFormat::Text;
                      } else if (value == "tsv") {
                          options.format = OutputFormat::Tsv;
                      } else if (value == "csv") {
                          options.format = OutputFormat::Csv;
                      } else {
                          return "\"" + Echoed(value) + "\" is not one of text, tsv, csv";
                      }
                      return {};
                  }});
    // Listed for --help only: RunCli answers --help before the options are read.
    table.Add(OptionDef{"--help", "", "show this text and stop",
                        [](CliOptions&, const std::string&) -> std::string { return {}; }});
}

OptionTable CliOptionTable() {
    OptionTable table;
    AddInputOptions(table);
    AddScenarioOptions(table);
    AddOutputOptions(table);
    return table;
}

std::optional<ScheduleInputs> ResolveInputs(const CliOptions& options, std::string& error) {
    for (std::size_t i = 0; i < kInputCount; ++i) {
        if (kScenarioInputs[i].IsNumeric() && !options.given[i]) {
            error = "missing option " + std::string(kScenarioInputs[i].option);
            return std::nullopt;
        }
    }
    return ScheduleInputsFromRecord(options.scenario);
}

}  // namespace velmora::cli
