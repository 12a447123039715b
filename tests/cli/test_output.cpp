#include <gtest/gtest.h>

#include <sstream>

#include "cli/output.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"
#include "support/workedexample.h"

namespace velmora::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The worked example of every layer's tests, as options.
const std::vector<std::string> kExample = [] {
    std::vector<std::string> args = testing::WorkedExampleOptions();
    args.insert(args.end(), {"--years", "20"});
    return args;
}();

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class CliRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetArithmeticContext();
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
    }
    void TearDown() override { MoneyFormat() = saved_; }
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return RunCli(args, out, err);
    }
    std::ostringstream out;
    std::ostringstream err;

  private:
    TMoneyFormat saved_;
};

TEST_F(CliRunTest, TsvHoldsTheCellTextsAndTheMessage) {
    ASSERT_EQ(Run(With(kExample, {"--format", "tsv"})), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "2001\t12\t62\t$1,000.00\t$12,000\t$12,000\t$12,000\t0\t0\t0\t0\t$12,000");
    EXPECT_EQ(lines[13],
              "2014\t12\t75\t$1,378.51\t$16,542\t$11,264\t$162,801\t$1,792.12\t$21,505\t$14,644\t"
              "$165,073\t($2,272)");
    EXPECT_EQ(lines[20], "Breakeven point occurs in the year 2014");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliRunTest, CsvQuotesTheMoneyTexts) {
    ASSERT_EQ(Run(With(kExample, {"--format=csv"})), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0],
              "Year,No. of Months,Age,Monthly Benefit at Early Retirement,Annual Benefit at Early "
              "Retirement,Present Value,PV Cumulative Benefits,Monthly Benefit at Later "
              "Retirement,Annual Benefit at Later Retirement,Present Value,PV Cumulative "
              "Benefits,Difference PV Cumulative Benefits");
    EXPECT_EQ(lines[14],
              "2014,12,75,\"$1,378.51\",\"$16,542\",\"$11,264\",\"$162,801\",\"$1,792.12\","
              "\"$21,505\",\"$14,644\",\"$165,073\",\"($2,272)\"");
}

TEST_F(CliRunTest, CsvDoublesQuotesInsideAField) {
    MoneyFormat().CurrencySymbol = "\"";
    MoneyFormat().GroupMark = "";
    ASSERT_EQ(Run(With(std::vector<std::string>(kExample.begin(), kExample.end() - 2),
                       {"--format=csv", "--years=1"})),
              kExitOk);
    EXPECT_EQ(Lines(out.str())[1],
              "2001,12,62,\"\"\"1000.00\",\"\"\"12000\",\"\"\"12000\","
              "\"\"\"12000\",0,0,0,0,\"\"\"12000\"");
}

TEST_F(CliRunTest, TextIsAnAlignedTable) {
    ASSERT_EQ(Run(kExample), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines.back(), "Breakeven point occurs in the year 2014");
    EXPECT_EQ(lines[lines.size() - 2], "");
    // Every row of the table ends in the same column.
    const auto rule = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.rfind("----", 0) == 0; });
    ASSERT_NE(rule, lines.end());
    for (auto it = rule; it != lines.end() - 2; ++it)
        EXPECT_EQ(it->size(), rule->size()) << *it;
    EXPECT_EQ(*(rule + 14),
              "2014      12   75   $1,378.51     $16,542  $11,264    $162,801   $1,792.12     "
              "$21,505  $14,644    $165,073    ($2,272)");
}

TEST_F(CliRunTest, RefusalWritesNothingToTheOutput) {
    struct Case {
        std::vector<std::string> args;
        const char* firstLine;
    };
    const Case cases[] = {
        {With(kExample, {"--colour", "red"}), "velmora-cli: unknown option --colour."},
        {std::vector<std::string>(kExample.begin() + 2, kExample.end()),
         "velmora-cli: missing option --early-year."},
        {{"--cola", "100.0001"},
         "velmora-cli: --cola: \"100.0001\": Value is not within required range (0 to 100)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine);
        EXPECT_EQ(Run(c.args), kExitUsage);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(Lines(err.str()).at(0), c.firstLine);
    }
}

TEST_F(CliRunTest, ArithmeticErrorEndsWithAFullStop) {
    std::vector<std::string> args = kExample;
    args[7] = "99999.99";  // early benefit
    args[15] = "100";      // COLA
    args[19] = "40";       // years
    EXPECT_EQ(Run(args), kExitFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Invalid floating point operation.\n");
}

TEST_F(CliRunTest, HelpWinsOverEverythingElse) {
    EXPECT_EQ(Run({"--cola", "250", "--help"}), kExitOk);
    EXPECT_NE(out.str().find("Usage: velmora-cli"), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace velmora::cli
