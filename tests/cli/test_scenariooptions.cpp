// velmora-cli with scenario files: --scenario reads the ten values (options replace
// them), --save writes what the window's Save would write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "../support/plannerinputs.h"
#include "../support/readonlyfiles.h"
#include "cli/run.h"
#include "cli/scenariooptions.h"
#include "engine/money.h"
#include "engine/moneytext.h"
#include "planner/scenariopair.h"
#include "scenario/scenariofile.h"
#include "support/workedexample.h"

namespace velmora::cli {
namespace {

using velmora::testing::SingleClient;

namespace fs = std::filesystem;

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Fixture(const char* name) {
    return std::string(VELMORA_FIXTURES_DIR) + "/" + name;
}

TScenarioRec WorkedExample() {
    TScenarioRec r;
    r.ClientName = "Jane Q. Client";
    r.Description = "Early at 62 in 2001 or later at 65 in 2004";
    r.Preparer = "A. Planner";
    r.Cola = 2.5L;
    r.Years = 20;
    r.Rate = 3;
    r.EarlyMonth = 1;
    r.EarlyYear = 2001;
    r.LaterMonth = 1;
    r.LaterYear = 2004;
    r.Age = 62;
    r.EarlyBenefit = 1000;
    r.LaterBenefit = 1400;
    return r;
}

class CliScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetArithmeticContext();
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
        std::string pattern = (fs::temp_directory_path() / "velmora-cli-XXXXXX").string();
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        folder_ = pattern;
    }
    void TearDown() override {
        MoneyFormat() = saved_;
        fs::remove_all(folder_);
    }
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return RunCli(args, out, err);
    }
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    // A scenario file holding the worked example with one change.
    std::string FileWith(const std::function<void(TScenarioRec&)>& change) {
        TScenarioRec r = WorkedExample();
        change(r);
        const std::string path = PathOf("changed" + std::to_string(files_++) + ".ss");
        SaveScenarioFile(path, r);
        return path;
    }

    std::ostringstream out;
    std::ostringstream err;
    fs::path folder_;

  private:
    TMoneyFormat saved_;
    int files_ = 0;
};

// The worked example of every layer's tests, as options.
const std::vector<std::string> kExampleOptions = [] {
    std::vector<std::string> args = testing::WorkedExampleOptions();
    args.insert(args.end(), {"--years", "20", "--format", "tsv"});
    return args;
}();

TEST_F(CliScenarioTest, ScenarioFileGivesTheSameTableAsTheOptions) {
    ASSERT_EQ(kExitOk, Run(kExampleOptions)) << err.str();
    const std::string fromOptions = out.str();
    ASSERT_EQ(kExitOk, Run({"--scenario", Fixture("worked-example.ss"), "--format", "tsv"}))
        << err.str();
    EXPECT_EQ(fromOptions, out.str());
    EXPECT_EQ("", err.str());
}

TEST_F(CliScenarioTest, OptionsGivenAsWellReplaceTheFilesValues) {
    CliOptions options;
    options.scenarioPath = Fixture("worked-example.ss");
    ASSERT_EQ("", CliOptionTable().Parse({"--years", "3", "--cola", "1.5", "--client", "Someone"},
                                         options));
    ASSERT_EQ("", ApplyScenarioFile(options));
    const TScenarioRec& r = options.scenario;
    EXPECT_EQ(3, r.Years);
    EXPECT_EQ(1.5L, r.Cola);
    EXPECT_EQ(3.0L, r.Rate);
    EXPECT_EQ(2004, r.LaterYear);
    EXPECT_EQ(1400.0L, r.LaterBenefit);
    EXPECT_EQ("Someone", r.ClientName);
    EXPECT_EQ("A. Planner", r.Preparer);
}

TEST_F(CliScenarioTest, FileValuesMustKeepTheirFieldsRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        std::function<void(TScenarioRec&)> change;
        const char* refusal;  // empty: accepted
    } cases[] = {
        // Open shows what the file holds; Calculate reads a refused number as 0. Years 0
        // (saved after New) is that 0 and gives a header-only table, as in the window;
        // any other refused number would be calculated as a 0 that is not in the file.
        {"Years 0 as saved after New", [](TScenarioRec& r) { r.Years = 0; }, ""},
        {"a year before 2000", [](TScenarioRec& r) { r.EarlyYear = 1999; },
         "the file's value for --early-year, \"1999\": Value is not within required range "
         "(2000 to 2100) (give --early-year to replace it)"},
        {"an integer keeps its low 16 bits, as in the field",
         [](TScenarioRec& r) { r.LaterYear = 65536 + 2004; }, ""},
        {"70000 shows as 4464", [](TScenarioRec& r) { r.EarlyYear = 70000; },
         "the file's value for --early-year, \"70000\": Value is not within required range "
         "(2000 to 2100)"},
        {"a benefit wider than the mask, shown in full",
         [](TScenarioRec& r) { r.EarlyBenefit = 100000; }, ""},
        {"a benefit just above the mask", [](TScenarioRec& r) { r.EarlyBenefit = 99999.996L; }, ""},
        {"a huge benefit", [](TScenarioRec& r) { r.LaterBenefit = 1e4000L; },
         "--later-benefit, \"1e+4000\": Value is not valid for this field type"},
        {"a negative rate", [](TScenarioRec& r) { r.Rate = -0.5L; },
         "--rate, \"-0.5\": Value is not within required range (0 to 100)"},
        {"a NaN", [nan](TScenarioRec& r) { r.Cola = nan; },
         "--cola, \"nan\": Value is not valid for this field type"},
        {"an infinity",
         [](TScenarioRec& r) { r.Cola = std::numeric_limits<long double>::infinity(); },
         "--cola, \"inf\": Value is not valid for this field type"},
        {"a denormal reads as 0", [](TScenarioRec& r) { r.Rate = 1e-4940L; }, ""},
        {"a tiny negative that shows as 0", [](TScenarioRec& r) { r.Rate = -1e-4940L; }, ""},
        {"more decimals than the field keeps", [](TScenarioRec& r) { r.Cola = 2.123456L; }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CliOptions options;
        options.scenarioPath = FileWith(c.change);
        const std::string refusal = ApplyScenarioFile(options);
        if (std::string(c.refusal).empty()) {
            EXPECT_EQ("", refusal);
        } else {
            EXPECT_NE(std::string::npos, refusal.find(c.refusal)) << refusal;
            EXPECT_EQ(0u, refusal.find("--scenario " + options.scenarioPath + ": ")) << refusal;
        }
    }
}

TEST_F(CliScenarioTest, FileValuesAreRoundedAsTheFieldsShowThem) {
    CliOptions options;
    options.scenarioPath = FileWith([](TScenarioRec& r) {
        r.Cola = 2.123456L;
        r.Rate = 100.00004L;  // shows as 100.0000
        r.EarlyBenefit = 1234.5649L;
        r.LaterBenefit = 99999.99L;
        r.LaterYear = 65536 + 2004;
    });
    ASSERT_EQ("", ApplyScenarioFile(options));
    EXPECT_EQ(21235.0L / 10000, options.scenario.Cola);
    EXPECT_EQ(100.0L, options.scenario.Rate);
    EXPECT_EQ(123456.0L / 100, options.scenario.EarlyBenefit);
    EXPECT_EQ(99999.99L, options.scenario.LaterBenefit);
    EXPECT_EQ(2004, options.scenario.LaterYear);
}

// Years 0 and a benefit of 100,000 from a file calculate as the window calculates them.
TEST_F(CliScenarioTest, FileValuesTheWindowAcceptsAreCalculated) {
    const std::string years0 = FileWith([](TScenarioRec& r) { r.Years = 0; });
    ASSERT_EQ(kExitOk, Run({"--scenario", years0, "--format", "tsv"})) << err.str();
    EXPECT_EQ("Breakeven point not reached using these parameters.\n", out.str());
    const std::string big = FileWith([](TScenarioRec& r) {
        r.EarlyBenefit = 100000;
        r.Years = 1;
    });
    ASSERT_EQ(kExitOk, Run({"--scenario", big, "--format", "tsv"})) << err.str();
    EXPECT_EQ(0u, out.str().find("2001\t12\t62\t$100,000.00\t")) << out.str();
}

TEST_F(CliScenarioTest, UnreadableScenarioFilesAreRefused) {
    std::ofstream(PathOf("short.ss")) << "short";
    fs::create_directory(PathOf("folder.ss"));
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {PathOf("missing.ss"), "File not found"},
        {PathOf("folder.ss"), "File not found"},
        {PathOf("short.ss"), "Read beyond end of file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(kExitUsage, Run({"--scenario", c.path, "--years", "5"}));
        EXPECT_EQ("velmora-cli: --scenario " + c.path + ": " + c.message +
                      ".\nRun 'velmora-cli --help' for the options.\n",
                  err.str());
        EXPECT_EQ("", out.str());
    }
}

// A file the user may read but not write: --scenario reads it, --save to it is refused.
// The permissions come from the file system seam, as root may write any file.
TEST_F(CliScenarioTest, AReadOnlyScenarioFileIsReadAndNotReplaced) {
    velmora::testing::ReadOnlyFiles readOnly;
    CliOptions options;
    options.scenarioPath = Fixture("worked-example.ss");
    EXPECT_EQ("", ApplyScenarioFile(options, readOnly));
    EXPECT_EQ("Jane Q. Client", options.scenario.ClientName);
    EXPECT_EQ(1400.0L, options.scenario.LaterBenefit);

    const std::string path = PathOf("archived.ss");
    SaveScenarioFile(path, WorkedExample());
    options.savePath = path;
    options.scenario.ClientName = "Someone else";
    EXPECT_EQ("--save " + path + ": File access denied", SaveScenarioOption(options, readOnly));
    EXPECT_EQ("Jane Q. Client", LoadScenarioFile(path).ClientName);
}

TEST_F(CliScenarioTest, SaveWritesTheIndependentWritersBytes) {
    const struct {
        const char* fixture;
        int exit;
        std::vector<std::string> args;
    } cases[] = {
        {"worked-example.ss",
         kExitOk,
         {"--early-year",    "2001",
          "--early-month",   "1",
          "--age",           "62",
          "--early-benefit", "1000",
          "--later-year",    "2004",
          "--later-month",   "1",
          "--later-benefit", "1400",
          "--cola",          "2.5",
          "--rate",          "3",
          "--years",         "20",
          "--client",        "  Jane Q. Client ",
          "--description",   "Early at 62 in 2001 or later at 65 in 2004",
          "--preparer",      "A. Planner"}},
        // Saved first, then the calculation overflows: the file is kept all the same.
        {"cents-and-limits.ss", kExitFailed, {"--early-year",    "2030",
                                              "--early-month",   "12",
                                              "--age",           "99",
                                              "--early-benefit", "99999.99",
                                              "--later-year",    "2000",
                                              "--later-month",   "12",
                                              "--later-benefit", "0.01",
                                              "--cola",          "100",
                                              "--rate",          "0.0001",
                                              "--years",         "40",
                                              "--client",        std::string(100, 'N'),
                                              "--preparer",      "Zo\xC3\xAB M\xC3\xBCller"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        std::vector<std::string> args = c.args;
        const std::string path = PathOf(c.fixture);
        args.insert(args.end(), {"--save", path, "--format", "tsv"});
        ASSERT_EQ(c.exit, Run(args)) << err.str();
        EXPECT_EQ(ReadAll(Fixture(c.fixture)), ReadAll(path));
    }
}

TEST_F(CliScenarioTest, ScenarioAndSaveTogetherCopyAFileWithChanges) {
    const std::string copy = PathOf("copy.ss");
    ASSERT_EQ(kExitOk, Run({"--scenario", Fixture("worked-example.ss"), "--years", "30", "--client",
                            "Jane Doe", "--save", copy}))
        << err.str();
    TScenarioRec expected = WorkedExample();
    expected.ClientName = "Jane Doe";
    expected.Years = 30;
    const ScenarioBytes bytes = EncodeScenarioRecord(expected);
    EXPECT_EQ(std::vector<char>(bytes.begin(), bytes.end()), ReadAll(copy));
}

class FullDisk : public FileSystem {
  public:
    ssize_t Write(int fd, const void* buffer, std::size_t count) override {
        return FileSystem::Write(fd, buffer, count / 2);
    }
};

// --save writes the scenario record alone: a planner file beside it, saved by the window
// with the old scenario (or before planner files recorded their scenario), must not be
// shown with the new one. It is reported and kept.
TEST_F(CliScenarioTest, SaveNeverLeavesACompanionThatWouldBeShownWithTheNewScenario) {
    const planner::PlannerInputs oldClient =
        SingleClient({1950, 5, 6}, planner::Sex::Male, 123456, {2026, 1, 2});
    const std::string path = PathOf("client.ss");
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"saved with the old scenario",
         [&] {
             planner::SaveScenarioPair(path, EncodeScenarioRecord(WorkedExample()), oldClient);
         }},
        {"written before planner files recorded their scenario",
         [&] {
             // As the window saved them: the record, then the companion.
             SaveScenarioFile(path, WorkedExample());
             std::ofstream(PathOf("client.ssp")) << planner::FormatCompanion(oldClient);
             const auto now = fs::last_write_time(PathOf("client.ssp"));
             fs::last_write_time(path, now - std::chrono::seconds(10));
             fs::last_write_time(PathOf("client.ssp"), now - std::chrono::seconds(5));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        ASSERT_EQ(planner::OpenScenarioPair(path).planner.inputs, oldClient);
        const std::vector<char> companion = ReadAll(PathOf("client.ssp"));
        std::vector<std::string> args = kExampleOptions;
        args.insert(args.end(), {"--client", "New Client", "--save", path});
        ASSERT_EQ(kExitOk, Run(args)) << err.str();

        const planner::OpenedScenario opened = planner::OpenScenarioPair(path);
        EXPECT_EQ("New Client", DecodeScenarioRecord(opened.record).ClientName);
        EXPECT_EQ(opened.planner.inputs, std::nullopt);
        EXPECT_EQ(opened.planner.notice,
                  "The planner file client.ssp belongs to another version of this scenario; its "
                  "inputs were not used.");
        EXPECT_EQ(companion, ReadAll(PathOf("client.ssp")));
    }
}

TEST_F(CliScenarioTest, FailedSaveLeavesTheOldFileAndSaysWhy) {
    const std::string path = PathOf("old.ss");
    SaveScenarioFile(path, WorkedExample());
    const std::vector<char> before = ReadAll(path);
    CliOptions options;
    options.scenarioPath = Fixture("cents-and-limits.ss");
    options.savePath = path;
    ASSERT_EQ("", ApplyScenarioFile(options));
    FullDisk full;
    EXPECT_EQ("--save " + path + ": Disk full", SaveScenarioOption(options, full));
    EXPECT_EQ(before, ReadAll(path));

    EXPECT_EQ(kExitFailed,
              Run({"--scenario", Fixture("worked-example.ss"), "--save", PathOf("no/x.ss")}));
    EXPECT_EQ("velmora-cli: --save " + PathOf("no/x.ss") + ": Invalid filename.\n", err.str());
    EXPECT_EQ("", out.str());
}

TEST_F(CliScenarioTest, MissingValuesAreRefusedBeforeAnythingIsSaved) {
    EXPECT_EQ(kExitUsage, Run({"--years", "5", "--save", PathOf("x.ss")}));
    EXPECT_FALSE(fs::exists(PathOf("x.ss")));
    EXPECT_EQ(kExitUsage, Run({"--save", ""}));
    EXPECT_EQ(0u, err.str().find("velmora-cli: --save: needs a file name")) << err.str();
}

}  // namespace
}  // namespace velmora::cli
