#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/piacli.h"
#include "cli/plancli.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"

namespace velmora::cli {
namespace {

const planner::Date kToday{2026, 12, 10};

class PiaCli : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
        SetArithmeticContext();
        // A folder of each test's own: ctest runs the tests side by side, and two tests
        // writing one record file would read each other's half-written bytes.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = ::testing::TempDir() + "velmora-pia-" + test->name() + "-" +
               std::to_string(::getpid()) + "/";
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        MoneyFormat() = saved_;
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run Pia(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunPiaCli(args, in, out, err, kToday);
        return {status, out.str(), err.str()};
    }
    std::string File(const std::string& name, const std::string& text) const {
        const std::string path = dir_ + name;
        std::ofstream(path) << text;
        return path;
    }

    std::string dir_;

  private:
    TMoneyFormat saved_;
};

// Each year 1986-2024 at that year's average wage: indexed to 2024 each is $69,846.57,
// so the AIME is 35 x 69,846.57 / 420 = $5,820 and the PIA 1,157.40 + 32 % of 4,534.
std::string AverageWageCsv() {
    std::ifstream in(VELMORA_PROGRAM_DATA_CSV);
    std::string line, csv = "year,earnings\n";
    while (std::getline(in, line)) {
        if (line.size() < 6 || line[0] < '1' || line[0] > '2')
            continue;
        const int year = std::stoi(line.substr(0, 4));
        const std::string awi = line.substr(5, line.find(',', 5) - 5);
        if (year >= 1986 && year <= 2024)
            csv += std::to_string(year) + "," + awi + "\n";
    }
    return csv;
}

TEST_F(PiaCli, FiguresInEachFormatUseAPointWhateverTheLocale) {
    const std::string record = File("average.csv", AverageWageCsv());
    // A comma as the decimal mark and a point between groups, as in Germany.
    MoneyFormat().DecimalMark = ",";
    MoneyFormat().GroupMark = ".";
    const std::vector<std::string> base = {"--born", "1964-05-20", "--earnings", record};

    auto json = base;
    json.insert(json.end(), {"--format", "json"});
    const Run j = Pia(json);
    ASSERT_EQ(j.status, kExitOk) << j.err;
    EXPECT_NE(j.out.find("\"aime\": 5820,"), std::string::npos) << j.out;
    EXPECT_NE(j.out.find("\"pia_at_eligibility\": 2608.20,"), std::string::npos);
    EXPECT_NE(j.out.find("\"pia_as_of\": 2608.20,"), std::string::npos);
    EXPECT_NE(j.out.find("{\"year\": 1986, \"source\": \"record\", \"earnings\": 17321.82, "
                         "\"taxable_maximum\": 42000, \"taxable_maximum_projected\": false, "
                         "\"counted\": 17321.82, \"indexing_factor\": 4.0322882, \"indexed\": "
                         "69846.57, \"among_highest\": true"),
              std::string::npos);

    auto csv = base;
    csv.insert(csv.end(), {"--format", "csv"});
    const Run c = Pia(csv);
    ASSERT_EQ(c.status, kExitOk);
    EXPECT_EQ(c.out.rfind("year,source,earnings,taxable_maximum,", 0), 0u);
    // Of equal indexed amounts the earlier years are taken.
    EXPECT_NE(c.out.find("\n2024,record,69846.57,168600,false,69846.57,1.0000000,69846.57,false,"
                         "1730,4,false\n"),
              std::string::npos);
    EXPECT_NE(c.out.find("\nfigure,value\n"), std::string::npos);
    EXPECT_NE(c.out.find("\nfirst_bend_point,1286\nsecond_bend_point,7749\n"), std::string::npos);

    auto tsv = base;
    tsv.insert(tsv.end(), {"--format", "tsv"});
    EXPECT_NE(Pia(tsv).out.find("\naime\t5820\n"), std::string::npos);

    // The text form writes money as the locale does.
    const Run t = Pia(base);
    EXPECT_NE(t.out.find("PIA at eligibility:               $2.608,20 in dollars of 2026"),
              std::string::npos)
        << t.out;
}

TEST_F(PiaCli, StatementPastedOnTheStandardInputGivesTheSameFiguresAsTheCsvFile) {
    std::string statement =
        "Your Earnings Record\nWork Year\tTaxed Social Security\tTaxed Medicare\n";
    std::istringstream csv(AverageWageCsv());
    std::string line;
    std::getline(csv, line);  // header
    while (std::getline(csv, line)) {
        const std::string amount = line.substr(5);
        statement += line.substr(0, 4) + "\t$" + amount + "\t$" + amount + "\n";
    }
    statement += "2025\tNot yet recorded\n";
    const std::string file = File("average.csv", AverageWageCsv());
    const Run fromFile = Pia({"--born", "1964-05-20", "--earnings", file, "--format", "csv"});
    const Run pasted =
        Pia({"--born", "1964-05-20", "--earnings", "-", "--format", "csv"}, statement);
    ASSERT_EQ(pasted.status, kExitOk) << pasted.err;
    EXPECT_EQ(pasted.out, fromFile.out);
}

TEST_F(PiaCli, RefusalsNameTheOptionAndTheLine) {
    const std::string record = File("one.csv", "2020,50000\n");
    const std::string later = File("later.csv", "2027,50000\n");
    const std::string badData = File("data.csv", "year,awi\n");
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--earnings", record}, "", "missing option --born."},
        {{"--born", "1964-05-20"}, "", "missing option --earnings."},
        {{"--born", "1964-05-20", "--earnings", record, "--until-age", "67"},
         "",
         "--future-earnings goes together with --until-age or --until."},
        {{"--born", "1964-05-20", "--earnings", record, "--future-earnings", "5", "--until-age",
          "67", "--until", "2031-05"},
         "",
         "--until-age and --until exclude each other."},
        {{"--born", "1964-05-20", "--earnings", record, "--future-earnings", "5", "--until",
          "2031-13"},
         "",
         "--until: \"2031-13\" is not a month of the form YYYY-MM."},
        {{"--born", "1964-05-20", "--earnings", record, "--future-earnings", "5", "--until-age",
          "21"},
         "",
         "--until-age: \"21\" is not an age from 22 to 80."},
        {{"--born", "1964-05-20", "--earnings", record, "--future-earnings", "-5", "--until-age",
          "67"},
         "",
         "--future-earnings: \"-5\" is not an amount from 0 to 999,999,999.99."},
        {{"--born", "1964-05-20", "--earnings", record, "--wage-growth", "15.5"},
         "",
         "--wage-growth: \"15.5\": a percentage from -10 to 15 with at most 4 decimals."},
        {{"--born", "1964-05-20", "--earnings", record, "--format", "xml"},
         "",
         "--format: \"xml\" is not one of text, tsv, csv, json."},
        {{"--born", "1964-05-20", "--earnings", dir_ + "missing.csv"},
         "",
         "--earnings " + dir_ + "missing.csv: File not found."},
        {{"--born", "1964-05-20", "--earnings", "-"},
         "year,earnings\n2019,100\n2020,-5\n",
         "--earnings -: line 3: a negative amount is refused."},
        {{"--born", "1964-05-20", "--earnings", later},
         "",
         "The earnings record has the year 2027, after the as-of year 2026."},
        {{"--born", "1964-05-20", "--earnings", record, "--program-data", badData},
         "",
         "--program-data " + badData +
             " line 1: expected the header year,awi,cola_percent,taxable_maximum."},
    };
    for (const auto& c : cases) {
        const Run run = Pia(c.args, c.input);
        EXPECT_EQ(run.status, kExitUsage) << c.message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "velmora-cli pia: " + c.message +
                               "\nRun 'velmora-cli pia --help' for the options.\n");
    }
}

TEST_F(PiaCli, PlanTakesTheComputedBenefitAndNamesIt) {
    const std::string record = File("average.csv", AverageWageCsv());
    const std::vector<std::string> base = {"plan",    "--born",     "1964-05-20", "--sex", "female",
                                           "--as-of", "2026-12-10", "--cola",     "2.5"};
    const auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err);
        return Run{status, out.str(), err.str()};
    };
    auto fromEarnings = base;
    fromEarnings.insert(fromEarnings.end(), {"--earnings", record});
    auto typed = base;
    typed.insert(typed.end(), {"--fra-benefit", "2608.20"});
    const Run computed = run(fromEarnings);
    const Run given = run(typed);
    ASSERT_EQ(computed.status, kExitOk) << computed.err;
    // The same plan as with the figure typed, and the output says where it came from.
    EXPECT_EQ(computed.out, given.out +
                                "Benefit at FRA $2,608.20 computed from the earnings "
                                "record " +
                                record + " (PIA first eligible in 2026, in dollars of 2026).\n");
    auto json = fromEarnings;
    json.insert(json.end(), {"--format", "json"});
    EXPECT_NE(run(json).out.find("\"fra_benefit\": 2608.20,"), std::string::npos);

    const std::string few = File("few.csv", "2020,50000\n2021,50000\n");
    struct Case {
        std::vector<std::string> extra;
        std::string message;
    };
    const Case cases[] = {
        {{"--earnings", record, "--fra-benefit", "1000"},
         "--earnings and --fra-benefit exclude each other."},
        {{"--earnings", few},
         "--earnings " + few +
             ": 8 credits; 40 are needed: the client has no retirement benefit of their own on "
             "this record."},
    };
    // A spouse without 40 credits still counts in a couple's plan, with no benefit of
    // their own.
    const EarningsPia spouse =
        PiaFromEarningsFile(few, {1964, 5, 20}, {2026, 12, 10}, 2.5, std::nullopt, "", true);
    EXPECT_EQ(spouse.refusal, "");
    EXPECT_EQ(spouse.cents, 0);
    EXPECT_NE(spouse.note.find("(8 credits; 40 are needed)"), std::string::npos) << spouse.note;
    EXPECT_EQ(
        PiaFromEarningsFile(record, {1964, 5, 20}, {2026, 12, 10}, 2.5, std::nullopt, "", true)
            .cents,
        260820);

    for (const auto& c : cases) {
        auto args = base;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Run refused = run(args);
        EXPECT_EQ(refused.status, kExitUsage);
        EXPECT_EQ(refused.err, "velmora-cli plan: " + c.message +
                                   "\nRun 'velmora-cli plan --help' for the options.\n");
    }
}

TEST_F(PiaCli, CouplePlanTakesTheSpousesComputedBenefit) {
    const std::string record = File("average.csv", AverageWageCsv());
    const std::string few = File("few.csv", "2020,50000\n2021,50000\n");
    const std::vector<std::string> base = {
        "plan",       "--born",        "1964-05-20", "--sex",        "female", "--fra-benefit",
        "1800",       "--spouse-born", "1964-08-03", "--spouse-sex", "male",   "--as-of",
        "2026-12-10", "--cola",        "2.5",        "--format",     "json"};
    const auto run = [&](std::vector<std::string> extra) {
        auto args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out, err;
        const int status = RunCli(args, out, err);
        return Run{status, out.str(), err.str()};
    };
    const std::string noteKey = "  \"spouse_fra_benefit_from\": ";
    const auto withoutNote = [&](std::string text) {
        const auto from = text.find(noteKey);
        if (from != std::string::npos)
            text.erase(from, text.find('\n', from) + 1 - from);
        return text;
    };
    // The spouse's figure from the record (first eligible in 2026, as the client's) gives
    // the same pairs as the figure typed, and the output names where it came from.
    const Run computed = run({"--spouse-earnings", record});
    ASSERT_EQ(computed.status, kExitOk) << computed.err;
    EXPECT_NE(computed.out.find(noteKey), std::string::npos) << computed.out;
    EXPECT_EQ(withoutNote(computed.out), run({"--spouse-fra-benefit", "2608.20"}).out);

    // A spouse without 40 credits draws only on the client's record.
    const Run noOwn = run({"--spouse-earnings", few});
    ASSERT_EQ(noOwn.status, kExitOk) << noOwn.err;
    EXPECT_NE(noOwn.out.find("(8 credits; 40 are needed)"), std::string::npos) << noOwn.out;
    EXPECT_EQ(withoutNote(noOwn.out), run({"--spouse-fra-benefit", "0"}).out);

    const Run both = run({"--spouse-earnings", record, "--spouse-fra-benefit", "10"});
    EXPECT_EQ(both.status, kExitUsage);
    EXPECT_EQ(both.out, "");
    EXPECT_EQ(both.err,
              "velmora-cli plan: --spouse-earnings and --spouse-fra-benefit exclude each "
              "other.\nRun 'velmora-cli plan --help' for the options.\n");
}

}  // namespace
}  // namespace velmora::cli
