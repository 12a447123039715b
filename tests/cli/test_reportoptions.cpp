// The report options of velmora-cli: what reaches the PDF writer, and the refusals.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/run.h"
#include "engine/schedule.h"
#include "scenario/scenariorec.h"

namespace velmora::cli {
namespace {

const std::vector<std::string> kExample = {"--early-year",    "2001", "--early-month",   "1",
                                           "--age",           "62",   "--early-benefit", "1000",
                                           "--later-year",    "2004", "--later-month",   "1",
                                           "--later-benefit", "1400", "--cola",          "2.5",
                                           "--rate",          "3",    "--years",         "14"};

struct CliRun {
    int status = -1;
    std::string out, err;
    int writes = 0;
    std::string path;
    TScenarioRec scenario;
    int rows = 0;
    std::string lastYear, message;
};

CliRun RunWith(std::vector<std::string> extra, std::string failure = {}, bool withWriter = true) {
    std::vector<std::string> args = kExample;
    args.insert(args.end(), extra.begin(), extra.end());
    CliRun run;
    ReportPdfWriter writer = [&](const std::string& path, const TScenarioRec& rec,
                                 const TResultTable& table) {
        ++run.writes;
        run.path = path;
        run.scenario = rec;
        run.rows = table.cells->RowCount();
        run.lastYear = table.cells->GetCellText(grdYear, run.rows - 1);
        run.message = ResultMessage(table);
        return failure;
    };
    std::ostringstream out, err;
    run.status = RunCli(args, out, err, withWriter ? writer : ReportPdfWriter{});
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(ReportOptions, PdfHandsTheScenarioAndTheCalculatedTableToTheWriter) {
    const CliRun run = RunWith({"--pdf", "out.pdf", "--client", "  Pat Example ",
                                "--description=Claim at 62", "--preparer", "Lee Advisor"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.writes, 1);
    EXPECT_EQ(run.path, "out.pdf");
    EXPECT_EQ(run.scenario.ClientName, "Pat Example");
    EXPECT_EQ(run.scenario.Description, "Claim at 62");
    EXPECT_EQ(run.scenario.Preparer, "Lee Advisor");
    EXPECT_EQ(run.scenario.Cola, 2.5L);
    EXPECT_EQ(run.scenario.Rate, 3.0L);
    EXPECT_EQ(run.scenario.Years, 14);
    EXPECT_EQ(run.scenario.EarlyYear, 2001);
    EXPECT_EQ(run.scenario.EarlyMonth, 1);
    EXPECT_EQ(run.scenario.EarlyBenefit, 1000.0L);
    EXPECT_EQ(run.scenario.LaterYear, 2004);
    EXPECT_EQ(run.scenario.LaterMonth, 1);
    EXPECT_EQ(run.scenario.LaterBenefit, 1400.0L);
    EXPECT_EQ(run.scenario.Age, 62);
    EXPECT_EQ(run.rows, 15);
    EXPECT_EQ(run.lastYear, "2014");
    EXPECT_EQ(run.message, "Breakeven point occurs in the year 2014");
}

TEST(ReportOptions, WithoutPdfTheTableIsWrittenAsBefore) {
    const CliRun run = RunWith({"--client", "Pat"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.writes, 0);
    EXPECT_NE(run.out.find("Breakeven point occurs in the year 2014"), std::string::npos);
}

TEST(ReportOptions, AFailedReportIsExitStatusOneWithItsMessage) {
    const CliRun run = RunWith({"--pdf", "/no/such/folder/r.pdf"},
                               "Cannot write /no/such/folder/r.pdf: No such file or directory");
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "velmora-cli: Cannot write /no/such/folder/r.pdf: No such file or directory.\n");
}

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(ReportOptions, Refusals) {
    const struct {
        const char* name;
        std::vector<std::string> extra;
        bool withWriter;
        const char* firstLine;
    } cases[] = {
        {"empty file name", {"--pdf", ""}, true, "velmora-cli: --pdf: the file name is empty."},
        {"text too long",
         {"--client", std::string(101, 'x')},
         true,
         "velmora-cli: --client: the text is longer than 100 characters."},
        {"100 characters after trimming",
         {"--preparer", " " + std::string(100, 'x') + " ", "--pdf", "r.pdf"},
         true,
         ""},
        {"100 characters of two bytes each",
         {"--description", Repeated("\xc3\xa9", 100), "--pdf", "r.pdf"},
         true,
         ""},
        {"a character the scenario file cannot store",
         {"--client", "Li \xe6\x9d\x8e", "--pdf", "r.pdf"},
         true,
         "velmora-cli: --client: the text holds a character that a scenario file cannot store "
         "(U+674E)"},
        {"a byte that is no UTF-8 (would pass the length check)",
         {"--description", std::string(100, 'x') + "\x80", "--pdf", "r.pdf"},
         true,
         "velmora-cli: --description: the text is not valid UTF-8."},
        {"a replacement character typed as such",
         {"--client", "\xef\xbf\xbd", "--pdf", "r.pdf"},
         true,
         "velmora-cli: --client: the text holds a character that a scenario file cannot store "
         "(U+FFFD)"},
        {"Windows-1252 characters beyond Latin-1",
         {"--preparer", "\xe2\x82\xac \xc5\xb8 \xe2\x84\xa2", "--pdf", "r.pdf"},
         true,
         ""},
        {"no report without the report",
         {"--pdf", "r.pdf"},
         false,
         "velmora-cli: unknown option --pdf."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = RunWith(c.extra, {}, c.withWriter);
        if (*c.firstLine == '\0') {
            EXPECT_EQ(run.status, kExitOk) << run.err;
            continue;
        }
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.writes, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
    }
}

}  // namespace
}  // namespace velmora::cli
