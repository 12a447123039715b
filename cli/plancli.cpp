#include "cli/plancli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <variant>

#include "cli/echo.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/piacli.h"
#include "cli/run.h"
#include "engine/moneytext.h"
#include "planner/mortality.h"
#include "planner/optimiser.h"
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
    "         [--claimed YYYY-MM] [--mortality cohort|period] [--mortality-factor F]\n"
    "         [--spouse-born YYYY-MM-DD --spouse-sex female|male --spouse-fra-benefit AMOUNT\n"
    "          [--spouse-claimed YYYY-MM] [--spouse-mortality-factor F] [--grid]]\n"
    "         [--benefit-cut P --cut-from YYYY]\n"
    "         [--payments YYYY-MM[,YYYY-MM] [--death client|spouse --death-month YYYY-MM]]\n"
    "         [--format text|tsv|csv|json]\n\n"
    "Lists the months in which the client can start retirement benefits, from the first\n"
    "month at 62 (or the as-of month) to the month 70 is attained. For each: the monthly\n"
    "benefit in the claim month and its percentage of the benefit at full retirement age\n"
    "(FRA); the break-even year against the earliest month, from the year-by-year table\n"
    "with the earliest month as the early start and this month as the later one; the\n"
    "client's age at the end of that year and the chance of being alive then; and the\n"
    "expected value of the payments. The best month has the largest expected value (the\n"
    "earlier month on a tie).\n\n"
    "The expected value adds every monthly payment to the end of the life table, each\n"
    "times the chance that it is paid, discounted at the rate to the as-of month as\n"
    "(1 + rate)^(-months/12). The payments follow SSA's rules month by month: the benefit\n"
    "at FRA (PIA) is raised by the COLA each December and rounded down to the dime, the\n"
    "benefit is the PIA times the claiming factor rounded down to the dime, the amount\n"
    "paid is rounded down to the dollar; delayed credits of the claim year are paid from\n"
    "the next January (from the month of 70 in the year 70 is attained); the benefit for a\n"
    "month is paid the month after; nothing is paid for the month of death or after.\n\n"
    "With a spouse the pair of claim months with the largest expected value for the couple\n"
    "is sought over every pair, each month from the first possible one to 70: while both\n"
    "live, a spousal part (half the other's PIA less the own PIA, reduced for claiming\n"
    "before FRA) from the later of the two claims; after a death the survivor receives the\n"
    "larger of the own benefit and the survivor benefit on the deceased's record. For each\n"
    "month of death the survivor benefit starts either in the month after the death or at\n"
    "the survivor's full retirement age, whichever gives the survivor the larger expected\n"
    "value. The two deaths are independent. The text shows the best pair, the ten best\n"
    "pairs and both at the earliest month, both at FRA and both at 70.\n\n"
    "Options:\n"
    "  --born YYYY-MM-DD       date of birth\n"
    "  --sex female|male       selects the life table's column\n"
    "  --fra-benefit AMOUNT    monthly benefit at FRA (PIA) in dollars of the as-of month\n"
    "                          (0 to 99999.99, 2 decimals)\n"
    "  --earnings FILE         instead of --fra-benefit: the PIA computed from the\n"
    "                          earnings record as velmora-cli pia computes it (with its\n"
    "                          --wage-growth P and --program-data FILE)\n"
    "  --as-of YYYY-MM-DD      the date the plan is made for (default: today)\n"
    "  --cola P                yearly cost-of-living adjustment in percent (0 to 100,\n"
    "                          4 decimals; default 0), effective each December\n"
    "  --rate P                yearly discount rate in percent (0 to 100, 4 decimals;\n"
    "                          default 0)\n"
    "  --years N               years of each break-even table (1 to 40; default 40)\n"
    "  --monthly               every month; otherwise the first month, the first month\n"
    "                          at each age 63 to 69, the FRA month, the month 70 is\n"
    "                          attained and the best month\n"
    "  --claimed YYYY-MM       the client already receives benefits from that month (at\n"
    "                          62 or later, not after the as-of month)\n"
    "  --mortality KIND        cohort (default): the SSA cohort life table of each\n"
    "                          person's year of birth and sex; period: the period table\n"
    "  --mortality-factor F    multiplies every q(x) of the client's table, capped at 1\n"
    "                          (0.25 to 4 with '.' as the decimal mark; default 1)\n"
    "  --spouse-born, --spouse-sex, --spouse-fra-benefit\n"
    "                          the spouse, as the client's options; all three or none\n"
    "  --spouse-earnings FILE  instead of --spouse-fra-benefit: the spouse's PIA from\n"
    "                          the spouse's earnings record (0 without 40 credits)\n"
    "  --spouse-claimed YYYY-MM, --spouse-mortality-factor F\n"
    "                          as --claimed and --mortality-factor, for the spouse\n"
    "  --grid                  a couple's every pair: client month, spouse month and\n"
    "                          expected value (tsv unless --format csv or json)\n"
    "  --benefit-cut P         pay only (100 - P) % of every benefit (P above 0 to 100,\n"
    "                          2 decimals) from January of --cut-from YYYY on; the 2025\n"
    "                          Trustees Report projects 77 % payable from 2033\n"
    "  --payments M[,M]        instead of the list, the payments month by month to the\n"
    "                          end of the life table for the client's claim month (and\n"
    "                          the spouse's): benefit month, month paid, each person's\n"
    "                          amount in whole dollars and its kind (own, own+spousal,\n"
    "                          spousal, survivor)\n"
    "  --death WHO             with --payments and --death-month: client or spouse dies\n"
    "  --death-month YYYY-MM   in that month\n"
    "  --format FORMAT         text (default), tsv, csv or json\n"
    "  --help                  show this text and stop\n\n"
    "Ages count as the law does: an age is attained on the day before the birthday.\n"
    "JSON and CSV numbers are written with '.' whatever the locale; JSON names every\n"
    "assumption, the tables and the rules' sources.\n";

const char* const kSummaryUsage =
    "\nClient summary (this build has the report):\n"
    "  --pdf FILE              write the one-page client summary (landscape Letter) into\n"
    "                          FILE instead of the list, as the window's Print Summary\n"
    "                          does: the best month (a couple: the best pair in words with\n"
    "                          the references, the grid of pairs and what the survivor\n"
    "                          would receive), its expected value, the chart and the life\n"
    "                          tables; no display is needed and the file appears only\n"
    "                          when complete\n"
    "  --client NAME           the client's name on the summary\n"
    "  --spouse-name NAME      the spouse's name on a couple's summary\n"
    "  --preparer NAME         the preparer's name on the summary\n";

std::string ChanceText(long double chance) {
    return planner::ChancePercentText(chance);
}

// A number with a fixed count of decimals and '.' as the mark, whatever the locale: the
// value is rounded to whole units of the last decimal first (halves away from zero).
std::string Decimals(long double value, int decimals) {
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const long long units = std::llround(value * static_cast<long double>(scale));
    const unsigned long long magnitude = units < 0 ? 0ull - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    std::string text = std::to_string(magnitude / static_cast<unsigned long long>(scale));
    if (decimals > 0) {
        std::string fraction = std::to_string(magnitude % static_cast<unsigned long long>(scale));
        text +=
            "." + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return (units < 0 ? "-" : "") + text;
}

std::string Fixed2(long double value) {
    return Decimals(value, 2);
}

// Dollars with exactly two decimals from a count of ten-thousandths (whole dimes or cents).
std::string CountText(std::int64_t count) {
    return CentsNumber(count >= 0 ? (count + 50) / 100 : (count - 50) / 100);
}

std::size_t DisplayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr std::size_t kColumns = planner::kPlanColumns;
const auto& kTitles = planner::kPlanColumnTitles;

// The rows as the window shows them, with the percentage written with '.' in any locale.
std::vector<std::string> RowTexts(const Plan& plan, std::size_t index) {
    std::vector<std::string> row = planner::PlanRowTexts(plan, index);
    row[planner::kPercentColumn] = Fixed2(plan.options[index].percentOfFra);
    return row;
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

const char* const kRuleSources[] = {
    "Ages, the first month at 62, FRA and early reduction: 20 CFR 404.409-404.410, POMS RS "
    "00615.101-.104, Social Security Handbook 723-724",
    "Delayed retirement credits and their rates, and credits of the claim year paid from the "
    "next January (from the month of 70 in the year 70 is attained): 20 CFR 404.313, POMS RS "
    "00615.690-.692, Social Security Handbook 720",
    "COLA effective each December, amounts rounded down to the dime and the payment to the "
    "dollar: POMS RS 00615.005, RS 00615.692, Social Security Handbook 719",
    "Spousal part (half the other's PIA less the own PIA, reduced 25/36 of 1 % for each of the "
    "first 36 months before FRA and 5/12 of 1 % for each further month): POMS RS 00615.250",
    "Delayed credits and a spousal part: the larger of the own benefit with its credits and "
    "the own benefit without them plus the spousal part: POMS RS 00615.694",
    "Survivor benefit, its reduction (28.5 % at 60 falling evenly to 0 at survivor FRA) and "
    "the limit for an early claim (the larger of the deceased's reduced benefit and 82.5 % of "
    "the PIA): POMS RS 00615.301, RS 00615.320, RS 00615.706",
    "Survivor full retirement age by year of birth: SSA's survivors benefits chart (RS "
    "00615.003)",
};

std::string FactorText(long double factor) {
    return Decimals(factor, 4);
}

// Every assumption of the values: the tables and their editions, the factors, COLA, rate,
// the cut and the rules' sources.
std::string AssumptionsJson(const PlanRequest& request) {
    const auto& in = request.inputs;
    const planner::MortalityKind kind = in.mortality;
    std::string j = "{";
    j += "\"mortality\": " +
         JsonString(kind == planner::MortalityKind::Cohort ? "cohort" : "period");
    j += ", \"life_table\": " + JsonString(planner::MortalityEdition(kind));
    j += ", \"period_life_table\": " + JsonString(planner::LifeTable::Shipped().Edition());
    j += ", \"cohort_life_tables\": " + JsonString(planner::CohortLifeTables::Shipped().Edition());
    j += ", \"mortality_factor\": " + FactorText(in.mortalityFactor);
    j += ", \"spouse_mortality_factor\": " +
         (request.spouse ? FactorText(request.spouse->mortalityFactor) : std::string("null"));
    j += ", \"deaths\": \"independent\"";
    j += ", \"cola_percent\": " + Decimals(static_cast<long double>(in.cola), 4);
    j += ", \"cola_effective\": \"each December\"";
    j += ", \"discount_rate_percent\": " + Decimals(in.rate, 4);
    j += ", \"discounting\": \"monthly to the as-of month, (1 + rate)^(-months/12)\"";
    if (in.cut) {
        j += ", \"benefit_cut\": {\"percent\": " +
             Decimals(static_cast<long double>(in.cut->percentHundredths) / 100, 2) +
             ", \"from_year\": " + std::to_string(in.cut->fromYear) + "}";
    } else {
        j += ", \"benefit_cut\": null";
    }
    j += ", \"survivor_start\": \"the month after the death or survivor FRA, whichever gives "
         "the survivor the larger expected value\"";
    j += ", \"rules\": [";
    bool first = true;
    for (const char* source : kRuleSources) {
        j += (first ? "" : ", ") + JsonString(source);
        first = false;
    }
    j += "]}";
    return j;
}

std::string JsonForm(const Plan& plan, const PlanRequest& request,
                     const std::vector<std::size_t>& shown) {
    const auto& in = request.inputs;
    std::string j = "{\n";
    j += "  \"born\": " + JsonString(planner::DateText(in.born)) + ",\n";
    j += "  \"sex\": " + JsonString(in.sex == planner::Sex::Male ? "male" : "female") + ",\n";
    j += "  \"fra_benefit\": " + CountText(MoneyFromReal(in.fraBenefit).count) + ",\n";
    j += "  \"as_of\": " + JsonString(planner::DateText(in.asOf)) + ",\n";
    if (!request.fraBenefitNote.empty())
        j += "  \"fra_benefit_from\": " + JsonString(request.fraBenefitNote) + ",\n";
    j += "  \"cola\": " + Decimals(static_cast<long double>(in.cola), 4) + ",\n";
    j += "  \"rate\": " + Decimals(in.rate, 4) + ",\n";
    j += "  \"years\": " + std::to_string(in.years) + ",\n";
    j += "  \"full_retirement_age\": " + JsonString(planner::AgeText(plan.fraAgeMonths)) + ",\n";
    j += "  \"fra_month\": " + JsonString(planner::MonthText(plan.fraMonth)) + ",\n";
    j += "  \"month_70\": " + JsonString(planner::MonthText(plan.month70)) + ",\n";
    j += "  \"life_table\": " + JsonString(plan.lifeTableEdition) + ",\n";
    j += "  \"assumptions\": " + AssumptionsJson(request) + ",\n";
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
        j += ", \"expected_value\": " + CountText(MoneyFromReal(o.expectedValue).count);
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
        return "\"" + Echoed(text) + "\": " + reading.refusal;
    into = *reading.value;
    return {};
}

int Refuse(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << WithFullStop(message) << "\n"
        << "Run '" << kProgram << " --help' for the options.\n";
    return kExitUsage;
}

// "YYYY-MM" exactly.
std::optional<planner::Month> ParseMonth(const std::string& text) {
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    const auto date = planner::ParseDate(text + "-01");
    if (!date)
        return std::nullopt;
    return planner::Month::Of(date->year, date->month);
}

// A plain decimal ("1", "0.25", "22.5") with at most `decimals` decimals, in units of the
// last decimal; '.' is the mark whatever the locale.
std::optional<long long> ParseDecimal(const std::string& text, int decimals) {
    long long units = 0;
    int seen = -1;  // decimals after the mark, -1 before it
    int digits = 0;
    for (char c : text) {
        if (c == '.' && seen < 0) {
            seen = 0;
        } else if (c >= '0' && c <= '9' && digits < 12) {
            units = units * 10 + (c - '0');
            ++digits;
            if (seen >= 0 && ++seen > decimals)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    for (int i = std::max(seen, 0); i < decimals; ++i)
        units *= 10;
    return units;
}

std::string PersonJson(const planner::PersonInputs& p) {
    return "{\"born\": " + JsonString(planner::DateText(p.born)) +
           ", \"sex\": " + JsonString(p.sex == planner::Sex::Male ? "male" : "female") +
           ", \"fra_benefit\": " + CountText(p.piaCents * 100) + ", \"claimed\": " +
           (p.claimed ? JsonString(planner::MonthText(*p.claimed)) : std::string("null")) +
           ", \"mortality_factor\": " + FactorText(p.mortalityFactor) + "}";
}

std::string Money0(long double value) {
    return MoneyText(value, 0);
}

// Rows of text aligned by column: the first `left` columns to the left, the rest right.
std::string Aligned(const std::vector<std::vector<std::string>>& rows, std::size_t left) {
    std::vector<std::size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], DisplayWidth(row[c]));
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(width[c] - DisplayWidth(row[c]), ' ');
            line += c < left ? row[c] + pad : pad + row[c];
            if (c + 1 < row.size())
                line += "  ";
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}

// Rows as tsv or csv (numbers already written with '.').
std::string Delimited(const std::vector<std::vector<std::string>>& rows, bool csv) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += csv ? ',' : '\t';
            text += csv ? CsvField(row[c]) : row[c];
        }
        text += "\n";
    }
    return text;
}

std::string PaymentsForm(const planner::HouseholdModel& model, const PlanRequest& request) {
    const bool couple = request.spouse.has_value();
    const auto rows =
        model.Payments(*request.paymentsClient, request.paymentsSpouse, request.death);
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> titles = {"Benefit month", "Paid in", "Client", "Client kind"};
    if (couple)
        titles.insert(titles.end(), {"Spouse", "Spouse kind"});
    if (request.format == PlanFormat::Json) {
        std::string j =
            "{\n  \"client\": " + PersonJson(HouseholdOfRequest(request).client) + ",\n";
        if (couple)
            j += "  \"spouse\": " + PersonJson(*HouseholdOfRequest(request).spouse) + ",\n";
        j += "  \"as_of\": " + JsonString(planner::DateText(request.inputs.asOf)) + ",\n";
        j += "  \"client_claim\": " + JsonString(planner::MonthText(*request.paymentsClient)) +
             ",\n";
        if (couple)
            j += "  \"spouse_claim\": " + JsonString(planner::MonthText(*request.paymentsSpouse)) +
                 ",\n";
        if (request.death) {
            j += "  \"death\": {\"who\": " +
                 JsonString(request.death->who == planner::Who::Client ? "client" : "spouse") +
                 ", \"month\": " + JsonString(planner::MonthText(request.death->month)) + "},\n";
        }
        j += "  \"assumptions\": " + AssumptionsJson(request) + ",\n";
        j += "  \"payments\": [";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& r = rows[i];
            j += i == 0 ? "\n" : ",\n";
            j += "    {\"benefit_month\": " + JsonString(planner::MonthText(r.benefitMonth)) +
                 ", \"paid_in\": " + JsonString(planner::MonthText(r.paidMonth)) +
                 ", \"client\": " + std::to_string(r.client.dollars) +
                 ", \"client_kind\": " + JsonString(planner::PaymentKindText(r.client.kind));
            if (couple) {
                j += ", \"spouse\": " + std::to_string(r.spouse.dollars) +
                     ", \"spouse_kind\": " + JsonString(planner::PaymentKindText(r.spouse.kind));
            }
            j += "}";
        }
        return j + "\n  ]\n}\n";
    }
    table.push_back(titles);
    for (const auto& r : rows) {
        std::vector<std::string> row = {
            planner::MonthText(r.benefitMonth), planner::MonthText(r.paidMonth),
            std::to_string(r.client.dollars), planner::PaymentKindText(r.client.kind)};
        if (couple) {
            row.push_back(std::to_string(r.spouse.dollars));
            row.push_back(planner::PaymentKindText(r.spouse.kind));
        }
        table.push_back(std::move(row));
    }
    switch (request.format) {
        case PlanFormat::Text:
            return Aligned(table, 2) +
                   "\nAmounts in whole dollars, paid the month after the benefit month.\n";
        case PlanFormat::Tsv:
            table.erase(table.begin());
            return Delimited(table, false);
        default:
            return Delimited(table, true);
    }
}

std::string GridForm(const planner::CoupleSearch& search, const PlanRequest& request) {
    if (request.format == PlanFormat::Json) {
        std::string j = "{\n  \"assumptions\": " + AssumptionsJson(request) + ",\n  \"pairs\": [";
        bool first = true;
        for (int c = 0; c < search.clientCount; ++c) {
            for (int s = 0; s < search.spouseCount; ++s) {
                const planner::Month cm{search.clientFirst.index + c};
                const planner::Month sm{search.spouseFirst.index + s};
                j += first ? "\n" : ",\n";
                first = false;
                j += "    {\"client_month\": " + JsonString(planner::MonthText(cm)) +
                     ", \"spouse_month\": " + JsonString(planner::MonthText(sm)) +
                     ", \"expected_value\": " + Decimals(search.Value(cm, sm), 2) + "}";
            }
        }
        return j + "\n  ]\n}\n";
    }
    const bool csv = request.format == PlanFormat::Csv;
    std::vector<std::vector<std::string>> rows;
    if (csv)
        rows.push_back({"Client month", "Spouse month", "Expected value"});
    for (int c = 0; c < search.clientCount; ++c) {
        for (int s = 0; s < search.spouseCount; ++s) {
            const planner::Month cm{search.clientFirst.index + c};
            const planner::Month sm{search.spouseFirst.index + s};
            rows.push_back({planner::MonthText(cm), planner::MonthText(sm),
                            Decimals(search.Value(cm, sm), 2)});
        }
    }
    return Delimited(rows, csv);
}

std::string CoupleForm(const planner::HouseholdModel& model, const planner::CoupleSearch& search,
                       const PlanRequest& request) {
    const planner::BenefitRules& rules = model.Rules();
    const auto ageIn = [&](planner::Who who, planner::Month m) {
        return planner::AgeText(planner::AgeRules(rules.Person(who).born).AgeMonthsIn(m));
    };
    const long double best = search.best.value;
    struct Line {
        std::string label;
        const planner::ChoiceValue* choice;
    };
    std::vector<Line> lines;
    for (std::size_t i = 0; i < search.topTen.size(); ++i)
        lines.push_back({i == 0 ? "best" : std::to_string(i + 1), &search.topTen[i]});
    lines.push_back({"both earliest", &search.bothEarliest});
    lines.push_back({"both at FRA", &search.bothFra});
    lines.push_back({"both at 70", &search.both70});
    const std::string edition = planner::MortalityEdition(request.inputs.mortality);

    if (request.format == PlanFormat::Json) {
        const auto choiceJson = [&](const planner::ChoiceValue& v) {
            return "{\"client_month\": " + JsonString(planner::MonthText(v.client)) +
                   ", \"client_age\": " + JsonString(ageIn(planner::Who::Client, v.client)) +
                   ", \"spouse_month\": " + JsonString(planner::MonthText(*v.spouse)) +
                   ", \"spouse_age\": " + JsonString(ageIn(planner::Who::Spouse, *v.spouse)) +
                   ", \"expected_value\": " + Decimals(v.value, 2) +
                   ", \"difference_from_best\": " + Decimals(v.value - best, 2) + "}";
        };
        const planner::HouseholdInputs h = HouseholdOfRequest(request);
        std::string j = "{\n  \"client\": " + PersonJson(h.client) + ",\n";
        j += "  \"spouse\": " + PersonJson(*h.spouse) + ",\n";
        j += "  \"as_of\": " + JsonString(planner::DateText(request.inputs.asOf)) + ",\n";
        j += "  \"assumptions\": " + AssumptionsJson(request) + ",\n";
        if (!request.fraBenefitNote.empty())
            j += "  \"client_fra_benefit_from\": " + JsonString(request.fraBenefitNote) + ",\n";
        if (!request.spouseBenefitNote.empty())
            j += "  \"spouse_fra_benefit_from\": " + JsonString(request.spouseBenefitNote) + ",\n";
        j += "  \"best\": " + choiceJson(search.best) + ",\n";
        j += "  \"ten_best\": [";
        for (std::size_t i = 0; i < search.topTen.size(); ++i)
            j += (i == 0 ? "\n    " : ",\n    ") + choiceJson(search.topTen[i]);
        j += "\n  ],\n";
        j += "  \"both_earliest\": " + choiceJson(search.bothEarliest) + ",\n";
        j += "  \"both_at_fra\": " + choiceJson(search.bothFra) + ",\n";
        j += "  \"both_at_70\": " + choiceJson(search.both70) + "\n}\n";
        return j;
    }
    if (request.format != PlanFormat::Text) {
        const bool csv = request.format == PlanFormat::Csv;
        std::vector<std::vector<std::string>> rows;
        if (csv) {
            rows.push_back({"Choice", "Client month", "Client age", "Spouse month", "Spouse age",
                            "Expected value", "Difference"});
        }
        for (const Line& line : lines) {
            const planner::ChoiceValue& v = *line.choice;
            rows.push_back({line.label, planner::MonthText(v.client),
                            ageIn(planner::Who::Client, v.client), planner::MonthText(*v.spouse),
                            ageIn(planner::Who::Spouse, *v.spouse), Decimals(v.value, 2),
                            Decimals(v.value - best, 2)});
        }
        std::string text = Delimited(rows, csv);
        if (!csv && !request.fraBenefitNote.empty())
            text += "Client: " + request.fraBenefitNote + "\n";
        if (!csv && !request.spouseBenefitNote.empty())
            text += "Spouse: " + request.spouseBenefitNote + "\n";
        if (!csv)
            text += "Survival: " + edition + "\n";
        return text;
    }
    std::vector<std::vector<std::string>> rows = {
        {"", "Client month", "Age", "Spouse month", "Age", "Expected value", "Difference"}};
    for (const Line& line : lines) {
        const planner::ChoiceValue& v = *line.choice;
        rows.push_back({line.label, planner::MonthText(v.client),
                        ageIn(planner::Who::Client, v.client), planner::MonthText(*v.spouse),
                        ageIn(planner::Who::Spouse, *v.spouse), Money0(v.value),
                        Money0(v.value - best)});
    }
    std::string text = "Best pair: the client claims in " + planner::MonthText(search.best.client) +
                       " at " + ageIn(planner::Who::Client, search.best.client) +
                       ", the spouse in " + planner::MonthText(*search.best.spouse) + " at " +
                       ageIn(planner::Who::Spouse, *search.best.spouse) + ", expected value " +
                       Money0(best) + ".\n\n";
    text += Aligned(rows, 5);
    text +=
        "\nA survivor benefit starts in the month after the death or at the survivor's full\n"
        "retirement age, whichever gives the survivor the larger expected value.\n";
    text += "Survival: " + edition + "; the two deaths independent.\n";
    if (!request.fraBenefitNote.empty())
        text += "Client: " + request.fraBenefitNote + ".\n";
    if (!request.spouseBenefitNote.empty())
        text += "Spouse: " + request.spouseBenefitNote + ".\n";
    return text;
}

}  // namespace

planner::HouseholdInputs HouseholdOfRequest(const PlanRequest& request) {
    planner::HouseholdInputs h = planner::HouseholdOf(request.inputs);
    h.client.claimed = request.claimed;
    h.spouse = request.spouse;
    return h;
}

std::string ParsePlanArguments(const std::vector<std::string>& args, const planner::Date& today,
                               PlanRequest& request, bool withSummary) {
    bool born = false, sex = false, benefit = false;
    planner::PlanInputs& in = request.inputs;
    in.asOf = today;
    in.cola = 0;
    in.rate = 0;
    in.years = 40;
    planner::PersonInputs spouse;
    bool spouseBorn = false, spouseSex = false, spouseBenefit = false;
    std::optional<planner::Month> spouseClaimed;
    std::optional<long double> spouseFactor;
    std::optional<std::int32_t> cutPercent, cutFrom;
    std::optional<planner::Who> deathWho;
    std::optional<planner::Month> deathMonth;
    bool paymentsGiven = false;

    // The option table of the flag form reads "--name VALUE" and "--name=VALUE" and
    // refuses repeats; its records carry the values here.
    OptionTable table;
    const auto dateOption = [](planner::Date& into, bool* given) {
        return [&into, given](CliOptions&, const std::string& text) -> std::string {
            const auto date = planner::ParseDate(text);
            if (!date)
                return "\"" + Echoed(text) + "\" is not a date of the form YYYY-MM-DD";
            into = *date;
            if (given != nullptr)
                *given = true;
            return {};
        };
    };
    const auto sexOption = [](planner::Sex& into, bool& given) {
        return [&into, &given](CliOptions&, const std::string& text) -> std::string {
            if (text == "female") {
                into = planner::Sex::Female;
            } else if (text == "male") {
                into = planner::Sex::Male;
            } else {
                return "\"" + Echoed(text) + "\" is not one of female, male";
            }
            given = true;
            return {};
        };
    };
    const auto monthOption = [](std::optional<planner::Month>& into) {
        return [&into](CliOptions&, const std::string& text) -> std::string {
            const auto month = ParseMonth(text);
            if (!month)
                return "\"" + Echoed(text) + "\" is not a month of the form YYYY-MM";
            into = month;
            return {};
        };
    };
    const auto factorOption = [](std::optional<long double>& into) {
        return [&into](CliOptions&, const std::string& text) -> std::string {
            const auto units = ParseDecimal(text, 4);
            if (!units || *units < 2500 || *units > 40000)
                return "\"" + Echoed(text) + "\" is not a factor from 0.25 to 4";
            into = static_cast<long double>(*units) / 10000;
            return {};
        };
    };
    std::optional<long double> clientFactor;
    table.Add({"--born", "YYYY-MM-DD", "", dateOption(in.born, &born)});
    table.Add({"--sex", "female|male", "", sexOption(in.sex, sex)});
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
    table.Add({"--spouse-born", "YYYY-MM-DD", "", dateOption(spouse.born, &spouseBorn)});
    table.Add({"--spouse-sex", "female|male", "", sexOption(spouse.sex, spouseSex)});
    table.Add({"--spouse-fra-benefit", "AMOUNT", "",
               [&](CliOptions&, const std::string& text) -> std::string {
                   InputValue value;
                   std::string refusal = Typed(InputOf(&TScenarioRec::EarlyBenefit), text, value);
                   if (!refusal.empty())
                       return refusal;
                   spouse.piaCents = MoneyFromReal(std::get<long double>(value)).count / 100;
                   spouseBenefit = true;
                   return {};
               }});
    table.Add({"--claimed", "YYYY-MM", "", monthOption(request.claimed)});
    table.Add({"--spouse-claimed", "YYYY-MM", "", monthOption(spouseClaimed)});
    table.Add({"--mortality", "cohort|period", "",
               [&](CliOptions&, const std::string& text) -> std::string {
                   if (text == "cohort") {
                       in.mortality = planner::MortalityKind::Cohort;
                   } else if (text == "period") {
                       in.mortality = planner::MortalityKind::Period;
                   } else {
                       return "\"" + Echoed(text) + "\" is not one of cohort, period";
                   }
                   return {};
               }});
    table.Add({"--mortality-factor", "F", "", factorOption(clientFactor)});
    table.Add({"--spouse-mortality-factor", "F", "", factorOption(spouseFactor)});
    table.Add({"--benefit-cut", "P", "", [&](CliOptions&, const std::string& text) -> std::string {
                   const auto units = ParseDecimal(text, 2);
                   if (!units || *units < 1 || *units > 10000)
                       return "\"" + Echoed(text) + "\" is not a percentage above 0 and up to 100";
                   cutPercent = static_cast<std::int32_t>(*units);
                   return {};
               }});
    table.Add({"--cut-from", "YYYY", "", [&](CliOptions&, const std::string& text) -> std::string {
                   const auto year = ParseDecimal(text, 0);
                   if (text.size() != 4 || !year || *year < 1900 || *year > 2100)
                       return "\"" + Echoed(text) + "\" is not a year from 1900 to 2100";
                   cutFrom = static_cast<std::int32_t>(*year);
                   return {};
               }});
    table.Add({"--payments", "YYYY-MM[,YYYY-MM]", "",
               [&](CliOptions&, const std::string& text) -> std::string {
                   const std::size_t comma = text.find(',');
                   const auto first = ParseMonth(text.substr(0, comma));
                   std::optional<planner::Month> second;
                   if (comma != std::string::npos)
                       second = ParseMonth(text.substr(comma + 1));
                   if (!first || (comma != std::string::npos && !second))
                       return "\"" + Echoed(text) +
                              "\" is not of the form YYYY-MM or YYYY-MM,YYYY-MM";
                   request.paymentsClient = first;
                   request.paymentsSpouse = second;
                   paymentsGiven = true;
                   return {};
               }});
    table.Add(
        {"--death", "client|spouse", "", [&](CliOptions&, const std::string& text) -> std::string {
             if (text == "client") {
                 deathWho = planner::Who::Client;
             } else if (text == "spouse") {
                 deathWho = planner::Who::Spouse;
             } else {
                 return "\"" + Echoed(text) + "\" is not one of client, spouse";
             }
             return {};
         }});
    table.Add({"--death-month", "YYYY-MM", "", monthOption(deathMonth)});
    table.Add({"--grid", "", "", [&](CliOptions&, const std::string&) -> std::string {
                   request.grid = true;
                   return {};
               }});
    table.Add({"--as-of", "YYYY-MM-DD", "", dateOption(in.asOf, &request.asOfGiven)});
    EarningsOptions earnings;
    AddEarningsOptions(table, earnings);
    std::string spouseEarningsPath;
    table.Add({"--spouse-earnings", "FILE", "",
               [&spouseEarningsPath](CliOptions&, const std::string& text) {
                   spouseEarningsPath = text;
                   return text.empty() ? std::string("needs a file name") : std::string();
               }});
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
    table.Add({"--format", "FORMAT", "", [&](CliOptions&, const std::string& text) {
                   return ReadFormat(text, request.format);
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
        table.Add({"--spouse-name", "NAME", "", textOption(request.spouseName, true)});
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
    if (!earnings.earningsPath.empty()) {
        if (benefit)
            return "--earnings and --fra-benefit exclude each other";
        const EarningsPia pia =
            PiaFromEarningsFile(earnings.earningsPath, in.born, in.asOf, in.cola,
                                earnings.wageGrowthMillionths, earnings.programDataPath);
        if (!pia.refusal.empty())
            return pia.refusal;
        in.fraBenefit = static_cast<long double>(pia.cents) / 100.0L;
        request.fraBenefitNote = pia.note;
        benefit = true;
    }
    if (!benefit)
        return "missing option --fra-benefit";
    if (clientFactor)
        in.mortalityFactor = *clientFactor;
    if (!spouseEarningsPath.empty()) {
        if (spouseBenefit)
            return "--spouse-earnings and --spouse-fra-benefit exclude each other";
        if (!spouseBorn)
            return "--spouse-earnings needs --spouse-born";
        const EarningsPia pia =
            PiaFromEarningsFile(spouseEarningsPath, spouse.born, in.asOf, in.cola,
                                earnings.wageGrowthMillionths, earnings.programDataPath, true);
        if (!pia.refusal.empty())
            return pia.refusal;
        spouse.piaCents = pia.cents;
        request.spouseBenefitNote = pia.note;
        spouseBenefit = true;
    }
    const int spouseGiven = int{spouseBorn} + int{spouseSex} + int{spouseBenefit};
    if (spouseGiven != 0 && spouseGiven != 3) {
        return "a spouse needs all three of --spouse-born, --spouse-sex and "
               "--spouse-fra-benefit";
    }
    if (spouseGiven == 3) {
        spouse.claimed = spouseClaimed;
        if (spouseFactor)
            spouse.mortalityFactor = *spouseFactor;
        request.spouse = spouse;
    } else if (spouseClaimed || spouseFactor) {
        return std::string(spouseClaimed ? "--spouse-claimed" : "--spouse-mortality-factor") +
               " needs the spouse's options";
    }
    if (cutPercent.has_value() != cutFrom.has_value())
        return "--benefit-cut and --cut-from go together";
    if (cutPercent)
        in.cut = planner::BenefitCut{*cutPercent, *cutFrom};
    if (deathWho.has_value() != deathMonth.has_value())
        return "--death and --death-month go together";
    if (deathWho) {
        if (!paymentsGiven)
            return "--death needs --payments";
        if (*deathWho == planner::Who::Spouse && !request.spouse)
            return "--death spouse needs the spouse's options";
        request.death = planner::Death{*deathWho, *deathMonth};
    }
    if (paymentsGiven && request.spouse.has_value() != request.paymentsSpouse.has_value()) {
        return request.spouse ? "--payments needs the spouse's claim month too (YYYY-MM,YYYY-MM)"
                              : "--payments takes one claim month for a single client";
    }
    if (request.grid && !request.spouse)
        return "--grid needs the spouse's options";
    if (request.grid && paymentsGiven)
        return "--grid and --payments cannot be given together";
    if (request.spouse && !request.pdfPath.empty() && (paymentsGiven || request.grid))
        return "--pdf writes the summary, not the payments or the grid";
    if (request.claimed && !request.spouse && !paymentsGiven)
        return "--claimed leaves a single client no month to choose; give --payments too";
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
            return TextForm(plan, shown) +
                   (request.fraBenefitNote.empty() ? "" : request.fraBenefitNote + ".\n");
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
    if (!csv && !request.fraBenefitNote.empty())
        text += request.fraBenefitNote + "\n";
    if (!csv)
        text += "Survival: " + plan.lifeTableEdition + "\n";
    return text;
}

namespace {

// The month a claim for the payments must be: the claimed one, else one of the choices.
std::string CheckClaim(const planner::HouseholdModel& model, planner::Who who,
                       planner::Month claim) {
    const char* whose = who == planner::Who::Client ? "client's" : "spouse's";
    if (claim < model.FirstChoice(who) || claim > model.LastChoice(who)) {
        if (model.FirstChoice(who) == model.LastChoice(who)) {
            return std::string("--payments: the ") + whose + " claim was given as " +
                   planner::MonthText(model.FirstChoice(who));
        }
        return std::string("--payments: the ") + whose + " claim month " +
               planner::MonthText(claim) + " is not between " +
               planner::MonthText(model.FirstChoice(who)) + " and " +
               planner::MonthText(model.LastChoice(who));
    }
    return {};
}

}  // namespace

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

    // Everything is made before anything is written, so an error leaves the output empty.
    std::string text;
    planner::Plan plan;
    try {
        const planner::HouseholdInputs household = HouseholdOfRequest(request);
        if (request.spouse || request.paymentsClient) {
            planner::CheckHousehold(household);
            if (request.inputs.years < 1 || request.inputs.years > 40)
                throw planner::PlanError("The number of years must be between 1 and 40.");
            const planner::HouseholdModel model(household);
            if (request.paymentsClient) {
                std::string refusal =
                    CheckClaim(model, planner::Who::Client, *request.paymentsClient);
                if (refusal.empty() && request.paymentsSpouse)
                    refusal = CheckClaim(model, planner::Who::Spouse, *request.paymentsSpouse);
                if (refusal.empty() && request.death &&
                    (request.death->month < model.Rules().AsOf() ||
                     request.death->month > model.LastMonth())) {
                    refusal = "--death-month " + planner::MonthText(request.death->month) +
                              " is not between the as-of month " +
                              planner::MonthText(model.Rules().AsOf()) + " and the table's end " +
                              planner::MonthText(model.LastMonth());
                }
                if (!refusal.empty())
                    return Refuse(err, refusal);
                text = PaymentsForm(model, request);
            } else if (request.pdfPath.empty()) {
                const planner::CoupleSearch search = model.SearchCouple();
                text =
                    request.grid ? GridForm(search, request) : CoupleForm(model, search, request);
            }
        } else {
            plan = planner::BuildPlan(request.inputs);
            if (request.pdfPath.empty())
                text = FormatPlan(plan, request);
        }
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
    out << text;
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
