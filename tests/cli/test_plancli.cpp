#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/plancli.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"

namespace velmora::cli {
namespace {

std::vector<std::string> Split(const std::string& text, char mark) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, mark))
        parts.push_back(part);
    if (!text.empty() && text.back() == mark)
        parts.emplace_back();
    return parts;
}

class PlanCli : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
        SetArithmeticContext();
    }
    void TearDown() override { MoneyFormat() = saved_; }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run Cli(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err);
        return {status, out.str(), err.str()};
    }

    // Each option of the plan against the table form with the same two claims.
    static void ExpectTableFormBreakEvens(const char* born, const char* sex, const char* asOf,
                                          const char* benefit, std::size_t optionCount,
                                          const std::vector<std::string>& common);

  private:
    TMoneyFormat saved_;
};

// "$1,443.50" as typed into a benefit field: "1443.50".
std::string Typed(const std::string& money) {
    std::string plain;
    for (char c : money) {
        if (c != '$' && c != ',')
            plain += c;
    }
    return plain;
}

// Each option's break-even year is what the table form itself finds with the earliest
// option as the early claim and this one as the later claim.
TEST_F(PlanCli, BreakEvenOfEveryOptionIsTheTableFormsAnswer) {
    const std::vector<std::string> common = {"--cola", "2.5", "--rate", "3", "--years", "40"};
    struct Client {
        const char* born;
        const char* sex;
        const char* asOf;
        const char* benefit;
        std::size_t options;
    };
    const Client clients[] = {
        {"1958-06-20", "male", "2020-07-01", "2345.67", 96},  // 2020-07 (62y 1m) to 2028-06
        // Claims after 2030, which the year fields take up to 2100.
        {"1966-11-02", "female", "2025-12-10", "3120.45", 97},  // 2028-11 (62y 0m) to 2036-11
    };
    for (const Client& client : clients) {
        SCOPED_TRACE(client.born);
        ExpectTableFormBreakEvens(client.born, client.sex, client.asOf, client.benefit,
                                  client.options, common);
    }
}

void PlanCli::ExpectTableFormBreakEvens(const char* born, const char* sex, const char* asOf,
                                        const char* benefit, std::size_t optionCount,
                                        const std::vector<std::string>& common) {
    std::vector<std::string> planArgs = {"plan",  "--born",    born,       "--sex",
                                         sex,     "--as-of",   asOf,       "--fra-benefit",
                                         benefit, "--monthly", "--format", "tsv"};
    planArgs.insert(planArgs.end(), common.begin(), common.end());
    const Run plan = Cli(planArgs);
    ASSERT_EQ(plan.status, kExitOk) << plan.err;
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : Split(plan.out, '\n')) {
        if (line.rfind("Survival: ", 0) != 0 && !line.empty())
            rows.push_back(Split(line, '\t'));
    }
    ASSERT_EQ(rows.size(), optionCount);
    const auto& earliest = rows.front();
    int reached = 0;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 9u);
        SCOPED_TRACE(row[0]);
        std::vector<std::string> args = {"--early-year",    earliest[0].substr(0, 4),
                                         "--early-month",   earliest[0].substr(5, 2),
                                         "--age",           earliest[1].substr(0, 2),
                                         "--early-benefit", Typed(earliest[2]),
                                         "--later-year",    row[0].substr(0, 4),
                                         "--later-month",   row[0].substr(5, 2),
                                         "--later-benefit", Typed(row[2]),
                                         "--format",        "tsv"};
        args.insert(args.end(), common.begin(), common.end());
        const Run table = Cli(args);
        ASSERT_EQ(table.status, kExitOk) << table.err;
        const auto lines = Split(table.out, '\n');
        const std::string message = lines[lines.size() - 2];
        const std::string prefix = "Breakeven point occurs in the year ";
        if (&row == &earliest) {
            EXPECT_EQ(row[4], "");
            EXPECT_EQ(message, "Breakeven point not reached using these parameters.");
        } else if (row[4] == "never") {
            EXPECT_EQ(message, "Breakeven point not reached using these parameters.");
        } else {
            EXPECT_EQ(message, prefix + row[4]);
            ++reached;
        }
    }
    EXPECT_GT(reached, static_cast<int>(optionCount) - 10);
}

TEST_F(PlanCli, ShortListTsvAndCsvColumns) {
    const Run tsv =
        Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "2000", "--as-of",
             "2021-06-01", "--cola", "2.5", "--rate", "3", "--format", "tsv"});
    ASSERT_EQ(tsv.status, kExitOk) << tsv.err;
    const auto lines = Split(tsv.out, '\n');
    ASSERT_EQ(lines.size(), 11u);  // 9 options, the life table line, the final newline
    EXPECT_EQ(lines[0], "2022-04\t62y 1m\t$1,443.50\t70.42\t\t\t\t$362,811\t");
    EXPECT_EQ(lines[5], "2027-03\t67y 0m\t$2,319.30\t100.00\t2039\t79\t70\t$399,227\t");
    EXPECT_EQ(lines[8], "2030-03\t70y 0m\t$3,097.10\t124.00\t2041\t81\t64\t$412,892\tbest");
    EXPECT_EQ(lines[9],
              "Survival: SSA period life table, calendar year 2022 (2025 Trustees Report)");

    const Run csv =
        Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "2000", "--as-of",
             "2021-06-01", "--cola", "2.5", "--rate", "3", "--format", "csv"});
    const auto csvLines = Split(csv.out, '\n');
    EXPECT_EQ(csvLines[0],
              "Claim month,Age,Monthly benefit,% of FRA,Break-even,Age then,Alive then %,"
              "Weighted value,Best");
    EXPECT_EQ(csvLines[1], "2022-04,62y 1m,\"$1,443.50\",70.42,,,,\"$362,811\",");
}

TEST_F(PlanCli, JsonHasNumbersAndTheLifeTable) {
    const Run json =
        Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "2000", "--as-of",
             "2021-06-01", "--cola", "2.5", "--rate", "3", "--format", "json"});
    ASSERT_EQ(json.status, kExitOk) << json.err;
    for (const char* part :
         {"\"life_table\": \"SSA period life table, calendar year 2022 (2025 Trustees Report)\"",
          "\"fra_benefit\": 2000.00,", "\"cola\": 2.5000,", "\"best\": \"2030-03\",",
          "{\"claim_month\": \"2022-04\", \"age_at_claim\": \"62y 1m\", \"monthly_benefit\": "
          "1443.50, \"percent_of_fra\": 70.42, \"break_even\": \"earliest\", "
          "\"break_even_year\": null, \"age_at_break_even\": null, \"chance_alive_percent\": "
          "null, \"weighted_value\": 362810.83,",
          "\"break_even\": \"year\", \"break_even_year\": 2041, \"age_at_break_even\": 81, "
          "\"chance_alive_percent\": 64, \"weighted_value\": 412891.84,",
          "\"best\": true}\n  ]\n}\n"}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part << "\n" << json.out;
    }
}

TEST_F(PlanCli, AsOfDefaultsToTodayAndOptionalValuesDefault) {
    PlanRequest request;
    ASSERT_EQ(ParsePlanArguments({"--born", "1960-03-15", "--sex=male", "--fra-benefit", "1000"},
                                 {2025, 7, 4}, request),
              "");
    EXPECT_EQ(request.inputs.asOf, (planner::Date{2025, 7, 4}));
    EXPECT_FALSE(request.asOfGiven);
    EXPECT_EQ(request.inputs.sex, planner::Sex::Male);
    EXPECT_EQ(request.inputs.cola, 0.0);
    EXPECT_EQ(request.inputs.rate, 0.0L);
    EXPECT_EQ(request.inputs.years, 40);
    EXPECT_FALSE(request.monthly);
    EXPECT_EQ(request.format, PlanFormat::Text);
}

TEST_F(PlanCli, RefusalsNameTheOptionAndPrintNothing) {
    const std::vector<std::string> base = {"plan",   "--born",  "1960-03-15", "--sex",
                                           "female", "--as-of", "2024-01-10"};
    struct Case {
        std::vector<std::string> extra;
        const char* message;
    };
    // The values' messages are those of the window's fields, as in the table form; a
    // message gets its full stop by the program's rule.
    const Case cases[] = {
        {{"--fra-benefit", "100000"},
         "--fra-benefit: \"100000\": cannot be typed into the field ($##,###.##): the field "
         "refuses '0'"},
        {{"--fra-benefit", "1000", "--cola", "101"},
         "--cola: \"101\": Value is not within required range (0 to 100)"},
        {{"--fra-benefit", "1000", "--rate", "x"},
         "--rate: \"x\": cannot be typed into the field (###.####%): the field refuses 'x'"},
        {{"--fra-benefit", "1000", "--years", "41"},
         "--years: \"41\": Value is not within required range (1 to 40)"},
        {{"--fra-benefit", "1000", "--format", "xml"},
         "--format: \"xml\" is not one of text, tsv, csv, json."},
        {{"--fra-benefit", "1000", "--monthly", "--monthly"},
         "option --monthly is given more than once."},
        {{}, "missing option --fra-benefit."},
        {{"--fra-benefit", "1000", "--as-of", "2031-01-01"},
         "option --as-of is given more than once."},
    };
    for (const auto& c : cases) {
        auto args = base;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Run run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string("velmora-cli plan: ") + c.message +
                               "\nRun 'velmora-cli plan --help' for the options.\n");
    }
    const Run past70 = Cli({"plan", "--born", "1950-05-10", "--sex", "male", "--fra-benefit",
                            "1000", "--as-of", "2024-01-01"});
    EXPECT_EQ(past70.status, kExitUsage);
    EXPECT_EQ(past70.out, "");
    EXPECT_NE(past70.err.find("The client attained age 70 in 2020-05, before the as-of month "
                              "2024-01: no claiming month is left."),
              std::string::npos);
    const Run badDate = Cli({"plan", "--born", "1960-02-30", "--sex", "male"});
    EXPECT_NE(badDate.err.find("--born: \"1960-02-30\" is not a date of the form YYYY-MM-DD"),
              std::string::npos);
}

}  // namespace
}  // namespace velmora::cli
