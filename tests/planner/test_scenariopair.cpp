// A scenario file and its planner companion as a pair: the companion is used only with
// the record it was saved with, has a name of its own beside the real file, and a save
// that fails or is killed half way never shows one client's planner inputs beside
// another client's scenario.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "../support/plannerinputs.h"
#include "planner/scenariopair.h"
#include "scenario/fileerror.h"
#include "scenario/scenariofile.h"

namespace velmora::planner {
namespace {

using velmora::testing::SingleClient;

namespace fs = std::filesystem;

// Client k's scenario and planner inputs, each telling whose they are.
ScenarioBytes RecordOf(int k) {
    TScenarioRec rec;
    rec.ClientName = "Client " + std::to_string(k);
    rec.Years = 20;
    return EncodeScenarioRecord(rec);
}
PlannerInputs InputsOf(int k) {
    return SingleClient({1960, 1 + k % 12, 1 + k % 28}, Sex::Female, 100000 + k, {2026, 12, 10});
}
int ClientOf(const ScenarioBytes& record) {
    return std::stoi(DecodeScenarioRecord(record).ClientName.substr(7));
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ScenarioPairTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-pair-XXXXXX").string();
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    // Sets a file's modification time this many seconds back.
    void Age(const std::string& name, int seconds) const {
        const auto when = fs::last_write_time(Path(name)) - std::chrono::seconds(seconds);
        fs::last_write_time(Path(name), when);
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir_;
};

TEST_F(ScenarioPairTest, OpenUsesOnlyTheCompanionOfThisRecord) {
    const std::string other =
        "The planner file jane.ssp belongs to another version of this scenario; its inputs "
        "were not used.";
    const std::string legacy = FormatCompanion(InputsOf(1));  // written before digests
    const struct {
        const char* name;
        std::function<void()> make;
        std::optional<PlannerInputs> inputs;
        std::string notice;
    } cases[] = {
        {"saved together", [&] { SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1)); },
         InputsOf(1), ""},
        {"the record saved again alone, as --save does",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             SaveScenarioBytes(Path("jane.ss"), RecordOf(2));
         },
         std::nullopt, other},
        {"the same record saved again alone",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             SaveScenarioBytes(Path("jane.ss"), RecordOf(1));
         },
         InputsOf(1), ""},
        {"another client's companion copied beside it",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             Write("jane.ssp", FormatCompanionFor(InputsOf(2), RecordOf(2)));
         },
         std::nullopt, other},
        {"the digest typed in capitals",
         [&] {
             SaveScenarioBytes(Path("jane.ss"), RecordOf(1));
             std::string text = FormatCompanionFor(InputsOf(1), RecordOf(1));
             const std::size_t digest = text.find("scenario_sha256 = ") + 18;
             for (std::size_t i = digest; i < text.size(); ++i)
                 text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
             Write("jane.ssp", text);
         },
         InputsOf(1), ""},
        {"a companion without a digest, written after the record",
         [&] {
             SaveScenarioBytes(Path("jane.ss"), RecordOf(1));
             Age("jane.ss", 60);
             Write("jane.ssp", legacy);
         },
         InputsOf(1), ""},
        {"a companion without a digest, older than the record",
         [&] {
             Write("jane.ssp", legacy);
             Age("jane.ssp", 60);
             SaveScenarioBytes(Path("jane.ss"), RecordOf(2));
         },
         std::nullopt, other},
        {"no companion", [&] { SaveScenarioBytes(Path("jane.ss"), RecordOf(1)); }, std::nullopt,
         ""},
        {"a damaged companion",
         [&] {
             SaveScenarioBytes(Path("jane.ss"), RecordOf(1));
             Write("jane.ssp", "born = 1960-02-30\n");
         },
         std::nullopt,
         "The planner file jane.ssp could not be read (line 1: \"1960-02-30\" is not a date of "
         "the form YYYY-MM-DD). The scenario was opened; the planner's inputs were cleared."},
        {"a year the page cannot show",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             std::string text = ReadText(Path("jane.ssp"));
             text.replace(text.find("as_of = 2026-12-10"), 18, "as_of = 2101-01-01");
             Write("jane.ssp", text);
         },
         std::nullopt,
         "The planner file jane.ssp could not be read (line 5: \"2101-01-01\" is outside the "
         "years 1900 to 2100 that the Planner page takes). The scenario was opened; the "
         "planner's inputs were cleared."},
        {"the digest given twice",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             Write("jane.ssp", ReadText(Path("jane.ssp")) + "scenario_sha256 = 00\n");
         },
         std::nullopt,
         "The planner file jane.ssp could not be read (line 8: scenario_sha256 given twice). "
         "The scenario was opened; the planner's inputs were cleared."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Path("jane.ss"));
        fs::remove(Path("jane.ssp"));
        c.make();
        const std::string before = ReadText(Path("jane.ssp"));
        const OpenedScenario opened = OpenScenarioPair(Path("jane.ss"));
        EXPECT_EQ(opened.planner.inputs, c.inputs);
        EXPECT_EQ(opened.planner.notice, c.notice);
        // A companion that is not used is kept as it was.
        EXPECT_EQ(ReadText(Path("jane.ssp")), before);
    }
}

// One companion per scenario file, beside the file that a link leads to.
TEST_F(ScenarioPairTest, EachScenarioFileHasItsOwnCompanionBesideTheRealFile) {
    fs::create_directory(Path("real"));
    SaveScenarioBytes(Path("real/jane.ss"), RecordOf(9));
    fs::create_symlink("real/jane.ss", Path("link.ss"));
    const std::string files[] = {"smith.ss", "smith.SS", "jones", "jones.ss", "link.ss"};
    for (int k = 0; k < 5; ++k)
        SaveScenarioPair(Path(files[k]), RecordOf(k), InputsOf(k));
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(files[k]);
        const OpenedScenario opened = OpenScenarioPair(Path(files[k]));
        EXPECT_EQ(ClientOf(opened.record), k);
        EXPECT_EQ(opened.planner.inputs, InputsOf(k));
        EXPECT_EQ(opened.planner.notice, "");
    }
    EXPECT_EQ(Names(), (std::set<std::string>{
                           "smith.ss", "smith.ssp", "smith.SS", "smith.SS.velmora-planner", "jones",
                           "jones.velmora-planner", "jones.ss", "jones.ssp", "link.ss", "real"}));
    EXPECT_TRUE(fs::is_regular_file(Path("real/jane.ssp")));
    EXPECT_EQ(OpenScenarioPair(Path("real/jane.ss")).planner.inputs, InputsOf(4));
}

// Makes the companion's writes fail, or every open of one name.
class CompanionFaults : public FileSystem {
  public:
    std::string refusedName;  // opened for writing: EACCES
    bool companionDiskFull = false;
    int Open(const std::string& path, int flags, mode_t mode) override {
        if (!refusedName.empty() && path == refusedName && (flags & O_ACCMODE) != O_RDONLY) {
            errno = EACCES;
            return -1;
        }
        return FileSystem::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* buffer, std::size_t count) override {
        if (companionDiskFull && count > 1 && static_cast<const char*>(buffer)[0] == '#') {
            errno = ENOSPC;
            return -1;
        }
        return FileSystem::Write(fd, buffer, count);
    }
};

TEST_F(ScenarioPairTest, ACompanionThatCannotBeWrittenIsReportedWithWhatWasSaved) {
    const std::string longStem(252, 'n');  // NAME.ss fits in 255 bytes, NAME.ssp does not
    CompanionFaults readOnly;
    readOnly.refusedName = Path("jane.ssp");
    CompanionFaults diskFull;
    diskFull.companionDiskFull = true;
    const struct {
        const char* name;
        std::string file;
        FileSystem* fs;
        bool scenarioSaved;
        std::string message;
    } cases[] = {
        {"a read-only companion", "jane.ss", &readOnly, false,
         "The scenario was not saved; the planner file jane.ssp could not be written: File "
         "access denied"},
        {"a companion name too long", longStem + ".ss", &SystemFileSystem(), false,
         "The scenario was not saved; the planner file " + longStem +
             ".ssp could not be written: Invalid filename"},
        {"a link in the companion's place", "linked.ss", &SystemFileSystem(), false,
         "The scenario was not saved; the planner file linked.ssp could not be written: File "
         "access denied"},
        {"the disk full for the companion", "jane.ss", &diskFull, true,
         "The scenario was saved; the planner file jane.ssp could not be written: Disk full"},
    };
    Write("elsewhere", "not a planner file");
    fs::create_symlink("elsewhere", Path("linked.ssp"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaveScenarioBytes(Path(c.file), RecordOf(1));
        if (c.file == "jane.ss")
            SaveScenarioPair(Path(c.file), RecordOf(1), InputsOf(1));
        try {
            SaveScenarioPair(Path(c.file), RecordOf(2), InputsOf(2), *c.fs);
            ADD_FAILURE() << "no error";
        } catch (const PairSaveError& e) {
            EXPECT_EQ(e.what(), c.message);
            EXPECT_EQ(e.scenarioSaved(), c.scenarioSaved);
        }
        const OpenedScenario opened = OpenScenarioPair(Path(c.file));
        EXPECT_EQ(ClientOf(opened.record), c.scenarioSaved ? 2 : 1);
        // Never the other client's inputs: the old pair whole, or the new record alone.
        if (opened.planner.inputs) {
            EXPECT_EQ(*opened.planner.inputs, InputsOf(ClientOf(opened.record)));
        }
    }
    EXPECT_EQ(ReadText(Path("elsewhere")), "not a planner file");
}

TEST_F(ScenarioPairTest, SaveWithoutInputsRemovesOnlyTheReplacedRecordsCompanion) {
    const struct {
        const char* name;
        std::function<void()> make;
        bool kept;
    } cases[] = {
        {"the replaced record's companion",
         [&] { SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1)); }, false},
        {"one of another version",
         [&] {
             SaveScenarioPair(Path("jane.ss"), RecordOf(1), InputsOf(1));
             SaveScenarioBytes(Path("jane.ss"), RecordOf(3));
         },
         true},
        {"one the page cannot show",
         [&] {
             SaveScenarioBytes(Path("jane.ss"), RecordOf(1));
             Age("jane.ss", 60);
             Write("jane.ssp",
                   "born = 1960-01-01\nsex = male\nfra_benefit = 1\nas_of = 2101-01-01\n");
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Path("jane.ssp"));
        c.make();
        SaveScenarioPair(Path("jane.ss"), RecordOf(2), std::nullopt);
        EXPECT_EQ(fs::exists(Path("jane.ssp")), c.kept);
        const OpenedScenario opened = OpenScenarioPair(Path("jane.ss"));
        EXPECT_EQ(ClientOf(opened.record), 2);
        EXPECT_EQ(opened.planner.inputs, std::nullopt);
    }
}

// Saves killed at random moments: whatever is left, opening it never shows one client's
// planner inputs beside another client's scenario.
TEST_F(ScenarioPairTest, AKilledSaveNeverPairsTwoClients) {
    const std::string path = Path("client.ss");
    SaveScenarioPair(path, RecordOf(0), InputsOf(0));
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i)
        SaveScenarioPair(path, RecordOf(0), InputsOf(0));
    const long run = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                           std::chrono::steady_clock::now() - start)
                                           .count() /
                                       5);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // The child needs some time to start as well.
    std::uniform_int_distribution<long> delay(0, 2 * run + 200);
    int mismatched = 0;
    int planned = 0;
    constexpr int kTrials = 500;
    for (int k = 1; k <= kTrials; ++k) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            SaveScenarioPair(path, RecordOf(k), InputsOf(k));
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const OpenedScenario opened = OpenScenarioPair(path);
        if (opened.planner.inputs) {
            ++planned;
            if (*opened.planner.inputs != InputsOf(ClientOf(opened.record)))
                ++mismatched;
        }
    }
    EXPECT_EQ(mismatched, 0);
    EXPECT_GT(planned, 0);
}

}  // namespace
}  // namespace velmora::planner
