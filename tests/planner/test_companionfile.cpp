// The planner's companion file beside a scenario: its text, its name, and reading and
// writing it on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

#include "planner/companionfile.h"
#include "scenario/fileerror.h"

namespace velmora::planner {
namespace {

PlannerInputs Single(Date born, Sex sex, std::int64_t cents, Date asOf) {
    PlannerInputs in;
    in.client.born = born;
    in.client.sex = sex;
    in.client.piaCents = cents;
    in.asOf = asOf;
    return in;
}

const PlannerInputs kJane = Single({1962, 3, 15}, Sex::Female, 200012, {2026, 12, 10});

// Jane with a husband who already receives benefits, her own claim, the period table and
// health factors for both.
PlannerInputs JaneAndJohn() {
    PlannerInputs in = kJane;
    in.client.claimed = Month::Of(2025, 4);
    in.client.mortalityFactor = 0.75L;
    PersonInputs john;
    john.born = {1959, 7, 2};
    john.sex = Sex::Male;
    john.piaCents = 310050;
    john.claimed = Month::Of(2022, 8);
    john.mortalityFactor = 2.5L;
    in.spouse = john;
    in.mortality = MortalityKind::Period;
    return in;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CompanionDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmora-companion-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST(CompanionText, NamesAndRoundTrip) {
    const std::pair<const char*, const char*> names[] = {
        {"/home/a/jane.ss", "/home/a/jane.ssp"},  {"JANE.SS", "JANE.SS.velmora-planner"},
        {"smith.Ss", "smith.Ss.velmora-planner"}, {"jane", "jane.velmora-planner"},
        {"jane.ssx", "jane.ssx.velmora-planner"}, {"a.ss.ss", "a.ss.ssp"},
    };
    for (const auto& [scenario, companion] : names)
        EXPECT_EQ(CompanionPath(scenario), companion) << scenario;
    // Names that once shared a companion have one each.
    const std::vector<std::string> scenarios = {
        "smith.ss", "smith.SS", "smith.sS", "jones", "jones.ss",         "a.ss.ss",
        "a.ss",     "a",        "a.ssp",    ".ss",   "a.velmora-planner"};
    std::set<std::string> companions;
    for (const std::string& scenario : scenarios)
        companions.insert(CompanionPath(scenario));
    EXPECT_EQ(companions.size(), scenarios.size());

    EXPECT_EQ(FormatCompanion(kJane),
              "# Velmora Analysis planner inputs\nborn = 1962-03-15\nsex = female\n"
              "fra_benefit = 2000.12\nas_of = 2026-12-10\nmortality = cohort\n");
    EXPECT_EQ(FormatCompanion(JaneAndJohn()),
              "# Velmora Analysis planner inputs\nborn = 1962-03-15\nsex = female\n"
              "fra_benefit = 2000.12\nclaimed = 2025-04\nmortality_factor = 0.75\n"
              "as_of = 2026-12-10\nmortality = period\nspouse_born = 1959-07-02\n"
              "spouse_sex = male\nspouse_fra_benefit = 3100.50\nspouse_claimed = 2022-08\n"
              "spouse_mortality_factor = 2.50\n");
    for (const PlannerInputs& in :
         {kJane, Single({1958, 12, 31}, Sex::Male, 0, {2024, 2, 29}),
          Single({1960, 1, 1}, Sex::Female, 9'999'999, {2024, 1, 1}),
          Single({1900, 1, 1}, Sex::Male, 1, {2100, 12, 31}), JaneAndJohn()}) {
        std::vector<std::string> unknown;
        EXPECT_EQ(ParseCompanion(FormatCompanion(in), &unknown), in);
        EXPECT_TRUE(unknown.empty());
    }
}

// A file written before the spouse and the mortality choices: one client, the cohort table,
// average health.
TEST(CompanionText, FileOfTheFirstVersionStillReads) {
    const PlannerInputs in = ParseCompanion(
        "# Velmora Analysis planner inputs\nborn = 1962-03-15\nsex = female\n"
        "fra_benefit = 2000.12\nas_of = 2026-12-10\n");
    EXPECT_EQ(in, kJane);
    EXPECT_FALSE(in.spouse.has_value());
    EXPECT_EQ(in.mortality, MortalityKind::Cohort);
    EXPECT_EQ(in.client.mortalityFactor, 1);
}

TEST(CompanionText, ReadsWhatAPersonMightWrite) {
    // Other spacing, CR LF line ends, comments, amounts without cents, keys of a later
    // version.
    const PlannerInputs in = ParseCompanion(
        "\r\n# mine\r\n  as_of=2026-12-10\r\nsex =male\r\nfra_benefit = 1500\r\n"
        "born\t= 1962-03-15 \r\nspouse = none\r\nspouse_pension = 12\r\n");
    EXPECT_EQ(in, Single({1962, 3, 15}, Sex::Male, 150000, {2026, 12, 10}));
    // The keys of a later version are named, so that the window can say what it left out.
    std::vector<std::string> unknown;
    ParseCompanion(
        "born=1962-03-15\nsex=female\nfra_benefit=1\nas_of=2026-12-10\nspouse = "
        "none\nspouse_pension = 12\n",
        &unknown);
    EXPECT_EQ(unknown, (std::vector<std::string>{"spouse", "spouse_pension"}));
    EXPECT_EQ(ParseCompanion("born=1962-03-15\nsex=female\nfra_benefit=12.5\nas_of=2026-12-10")
                  .client.piaCents,
              1250);
}

TEST(CompanionText, DamagedFilesAreRefusedWithTheLine) {
    const std::string good = "born = 1962-03-15\nsex = female\nfra_benefit = 2000\n";
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {good, "as_of is missing"},
        {good + "as_of = 2026-02-30\n", "line 4: \"2026-02-30\" is not a date"},
        {good + "as_of 2026-12-10\n", "line 4: no \"key = value\""},
        {good + "as_of = 2026-12-10\nsex = male\n", "line 5: sex given twice"},
        {"born = 1962-03-15\nsex = F\n", "line 2: \"F\" is not female or male"},
        {"fra_benefit = 100000.00\n", "line 1: \"100000.00\" is not an amount"},
        {"fra_benefit = 12.345\n", "line 1: \"12.345\" is not an amount"},
        {"fra_benefit = -5\n", "line 1: \"-5\" is not an amount"},
        {"fra_benefit = 5.\n", "line 1: \"5.\" is not an amount"},
        {std::string("\x89PNG\r\n\x1a\n\0\0", 10), "line 1: no \"key = value\""},
        // Dates the Planner page's fields cannot show.
        {good + "as_of = 2101-01-01\n",
         "line 4: \"2101-01-01\" is outside the years 1900 to 2100 that the Planner page takes"},
        {"born = 1899-12-31\n", "line 1: \"1899-12-31\" is outside the years 1900 to 2100"},
        // Hostile text reaches the message escaped and cut.
        {"sex = \x1b]0;owned\x07\n", "line 1: \"\\x1b]0;owned\\x07\" is not female or male"},
        {"born = " + std::string(5000, '9') + "\n",
         "line 1: \"" + std::string(40, '9') + "...\" is not a date"},
        {"", "born is missing"},
        {good + "as_of = 2026-12-10\nspouse_born = 1960-01-01\nspouse_sex = male\n",
         "spouse_fra_benefit is missing"},
        {good + "as_of = 2026-12-10\nspouse_born = 1960-01-01\nspouse_born = 1960-01-01\n",
         "line 6: spouse_born given twice"},
        {good + "mortality_factor = 4.01\n", "line 4: \"4.01\" is not a factor"},
        {good + "spouse_mortality_factor = 0.2\n", "line 4: \"0.2\" is not a factor"},
        {good + "claimed = 2025-13\n", "line 4: \"2025-13\" is not a month"},
        {good + "spouse_claimed = 2025-1\n", "line 4: \"2025-1\" is not a month"},
        {good + "mortality = both\n", "line 4: \"both\" is not cohort or period"},
    };
    for (const Case& c : cases) {
        try {
            ParseCompanion(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const CompanionFileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << e.what() << " / " << c.message;
        }
    }
}

TEST(CompanionText, KeepsTheEarningsRecordOnOneLine) {
    PlannerInputs in = kJane;
    in.client.earnings.years = {{1986, 125000}, {2024, 6400050}};
    in.spouse = kJane.client;
    in.spouse->earnings.years = {{2001, 100}};
    const std::string text = FormatCompanion(in);
    EXPECT_NE(text.find("fra_benefit = 2000.12\nearnings = 1986:1250.00 2024:64000.50\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nspouse_earnings = 2001:1.00\n"), std::string::npos) << text;
    EXPECT_EQ(ParseCompanion(text), in);

    const std::string good = FormatCompanion(kJane);
    struct Case {
        std::string line;
        const char* message;
    };
    const Case cases[] = {
        {"earnings = 1986:100 1986:200", "line 7: earnings: entry 2: the year 1986 is given twice"},
        {"earnings = 1986:-100", "line 7: earnings: entry 1: a negative amount is refused"},
        {"earnings = 1936:100", "line 7: earnings: entry 1: 1936 is before 1937"},
        {"earnings = 1986=100", "line 7: earnings: \"1986=100\" is not year:amount"},
        {"earnings = 1986:1,2", "line 7: earnings: entry 1: \"1,2\" is not an amount"},
        {"earnings = 1986:1\nearnings = 1987:1", "line 8: earnings given twice"},
    };
    for (const Case& c : cases) {
        try {
            ParseCompanion(good + c.line + "\n");
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const CompanionFileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << e.what() << " / " << c.message;
        }
    }
}

TEST_F(CompanionDir, SavedFileReadsBack) {
    const std::string path = Path("jane.ssp");
    SaveCompanion(path, kJane);
    EXPECT_EQ(ReadText(path), FormatCompanion(kJane));
    EXPECT_EQ(LoadCompanion(path), kJane);
    // Saving again replaces the file whole; nothing else is left in the folder.
    const PlannerInputs other = JaneAndJohn();
    SaveCompanion(path, other);
    EXPECT_EQ(LoadCompanion(path), other);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(CompanionDir, MissingDamagedAndRemoved) {
    EXPECT_EQ(LoadCompanion(Path("none.ssp")), std::nullopt);
    // A folder of that name is no companion either.
    std::filesystem::create_directory(Path("folder.ssp"));
    EXPECT_EQ(LoadCompanion(Path("folder.ssp")), std::nullopt);

    std::ofstream(Path("bad.ssp")) << "born = yesterday\n";
    EXPECT_THROW(LoadCompanion(Path("bad.ssp")), CompanionFileError);
    std::ofstream(Path("huge.ssp")) << std::string(100 * 1024, '#');
    EXPECT_THROW(LoadCompanion(Path("huge.ssp")), CompanionFileError);

    RemoveCompanion(Path("bad.ssp"));
    EXPECT_FALSE(std::filesystem::exists(Path("bad.ssp")));
    EXPECT_NO_THROW(RemoveCompanion(Path("bad.ssp")));
}

// The write goes through the record's atomic replacement: a failure part way leaves the
// old file as it was and no temporary behind.
TEST_F(CompanionDir, FailedWriteLeavesTheOldFile) {
    class FullDisk : public FileSystem {
      public:
        ssize_t Write(int, const void*, std::size_t count) override {
            return static_cast<ssize_t>(count / 2);
        }
    } fullDisk;
    const std::string path = Path("jane.ssp");
    SaveCompanion(path, kJane);
    EXPECT_THROW(SaveCompanion(path, PlannerInputs{}, fullDisk), FileError);
    EXPECT_EQ(LoadCompanion(path), kJane);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace velmora::planner
