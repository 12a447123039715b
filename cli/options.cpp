#include "cli/options.h"

#include <set>
#include <sstream>
#include <variant>

#include "cli/echo.h"
#include "cli/fieldvalues.h"
#include "cli/scenariooptions.h"

namespace velmora::cli {

namespace {

template <typename T, typename Rule>
OptionDef ValueOption(const std::string& name, const std::string& valueName,
                      const std::string& help, std::optional<T> CalculationValues::*member,
                      const Rule& rule) {
    return OptionDef{name, valueName, help,
                     [member, rule](CliOptions& options, const std::string& text) -> std::string {
                         FieldValue<T> value;
                         if constexpr (std::is_same_v<T, std::int32_t>) {
                             value = ReadIntegerValue(text, rule);
                         } else {
                             value = ReadRealValue(text, rule);
                         }
                         if (const auto* reason = std::get_if<std::string>(&value)) {
                             return "\"" + Echoed(text) + "\" " + *reason;
                         }
                         options.values.*member = std::get<T>(value);
                         return {};
                     }};
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
        std::istringstream words(option.help);
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
        "\nNumbers are written with '.' as the decimal point and without group marks; decimals\n"
        "beyond those of a value are rounded half away from zero.\n\n"
        "Exit status: 0 on success, 1 when the calculation fails (for example when an amount\n"
        "leaves the money range) or the --save file cannot be written, 2 when an option is\n"
        "missing or refused.\n";
    return text;
}

void AddCalculationOptions(OptionTable& table) {
    using V = CalculationValues;
    table.Add(ValueOption("--early-year", "YEAR",
                          "calendar year in which the early benefit starts (2000 to 2030)",
                          &V::earlyYear, kYearRule));
    table.Add(ValueOption("--early-month", "MONTH",
                          "month in which the early benefit starts (1 to 12)", &V::earlyMonth,
                          kMonthRule));
    table.Add(ValueOption("--age", "AGE", "age at the early start (1 to 99)", &V::age, kAgeRule));
    table.Add(ValueOption("--early-benefit", "AMOUNT",
                          "monthly benefit when starting early (0 to 99999.99, 2 decimals)",
                          &V::earlyBenefit, kBenefitRule));
    table.Add(ValueOption("--later-year", "YEAR",
                          "calendar year in which the later benefit starts (2000 to 2030)",
                          &V::laterYear, kYearRule));
    table.Add(ValueOption("--later-month", "MONTH",
                          "month in which the later benefit starts (1 to 12)", &V::laterMonth,
                          kMonthRule));
    table.Add(ValueOption("--later-benefit", "AMOUNT",
                          "monthly benefit when starting later (0 to 99999.99, 2 decimals)",
                          &V::laterBenefit, kBenefitRule));
    table.Add(ValueOption("--cola", "PERCENT",
                          "yearly cost-of-living adjustment in percent (0 to 100, 4 decimals)",
                          &V::cola, kPercentRule));
    table.Add(ValueOption("--rate", "PERCENT",
                          "yearly discount rate in percent (0 to 100, 4 decimals)", &V::rate,
                          kPercentRule));
    table.Add(ValueOption("--years", "N", "number of years to calculate (1 to 40)", &V::years,
                          kYearsRule));
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
    table.Add(OptionDef{"--help", "", "show this text and stop",
                        [](CliOptions& options, const std::string&) -> std::string {
                            options.help = true;
                            return {};
                        }});
}

OptionTable CliOptionTable() {
    OptionTable table;
    AddCalculationOptions(table);
    AddScenarioOptions(table);
    AddOutputOptions(table);
    return table;
}

std::optional<ScheduleInputs> ResolveInputs(const CliOptions& options, std::string& error) {
    const CalculationValues& v = options.values;
    const std::pair<bool, const char*> required[] = {
        {v.earlyYear.has_value(), "--early-year"},
        {v.earlyMonth.has_value(), "--early-month"},
        {v.age.has_value(), "--age"},
        {v.earlyBenefit.has_value(), "--early-benefit"},
        {v.laterYear.has_value(), "--later-year"},
        {v.laterMonth.has_value(), "--later-month"},
        {v.laterBenefit.has_value(), "--later-benefit"},
        {v.cola.has_value(), "--cola"},
        {v.rate.has_value(), "--rate"},
        {v.years.has_value(), "--years"},
    };
    for (const auto& [given, name] : required) {
        if (!given) {
            error = std::string("missing option ") + name;
            return std::nullopt;
        }
    }
    ScheduleInputs in;
    in.EarlyYear = *v.earlyYear;
    in.EarlyMonth = *v.earlyMonth;
    in.Age = *v.age;
    in.EarlyBenefit = *v.earlyBenefit;
    in.LaterYear = *v.laterYear;
    in.LaterMonth = *v.laterMonth;
    in.LaterBenefit = *v.laterBenefit;
    in.Cola = static_cast<double>(*v.cola);  // the COLA is read as a double
    in.Rate = *v.rate;
    in.Years = *v.years;
    return in;
}

}  // namespace velmora::cli
