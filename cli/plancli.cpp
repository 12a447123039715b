#include "cli/plancli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <variant>

#include "cli/options.h"
#include "cli/output.h"
#include "cli/run.h"
#include "engine/moneytext.h"
#include "planner/plantable.h"
#include "scenario/scenarioinputs.h"

namespace velmora::cli {

namespace {

using planner::BreakEven;
using planner::Plan;
using planner::PlanOption;

constexpr const char* kProgram = "velmora-cli plan";

const char* const kUsage =
    "Usage: velmora-cli plan --born YYYY-MM-DD --sex female|male --fra-benefit AMOUNT\n"
    "         [--as-of YYYY-MM-DD] [--cola P] [--rate P] [--years N] [--monthly]\n"
    "         [--format text|tsv|csv|json]\n\n"
    "Lists the months in which the client can start retirement benefits, from the first\n"
    "month at 62 (or the as-of month) to the month 70 is attained. For each: the monthly\n"
    "benefit and its percentage of the benefit at full retirement age (FRA); the\n"
    "break-even year against the earliest month, from the year-by-year table with the\n"
    "earliest month as the early start and this month as the later one; the client's age\n"
    "at the end of that year and the chance of being alive then; and the present values\n"
    "of the table's years, each weighted by the chance of being alive in the middle of\n"
    "its year. The best month has the largest expected value.\n\n"
    "Options:\n"
    "  --born YYYY-MM-DD       date of birth\n"
    "  --sex female|male       selects the life table's column\n"
    "  --fra-benefit AMOUNT    monthly benefit at FRA in dollars of the as-of year\n"
    "                          (0 to 99999.99, 2 decimals)\n"
    "  --as-of YYYY-MM-DD      the date the plan is made for (default: today)\n"
    "  --cola P                yearly cost-of-living adjustment in percent (0 to 100,\n"
    "                          4 decimals; default 0); the benefit at FRA grows by it\n"
    "                          once a year up to the claim year\n"
    "  --rate P                yearly discount rate in percent (0 to 100, 4 decimals;\n"
    "                          default 0)\n"
    "  --years N               years of each table (1 to 40; default 40)\n"
    "  --monthly               every month; otherwise the first month, the first month\n"
    "                          at each age 63 to 69, the FRA month, the month 70 is\n"
    "                          attained and the best month\n"
    "  --format FORMAT         text (default), tsv, csv or json\n"
    "  --help                  show this text and stop\n\n"
    "Ages count as the law does: an age is attained on the day before the birthday.\n"
    "Benefits are rounded down to the dime. Survival comes from the life table named in\n"
    "the output.\n";

const char* const kSummaryUsage =
    "\nClient summary (this build has the report):\n"
    "  --pdf FILE              write the one-page client summary (landscape Letter) into\n"
    "                          FILE instead of the list: the chart of the earliest month\n"
    "                          against the best one (the FRA month when the earliest is\n"
    "                          the best), the listed months with the best one marked, the\n"
    "                          break-even year and the chance of living past it; no\n"
    "                          display is needed and the file appears only when complete\n"
    "  --client NAME           the client's name on the summary\n"
    "  --preparer NAME         the preparer's name on the summary\n";

std::string ChanceText(long double chance) {
    return planner::ChancePercentText(chance);
}

std::string Fixed2(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2Lf", value);
    return buffer;
}

// Dollars with exactly two decimals from a count of ten-thousandths (whole dimes or cents).
std::string CountText(std::int64_t count) {
    const std::int64_t cents = count >= 0 ? (count + 50) / 100 : (count - 50) / 100;
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", cents < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude % 100));
    return buffer;
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            quoted += buffer;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::size_t DisplayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr std::size_t kColumns = planner::kPlanColumns;
const auto& kTitles = planner::kPlanColumnTitles;

std::vector<std::string> RowTexts(const Plan& plan, std::size_t index) {
    return planner::PlanRowTexts(plan, index);
}

std::string BestLine(const Plan& plan) {
    const PlanOption& best = plan.options[plan.best];
    return "Best: claiming in " + planner::MonthText(best.claim) + " at " +
           planner::AgeText(best.ageMonths) + ", expected value " +
           MoneyText(best.expectedValue, 0);
}

std::string TextForm(const Plan& plan, const std::vector<std::size_t>& shown) {
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back(kTitles.begin(), kTitles.end());
    rows.back().back() = "";
    for (std::size_t i : shown)
        rows.push_back(RowTexts(plan, i));
    std::vector<std::size_t> width(kColumns, 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < kColumns; ++c)
            width[c] = std::max(width[c], DisplayWidth(row[c]));
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < kColumns; ++c) {
            const std::size_t pad = width[c] - DisplayWidth(row[c]);
            // Month and age to the left, numbers to the right.
            if (c < 2) {
                line += row[c] + std::string(pad, ' ');
            } else {
                line += std::string(pad, ' ') + row[c];
            }
            if (c + 1 < kColumns)
                line += "  ";
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    text += "\nFull retirement age " + planner::AgeText(plan.fraAgeMonths) + ", attained in " +
            planner::MonthText(plan.fraMonth) + "; age 70 attained in " +
            planner::MonthText(plan.month70) + ".\n";
    text += BestLine(plan) + ".\n";
    text += "Survival: " + plan.lifeTableEdition + ".\n";
    return text;
}

std::string JsonForm(const Plan& plan, const PlanRequest& request,
                     const std::vector<std::size_t>& shown) {
    const auto& in = request.inputs;
    std::string j = "{\n";
    j += "  \"born\": " + JsonString(planner::DateText(in.born)) + ",\n";
    j += "  \"sex\": " + JsonString(in.sex == planner::Sex::Male ? "male" : "female") + ",\n";
    j += "  \"fra_benefit\": " + CountText(MoneyFromReal(in.fraBenefit).count) + ",\n";
    j += "  \"as_of\": " + JsonString(planner::DateText(in.asOf)) + ",\n";
    char number[64];
    std::snprintf(number, sizeof number, "%.4f", in.cola);
    j += std::string("  \"cola\": ") + number + ",\n";
    std::snprintf(number, sizeof number, "%.4Lf", in.rate);
    j += std::string("  \"rate\": ") + number + ",\n";
    j += "  \"years\": " + std::to_string(in.years) + ",\n";
    j += "  \"full_retirement_age\": " + JsonString(planner::AgeText(plan.fraAgeMonths)) + ",\n";
    j += "  \"fra_month\": " + JsonString(planner::MonthText(plan.fraMonth)) + ",\n";
    j += "  \"month_70\": " + JsonString(planner::MonthText(plan.month70)) + ",\n";
    j += "  \"life_table\": " + JsonString(plan.lifeTableEdition) + ",\n";
    j += "  \"best\": " + JsonString(planner::MonthText(plan.options[plan.best].claim)) + ",\n";
    j += "  \"options\": [";
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const std::size_t i = shown[k];
        const PlanOption& o = plan.options[i];
        j += k == 0 ? "\n" : ",\n";
        j += "    {\"claim_month\": " + JsonString(planner::MonthText(o.claim));
        j += ", \"age_at_claim\": " + JsonString(planner::AgeText(o.ageMonths));
        j += ", \"monthly_benefit\": " + CountText(o.monthlyBenefit.count);
        j += ", \"percent_of_fra\": " + Fixed2(o.percentOfFra);
        const bool reached = o.breakEven == BreakEven::Year;
        j += ", \"break_even\": ";
        j += o.breakEven == BreakEven::Earliest ? "\"earliest\""
             : reached                          ? "\"year\""
                                                : "\"never\"";
        j += ", \"break_even_year\": " + (reached ? std::to_string(o.breakEvenYear) : "null");
        j += ", \"age_at_break_even\": " + (reached ? std::to_string(o.ageAtBreakEven) : "null");
        j += ", \"chance_alive_percent\": " +
             (reached ? ChanceText(o.chanceAliveAtBreakEven) : "null");
        j += ", \"weighted_value\": " + CountText(MoneyFromReal(o.expectedValue).count);
        j += std::string(", \"best\": ") + (i == plan.best ? "true" : "false") + "}";
    }
    j += "\n  ]\n}\n";
    return j;
}

// The value as typed into the input's field of the window and the field then left: the
// same rules, rounding and messages as the table form's option for that input.
std::string Typed(const ScenarioInput& input, const std::string& text, InputValue& into) {
    const InputReading reading = TypeIntoField(input, text);
    if (!reading.value)
        return "\"" + text + "\": " + reading.refusal;
    into = *reading.value;
    return {};
}

int Refuse(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << WithFullStop(message) << "\n"
        << "Run '" << kProgram << " --help' for the options.\n";
    return kExitUsage;
}

}  // namespace

std::string ParsePlanArguments(const std::vector<std::string>& args, const planner::Date& today,
                               PlanRequest& request, bool withSummary) {
    bool born = false, sex = false, benefit = false;
    planner::PlanInputs& in = request.inputs;
    in.asOf = today;
    in.cola = 0;
    in.rate = 0;
    in.years = 40;

    // The option table of the flag form reads "--name VALUE" and "--name=VALUE" and
    // refuses repeats; its records carry the values here.
    OptionTable table;
    const auto dateOption = [](planner::Date& into, bool* given) {
        return [&into, given](CliOptions&, const std::string& text) -> std::string {
            const auto date = planner::ParseDate(text);
            if (!date)
                return "\"" + text + "\" is not a date of the form YYYY-MM-DD";
            into = *date;
            if (given != nullptr)
                *given = true;
            return {};
        };
    };
    table.Add({"--born", "YYYY-MM-DD", "", dateOption(in.born, &born)});
    table.Add(
        {"--sex", "female|male", "", [&](CliOptions&, const std::string& text) -> std::string {
             if (text == "female") {
                 in.sex = planner::Sex::Female;
             } else if (text == "male") {
                 in.sex = planner::Sex::Male;
             } else {
                 return "\"" + text + "\" is not one of female, male";
             }
             sex = true;
             return {};
         }});
    table.Add(
        {"--fra-benefit", "AMOUNT", "", [&](CliOptions&, const std::string& text) -> std::string {
             InputValue value;
             std::string refusal = Typed(InputOf(&TScenarioRec::EarlyBenefit), text, value);
             if (!refusal.empty())
                 return refusal;
             in.fraBenefit = std::get<long double>(value);
             benefit = true;
             return {};
         }});
    table.Add({"--as-of", "YYYY-MM-DD", "", dateOption(in.asOf, &request.asOfGiven)});
    table.Add({"--cola", "P", "", [&](CliOptions&, const std::string& text) -> std::string {
                   InputValue value;
                   std::string refusal = Typed(InputOf(&TScenarioRec::Cola), text, value);
                   if (refusal.empty())  // the COLA is taken as a double, as Calculate takes it
                       in.cola = static_cast<double>(std::get<long double>(value));
                   return refusal;
               }});
    table.Add({"--rate", "P", "", [&](CliOptions&, const std::string& text) -> std::string {
                   InputValue value;
                   std::string refusal = Typed(InputOf(&TScenarioRec::Rate), text, value);
                   if (refusal.empty())
                       in.rate = std::get<long double>(value);
                   return refusal;
               }});
    table.Add({"--years", "N", "", [&](CliOptions&, const std::string& text) -> std::string {
                   InputValue value;
                   std::string refusal = Typed(InputOf(&TScenarioRec::Years), text, value);
                   if (refusal.empty())
                       in.years = std::get<std::int32_t>(value);
                   return refusal;
               }});
    table.Add({"--monthly", "", "", [&](CliOptions&, const std::string&) -> std::string {
                   request.monthly = true;
                   return {};
               }});
    table.Add({"--format", "FORMAT", "", [&](CliOptions&, const std::string& text) -> std::string {
                   if (text == "text") {
                       request.format = PlanFormat::Text;
                   } else if (text == "tsv") {
                       request.format = PlanFormat::Tsv;
                   } else if (text == "csv") {
                       request.format = PlanFormat::Csv;
                   } else if (text == "json") {
                       request.format = PlanFormat::Json;
                   } else {
                       return "\"" + text + "\" is not one of text, tsv, csv, json";
                   }
                   return {};
               }});
    table.Add({"--help", "", "", [&](CliOptions&, const std::string&) -> std::string {
                   request.help = true;
                   return {};
               }});

    if (withSummary) {
        const auto textOption = [](std::string& into, bool mayBeEmpty) {
            return [&into, mayBeEmpty](CliOptions&, const std::string& text) -> std::string {
                if (!mayBeEmpty && text.empty())
                    return "needs a file name";
                into = text;
                return {};
            };
        };
        table.Add({"--pdf", "FILE", "", textOption(request.pdfPath, false)});
        table.Add({"--client", "NAME", "", textOption(request.client, true)});
        table.Add({"--preparer", "NAME", "", textOption(request.preparer, true)});
    }
    CliOptions unused;
    if (std::string refusal = table.Parse(args, unused); !refusal.empty())
        return refusal;
    if (request.help)
        return {};
    if (!born)
        return "missing option --born";
    if (!sex)
        return "missing option --sex";
    if (!benefit)
        return "missing option --fra-benefit";
    return {};
}

std::string FormatPlan(const Plan& plan, const PlanRequest& request) {
    std::vector<std::size_t> shown;
    if (request.monthly) {
        for (std::size_t i = 0; i < plan.options.size(); ++i)
            shown.push_back(i);
    } else {
        shown = planner::SummaryOptions(plan);
    }
    switch (request.format) {
        case PlanFormat::Text:
            return TextForm(plan, shown);
        case PlanFormat::Json:
            return JsonForm(plan, request, shown);
        case PlanFormat::Tsv:
        case PlanFormat::Csv:
            break;
    }
    const bool csv = request.format == PlanFormat::Csv;
    std::string text;
    if (csv) {
        for (std::size_t c = 0; c < kColumns; ++c)
            text += std::string(c > 0 ? "," : "") + kTitles[c];
        text += "\n";
    }
    for (std::size_t i : shown) {
        const auto row = RowTexts(plan, i);
        for (std::size_t c = 0; c < kColumns; ++c) {
            if (c > 0)
                text += csv ? ',' : '\t';
            text += csv ? CsvField(row[c]) : row[c];
        }
        text += "\n";
    }
    // As the table form ends with its message, the tsv ends with the life table it used.
    if (!csv)
        text += "Survival: " + plan.lifeTableEdition + "\n";
    return text;
}

int RunPlanCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const planner::Date& today, const SummaryPdfWriter& writeSummary) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            if (writeSummary)
                out << kSummaryUsage;
            out.flush();
            return out ? kExitOk : kExitFailed;
        }
    }
    PlanRequest request;
    if (const std::string refusal =
            ParsePlanArguments(args, today, request, static_cast<bool>(writeSummary));
        !refusal.empty())
        return Refuse(err, refusal);

    planner::Plan plan;
    try {
        plan = planner::BuildPlan(request.inputs);
    } catch (const planner::PlanError& e) {
        return Refuse(err, e.what());
    } catch (const ArithmeticError& e) {
        SetArithmeticContext();
        err << WithFullStop(e.what()) << "\n";
        return kExitFailed;
    }
    if (!request.pdfPath.empty()) {
        const std::string failure = writeSummary(request, plan);
        if (failure.empty())
            return kExitOk;
        err << kProgram << ": " << failure << "\n";
        return kExitFailed;
    }
    out << FormatPlan(plan, request);
    out.flush();
    if (!out) {
        err << kProgram << ": the output could not be written\n";
        return kExitFailed;
    }
    return kExitOk;
}

planner::Date Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace velmora::cli
