#include "cli/scenariooptions.h"

#include <cmath>
#include <cstdio>
#include <variant>

#include "cli/echo.h"
#include "cli/fieldvalues.h"
#include "scenario/codepage.h"
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

// A text field holds at most 100 characters; a longer text is refused rather than cut,
// so that nothing is saved or printed that the user did not see.
OptionDef TextOption(const std::string& name, const std::string& help,
                     std::optional<std::string> CliOptions::*member) {
    return OptionDef{name, "TEXT", help,
                     [member](CliOptions& options, const std::string& value) -> std::string {
                         std::string text = Trimmed(value);
                         if (std::string refusal = UnstorableText(text); !refusal.empty())
                             return refusal;
                         if (CharacterCount(text) > 100)
                             return "the text is longer than 100 characters";
                         options.*member = std::move(text);
                         return {};
                     }};
}

// A stored real as its field shows it: rounded to the mask's decimals, and only then
// held against the bounds, so that the nearest real to 99999.99 passes as 99999.99.
FieldValue<long double> FileReal(long double stored, const RealRule& rule) {
    if (std::isnan(stored))
        return std::string("is not a number");
    if (!(std::fabs(stored) < 1e15L)) {
        return ReadRealValue(std::signbit(stored) ? "-1000000000000000" : "1000000000000000", rule);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*Lf", rule.decimals, stored);
    return ReadRealValue(text, rule);
}

// An integer field keeps the low 16 bits of what it is given.
FieldValue<std::int32_t> FileInteger(std::int32_t stored, const IntegerRule& rule) {
    const auto shown = static_cast<std::int16_t>(stored);
    return ReadIntegerValue(std::to_string(shown), rule);
}

std::string StoredText(long double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.12Lg", v);
    return text;
}

template <typename T, typename Stored, typename Reader>
std::string TakeFromFile(std::optional<T>& value, Stored stored, const Reader& read,
                         const char* option) {
    if (value)
        return {};  // the option given overrides the file
    auto taken = read(stored);
    if (const auto* reason = std::get_if<std::string>(&taken)) {
        std::string shown;
        if constexpr (std::is_same_v<Stored, long double>) {
            shown = StoredText(stored);
        } else {
            shown = std::to_string(stored);
        }
        return std::string("the file's value for ") + option + ", \"" + shown + "\", " + *reason +
               " (give " + option + " to replace it)";
    }
    value = std::get<T>(taken);
    return {};
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
    table.Add(TextOption(
        "--client",
        "the client's name, saved by --save and printed by --pdf (at most 100 characters)",
        &CliOptions::clientName));
    table.Add(
        TextOption("--description",
                   "the description, saved by --save and printed by --pdf (at most 100 characters)",
                   &CliOptions::description));
    table.Add(TextOption("--preparer",
                         "the preparer's name, saved by --save and printed by --pdf (at most "
                         "100 characters)",
                         &CliOptions::preparer));
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
    CalculationValues& v = options.values;
    const auto real = [](const RealRule& rule) {
        return [&rule](long double stored) { return FileReal(stored, rule); };
    };
    const auto integer = [](const IntegerRule& rule) {
        return [&rule](std::int32_t stored) { return FileInteger(stored, rule); };
    };
    const std::string refusals[] = {
        TakeFromFile(v.earlyYear, rec.EarlyYear, integer(kYearRule), "--early-year"),
        TakeFromFile(v.earlyMonth, rec.EarlyMonth, integer(kMonthRule), "--early-month"),
        TakeFromFile(v.age, rec.Age, integer(kAgeRule), "--age"),
        TakeFromFile(v.earlyBenefit, rec.EarlyBenefit, real(kBenefitRule), "--early-benefit"),
        TakeFromFile(v.laterYear, rec.LaterYear, integer(kYearRule), "--later-year"),
        TakeFromFile(v.laterMonth, rec.LaterMonth, integer(kMonthRule), "--later-month"),
        TakeFromFile(v.laterBenefit, rec.LaterBenefit, real(kBenefitRule), "--later-benefit"),
        TakeFromFile(v.cola, rec.Cola, real(kPercentRule), "--cola"),
        TakeFromFile(v.rate, rec.Rate, real(kPercentRule), "--rate"),
        TakeFromFile(v.years, rec.Years, integer(kYearsRule), "--years"),
    };
    for (const std::string& refusal : refusals) {
        if (!refusal.empty())
            return prefix + refusal;
    }
    // The fields cut a text at a zero byte.
    const auto text = [](const std::string& stored) { return stored.substr(0, stored.find('\0')); };
    if (!options.clientName)
        options.clientName = text(rec.ClientName);
    if (!options.description)
        options.description = text(rec.Description);
    if (!options.preparer)
        options.preparer = text(rec.Preparer);
    return {};
}

TScenarioRec ScenarioToSave(const CliOptions& options) {
    const CalculationValues& v = options.values;
    TScenarioRec rec;
    rec.ClientName = options.clientName.value_or("");
    rec.Description = options.description.value_or("");
    rec.Preparer = options.preparer.value_or("");
    rec.Cola = v.cola.value_or(0);
    rec.Years = v.years.value_or(0);
    rec.Rate = v.rate.value_or(0);
    rec.EarlyMonth = v.earlyMonth.value_or(0);
    rec.EarlyYear = v.earlyYear.value_or(0);
    rec.LaterMonth = v.laterMonth.value_or(0);
    rec.LaterYear = v.laterYear.value_or(0);
    rec.Age = v.age.value_or(0);
    rec.EarlyBenefit = v.earlyBenefit.value_or(0);
    rec.LaterBenefit = v.laterBenefit.value_or(0);
    return rec;
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
