#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
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
    EXPECT_EQ(lines[0], "2022-04\t62y 1m\t$1,443.50\t70.42\t\t\t\t$376,307\t");
    // The PIA of 2027-03 after five Decembers' COLA, each rounded down to the dime.
    EXPECT_EQ(lines[5], "2027-03\t67y 0m\t$2,319.10\t100.00\t2039\t79\t75\t$421,956\t");
    EXPECT_EQ(lines[8], "2030-03\t70y 0m\t$3,096.60\t124.00\t2041\t81\t69\t$442,927\tbest");
    EXPECT_EQ(lines[9], "Survival: SSA cohort life tables, 2025 Trustees Report, intermediate");

    const Run csv =
        Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "2000", "--as-of",
             "2021-06-01", "--cola", "2.5", "--rate", "3", "--format", "csv"});
    const auto csvLines = Split(csv.out, '\n');
    EXPECT_EQ(csvLines[0],
              "Claim month,Age,Monthly benefit,% of FRA,Break-even,Age then,Alive then %,"
              "Expected value,Best");
    EXPECT_EQ(csvLines[1], "2022-04,62y 1m,\"$1,443.50\",70.42,,,,\"$376,307\",");
}

TEST_F(PlanCli, JsonHasNumbersAndTheLifeTable) {
    const Run json =
        Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "2000", "--as-of",
             "2021-06-01", "--cola", "2.5", "--rate", "3", "--format", "json"});
    ASSERT_EQ(json.status, kExitOk) << json.err;
    for (const char* part :
         {"\"life_table\": \"SSA cohort life tables, 2025 Trustees Report, intermediate\"",
          "\"fra_benefit\": 2000.00,", "\"cola\": 2.5000,", "\"best\": \"2030-03\",",
          "{\"claim_month\": \"2022-04\", \"age_at_claim\": \"62y 1m\", \"monthly_benefit\": "
          "1443.50, \"percent_of_fra\": 70.42, \"break_even\": \"earliest\", "
          "\"break_even_year\": null, \"age_at_break_even\": null, \"chance_alive_percent\": "
          "null, \"expected_value\": 376306.59,",
          "\"break_even\": \"year\", \"break_even_year\": 2041, \"age_at_break_even\": 81, "
          "\"chance_alive_percent\": 69, \"expected_value\": 442927.20,",
          "\"mortality\": \"cohort\"", "\"mortality_factor\": 1.0000", "\"cola_percent\": 2.5000",
          "\"discount_rate_percent\": 3.0000", "\"benefit_cut\": null", "POMS RS 00615.694",
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

// JSON and CSV numbers keep '.' under a locale whose decimal mark is ','.
TEST_F(PlanCli, NumbersKeepThePointUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const std::vector<std::string> args = {"plan",       "--born",        "1960-03-15", "--sex",
                                           "female",     "--fra-benefit", "2000",       "--as-of",
                                           "2021-06-01", "--cola",        "2.5",        "--rate",
                                           "3"};
    auto json = args;
    json.insert(json.end(), {"--format", "json"});
    const Run j = Cli(json);
    auto csv = args;
    csv.insert(csv.end(), {"--format", "csv"});
    const Run c = Cli(csv);
    auto couple = json;
    couple.insert(couple.end(), {"--spouse-born", "1959-08-20", "--spouse-sex", "male",
                                 "--spouse-fra-benefit", "2500", "--mortality-factor", "1.5"});
    const Run k = Cli(couple);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(j.status, kExitOk) << j.err;
    for (const char* part : {"\"cola\": 2.5000,", "\"rate\": 3.0000,", "\"percent_of_fra\": 70.42,",
                             "\"expected_value\": 376306.59,"})
        EXPECT_NE(j.out.find(part), std::string::npos) << part;
    EXPECT_EQ(Split(c.out, '\n')[1], "2022-04,62y 1m,\"$1,443.50\",70.42,,,,\"$376,307\",");
    ASSERT_EQ(k.status, kExitOk) << k.err;
    EXPECT_NE(k.out.find("\"mortality_factor\": 1.5000"), std::string::npos);
    for (std::size_t i = 1; i + 1 < k.out.size(); ++i) {
        const auto digit = [&](std::size_t at) { return k.out[at] >= '0' && k.out[at] <= '9'; };
        EXPECT_FALSE(k.out[i] == ',' && digit(i - 1) && digit(i + 1)) << k.out.substr(i - 10, 20);
    }
}

// A refused value is shown with its control characters escaped, as the table form shows it.
TEST_F(PlanCli, RefusedValuesAreEchoedWithEscapes) {
    const Run sex =
        Cli({"plan", "--born", "1960-03-15", "--sex", "ma\x1b[2Jle", "--fra-benefit", "1000"});
    EXPECT_EQ(sex.status, kExitUsage);
    EXPECT_EQ(sex.out, "");
    EXPECT_NE(sex.err.find("--sex: \"ma\\x1b[2Jle\" is not one of female, male"), std::string::npos)
        << sex.err;
    EXPECT_EQ(sex.err.find('\x1b'), std::string::npos);
    const Run born = Cli({"plan", "--born", "1960\r\n03", "--sex", "male"});
    EXPECT_NE(born.err.find("--born: \"1960\\r\\n03\" is not a date"), std::string::npos)
        << born.err;
    const Run benefit =
        Cli({"plan", "--born", "1960-03-15", "--sex", "male", "--fra-benefit", "12\x07"});
    EXPECT_EQ(benefit.err.find('\x07'), std::string::npos) << benefit.err;
}

// One client's payments month by month, worked by hand: born 15 March 1960 (FRA 67 in
// 2027-03), PIA $1,000.00 as of December 2026, COLA 2 %: $1,020.00 from December 2026,
// $1,040.40 from December 2027; claimed at FRA; the client dies in February 2028, so
// nothing is paid for that month or after.
TEST_F(PlanCli, PaymentsOfASingleClientByHand) {
    const Run run = Cli({"plan", "--born", "1960-03-15", "--sex", "female", "--fra-benefit", "1000",
                         "--as-of", "2026-12-10", "--cola", "2", "--payments", "2027-03", "--death",
                         "client", "--death-month", "2028-02", "--format", "tsv"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto lines = Split(run.out, '\n');
    const std::vector<std::string> expected = {
        "2026-12\t2027-01\t0\t",       "2027-01\t2027-02\t0\t",       "2027-02\t2027-03\t0\t",
        "2027-03\t2027-04\t1020\town", "2027-11\t2027-12\t1020\town", "2027-12\t2028-01\t1040\town",
        "2028-01\t2028-02\t1040\town", "2028-02\t2028-03\t0\t",       "2028-03\t2028-04\t0\t"};
    for (const std::string& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_EQ(lines.front(), expected.front());
}

TEST_F(PlanCli, CoupleShowsTheBestPairTheTenBestAndTheReferences) {
    const std::vector<std::string> args = {
        "plan", "--born",        "1962-03-15", "--sex",        "female", "--fra-benefit",
        "1200", "--as-of",       "2023-01-10", "--cola",       "2.5",    "--rate",
        "3",    "--spouse-born", "1960-07-02", "--spouse-sex", "male",   "--spouse-fra-benefit",
        "3100"};
    const Run text = Cli(args);
    ASSERT_EQ(text.status, kExitOk) << text.err;
    const auto lines = Split(text.out, '\n');
    EXPECT_EQ(lines[0].rfind("Best pair: the client claims in ", 0), 0u) << lines[0];
    ASSERT_GT(lines.size(), 16u);
    EXPECT_EQ(lines[3].rfind("best ", 0), 0u);
    EXPECT_EQ(lines[12].rfind("10 ", 0), 0u);
    for (const char* label : {"both earliest", "both at FRA", "both at 70"})
        EXPECT_NE(text.out.find(std::string("\n") + label), std::string::npos) << label;
    EXPECT_NE(text.out.find("whichever gives the survivor the larger expected value"),
              std::string::npos);

    auto gridArgs = args;
    gridArgs.insert(gridArgs.end(), {"--grid", "--format", "csv"});
    const Run grid = Cli(gridArgs);
    ASSERT_EQ(grid.status, kExitOk) << grid.err;
    const auto rows = Split(grid.out, '\n');
    EXPECT_EQ(rows[0], "Client month,Spouse month,Expected value");
    // 96 months for her (2024-04 to 2032-03), 91 for him (2023-01 to 2030-07), a final newline.
    EXPECT_EQ(rows.size(), 96u * 91u + 2u);
    // The best pair's value is the largest of the grid.
    auto jsonArgs = args;
    jsonArgs.insert(jsonArgs.end(), {"--format", "json"});
    const Run json = Cli(jsonArgs);
    ASSERT_EQ(json.status, kExitOk);
    const std::string key = "\"best\": {\"client_month\": \"";
    const std::size_t at = json.out.find(key);
    ASSERT_NE(at, std::string::npos);
    const std::string bestClient = json.out.substr(at + key.size(), 7);
    long double largest = 0;
    std::string largestClient;
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        const auto fields = Split(rows[i], ',');
        const long double v = std::stold(fields[2]);
        if (v > largest) {
            largest = v;
            largestClient = fields[0];
        }
    }
    EXPECT_EQ(bestClient, largestClient);
    for (const char* part :
         {"\"ten_best\": [", "\"both_at_70\": ", "\"spouse_mortality_factor\": 1.0000",
          "\"cohort_life_tables\": ", "RS 00615.320"})
        EXPECT_NE(json.out.find(part), std::string::npos) << part;
}

TEST_F(PlanCli, CoupleAndPaymentRefusals) {
    const std::vector<std::string> base = {"plan",       "--born",        "1962-03-15",
                                           "--sex",      "female",        "--as-of",
                                           "2025-01-10", "--fra-benefit", "1200"};
    const std::vector<std::string> spouse = {
        "--spouse-born", "1960-07-02", "--spouse-sex", "male", "--spouse-fra-benefit", "3100"};
    struct Case {
        std::vector<std::string> extra;
        bool withSpouse;
        const char* message;
    };
    const Case cases[] = {
        {{"--spouse-born", "1960-07-02", "--spouse-sex", "male"},
         false,
         "a spouse needs all three of --spouse-born, --spouse-sex and --spouse-fra-benefit."},
        {{"--spouse-claimed", "2024-01"}, false, "--spouse-claimed needs the spouse's options."},
        {{"--mortality-factor", "5"},
         false,
         "--mortality-factor: \"5\" is not a factor from 0.25 to 4."},
        {{"--mortality", "life"}, false, "--mortality: \"life\" is not one of cohort, period."},
        {{"--grid"}, false, "--grid needs the spouse's options."},
        {{"--payments", "2027-03"},
         true,
         "--payments needs the spouse's claim month too (YYYY-MM,YYYY-MM)"},
        {{"--death", "spouse", "--death-month", "2030-01"}, true, "--death needs --payments."},
        {{"--benefit-cut", "23"}, false, "--benefit-cut and --cut-from go together."},
        {{"--claimed", "2025-02"},
         true,
         "The client's claimed month 2025-02 lies after the as-of month 2025-01."},
        {{"--spouse-born", "1950-07-02", "--spouse-sex", "male", "--spouse-fra-benefit", "3100"},
         false,
         "The spouse attained age 70 in 2020-07, before the as-of month 2025-01: no claiming "
         "month is left."},
        {{"--payments", "2024-01,2027-03"},
         true,
         "--payments: the client's claim month 2024-01 is not between 2025-01 and 2032-03."},
    };
    for (const Case& c : cases) {
        auto args = base;
        if (c.withSpouse)
            args.insert(args.end(), spouse.begin(), spouse.end());
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Run run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << c.message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string("velmora-cli plan: ") + c.message +
                               "\nRun 'velmora-cli plan --help' for the options.\n");
    }
}

}  // namespace
}  // namespace velmora::cli
