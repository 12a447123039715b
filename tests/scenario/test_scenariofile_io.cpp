// Saving and opening scenario files: the error messages, the all-or-nothing save, and
// what Open refuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scenario/scenariofile.h"
#include "scenariofile_test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;

TEST(FileErrorMapping, SystemCodesBecomeTheUsersMessages) {
    const struct {
        int err;
        FileStep step;
        const char* message;
    } cases[] = {
        {ENOENT, FileStep::Open, "File not found"},
        {ENOENT, FileStep::Create, "Invalid filename"},  // a folder of the path is missing
        {EISDIR, FileStep::Open, "File not found"},      // a folder is no file
        {EISDIR, FileStep::Create, "File access denied"},
        {ENOTDIR, FileStep::Open, "Invalid filename"},
        {ENAMETOOLONG, FileStep::Create, "Invalid filename"},
        {ELOOP, FileStep::Open, "Invalid filename"},
        {EINVAL, FileStep::Create, "Invalid filename"},
        {EILSEQ, FileStep::Open, "Invalid filename"},
        {EINVAL, FileStep::Write, "I/O error 22"},
        {EMFILE, FileStep::Open, "Too many open files"},
        {ENFILE, FileStep::Create, "Too many open files"},
        {EACCES, FileStep::Open, "File access denied"},
        {EPERM, FileStep::Create, "File access denied"},
        {EROFS, FileStep::Create, "File access denied"},
        {ETXTBSY, FileStep::Open, "File access denied"},
        {ENOSPC, FileStep::Write, "Disk full"},
        {EDQUOT, FileStep::Close, "Disk full"},
        {EIO, FileStep::Read, "I/O error 5"},
        {EIO, FileStep::Close, "I/O error 5"},
        {EBUSY, FileStep::Open, "I/O error 16"},
        {ENXIO, FileStep::Open, "I/O error 6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SCOPED_TRACE(c.err);
        const FileError e = FileErrorFromErrno(c.err, c.step);
        EXPECT_STREQ(c.message, e.what());
        EXPECT_EQ(c.err, e.code());
    }
}

TEST(FileErrorMapping, CausesWithoutASystemCode) {
    EXPECT_STREQ("Read beyond end of file", FileError(FileError::Cause::ReadBeyondEnd).what());
    EXPECT_STREQ("Disk full", FileError(FileError::Cause::DiskFull).what());
    EXPECT_STREQ("I/O error 1234", FileError(FileError::Cause::Other, 1234).what());
}

// Makes one chosen call fail, or one write come up short; counts descriptors so that a
// test sees every file released.
class FaultyFileSystem : public FileSystem {
  public:
    enum class Call {
        Status,
        OpenExisting,
        Create,
        CreateUnnamed,
        FileStatus,
        Read,
        Write,
        ShortWrite,
        ShortRead,
        Sync,
        ChangeMode,
        Close,
        Rename,
        Link
    };
    std::optional<Call> failing;
    int err = EIO;
    int times = 1000;                 // how many calls fail; later ones succeed
    std::optional<Call> alsoFailing;  // fails every time, with alsoErr
    int alsoErr = EACCES;
    std::set<int> open;
    std::set<int> created;
    // Seen on each new file right after it was created, and the names in its folder
    // while its bytes were written.
    std::vector<mode_t> createdModes;
    std::vector<std::set<std::string>> namesWhileWriting;
    std::string folder;

    int Open(const std::string& path, int flags, mode_t mode) override {
        const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
        const bool creating = unnamed || (flags & O_CREAT) != 0;
        if (unnamed && Fails(Call::CreateUnnamed))
            return -1;
        if (Fails(creating ? Call::Create : Call::OpenExisting))
            return -1;
        const int fd = FileSystem::Open(path, flags, mode);
        if (fd >= 0) {
            open.insert(fd);
            struct stat st {};
            if (creating && ::fstat(fd, &st) == 0) {
                created.insert(fd);
                createdModes.push_back(st.st_mode & 07777);
            }
        }
        return fd;
    }
    int Status(const std::string& path, struct stat& st) override {
        return Fails(Call::Status) ? -1 : FileSystem::Status(path, st);
    }
    int FileStatus(int fd, struct stat& st) override {
        return Fails(Call::FileStatus) ? -1 : FileSystem::FileStatus(fd, st);
    }
    ssize_t Read(int fd, void* buffer, std::size_t count) override {
        if (Fails(Call::Read))
            return -1;
        if (failing == Call::ShortRead && count > 100)
            count = 100;
        return FileSystem::Read(fd, buffer, count);
    }
    ssize_t Write(int fd, const void* buffer, std::size_t count) override {
        NoteNames(fd);
        if (Fails(Call::Write))
            return -1;
        return FileSystem::Write(fd, buffer, Shortened(count));
    }
    ssize_t WriteAt(int fd, const void* buffer, std::size_t count, off_t offset) override {
        if (Fails(Call::Write))
            return -1;
        return FileSystem::WriteAt(fd, buffer, Shortened(count), offset);
    }
    int Sync(int fd) override { return Fails(Call::Sync) ? -1 : FileSystem::Sync(fd); }
    int ChangeMode(int fd, mode_t mode) override {
        return Fails(Call::ChangeMode) ? -1 : FileSystem::ChangeMode(fd, mode);
    }
    int Close(int fd) override {
        open.erase(fd);
        created.erase(fd);
        const int result = FileSystem::Close(fd);  // the descriptor is gone either way
        return Fails(Call::Close) ? -1 : result;
    }
    int Rename(const std::string& from, const std::string& to) override {
        return Fails(Call::Rename) ? -1 : FileSystem::Rename(from, to);
    }
    int Link(int fd, const std::string& path) override {
        return Fails(Call::Link) ? -1 : FileSystem::Link(fd, path);
    }

  private:
    bool Fails(Call call) {
        if (alsoFailing == call) {
            errno = alsoErr;
            return true;
        }
        if (failing != call || times == 0)
            return false;
        --times;
        errno = err;
        return true;
    }
    std::size_t Shortened(std::size_t count) {
        if (failing != Call::ShortWrite || times == 0)
            return count;
        --times;
        return count - 1;
    }
    void NoteNames(int fd) {
        if (folder.empty() || created.count(fd) == 0)
            return;
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        namesWhileWriting.push_back(names);
    }
};

class ScenarioFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-file-XXXXXX").string();
        ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(PathOf(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    static TScenarioRec Sample(const std::string& client) {
        TScenarioRec r;
        r.ClientName = client;
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
    static std::vector<std::uint8_t> Bytes(const TScenarioRec& r) {
        const ScenarioBytes b = EncodeScenarioRecord(r);
        return {b.begin(), b.end()};
    }

    fs::path folder_;
};

template <typename F>
std::string MessageOf(F&& run) {
    try {
        run();
    } catch (const FileError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(ScenarioFileTest, SavedFileIsOneRecordAndOpensAgain) {
    const std::string path = PathOf("jane.ss");
    SaveScenarioFile(path, Sample("Jane"));
    EXPECT_EQ(384u, fs::file_size(path));
    EXPECT_EQ(Bytes(Sample("Jane")), ReadWholeFile(path));
    EXPECT_EQ("Jane", LoadScenarioFile(path).ClientName);
    EXPECT_EQ(std::set<std::string>{"jane.ss"}, Names());
}

TEST_F(ScenarioFileTest, SavingOverAnOlderFileReplacesItAndKeepsItsPermissions) {
    const std::string path = PathOf("client.ss");
    WriteBytes("client.ss", std::vector<std::uint8_t>(1000, 0xAB));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    SaveScenarioFile(path, Sample("New client"));
    EXPECT_EQ(Bytes(Sample("New client")), ReadWholeFile(path));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
              fs::status(path).permissions() & fs::perms::all);
    EXPECT_EQ(std::set<std::string>{"client.ss"}, Names());
}

TEST_F(ScenarioFileTest, SavingThroughALinkReplacesTheLinkedFile) {
    WriteBytes("real.ss", Bytes(Sample("Old")));
    fs::create_symlink("real.ss", PathOf("link.ss"));
    SaveScenarioFile(PathOf("link.ss"), Sample("New"));
    EXPECT_TRUE(fs::is_symlink(PathOf("link.ss")));
    EXPECT_EQ("New", LoadScenarioFile(PathOf("real.ss")).ClientName);
}

TEST_F(ScenarioFileTest, OpenTakesTheFirstRecordOfALongerFile) {
    for (const std::size_t size : {500u, 768u, 1000u}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> bytes = Bytes(Sample("First"));
        const std::vector<std::uint8_t> second = Bytes(Sample("Second"));
        bytes.insert(bytes.end(), second.begin(), second.end());
        bytes.resize(size, 0x55);
        WriteBytes("long.ss", bytes);
        EXPECT_EQ("First", LoadScenarioFile(PathOf("long.ss")).ClientName);
    }
}

TEST_F(ScenarioFileTest, FailuresOnRealFilesGiveTheirMessages) {
    WriteBytes("short.ss", std::vector<std::uint8_t>(200, 1));
    WriteBytes("almost.ss", std::vector<std::uint8_t>(383, 1));
    WriteBytes("empty.ss", {});
    WriteBytes("plain.ss", Bytes(Sample("x")));
    fs::create_directory(PathOf("folder.ss"));
    ASSERT_EQ(0, ::mkfifo(PathOf("pipe.ss").c_str(), 0600));
    const std::string longName = PathOf(std::string(300, 'n') + ".ss");
    fs::create_symlink("gone.ss", PathOf("dangling.ss"));
    fs::create_symlink("loop.ss", PathOf("loop.ss"));
    const struct {
        const char* name;
        std::function<void()> run;
        const char* message;
    } cases[] = {
        {"open a missing file", [&] { LoadScenarioFile(PathOf("missing.ss")); }, "File not found"},
        {"open a folder", [&] { LoadScenarioFile(PathOf("folder.ss")); }, "File not found"},
        {"open a pipe (must not wait for a writer)", [&] { LoadScenarioFile(PathOf("pipe.ss")); },
         "File not found"},
        {"open 200 bytes", [&] { LoadScenarioFile(PathOf("short.ss")); },
         "Read beyond end of file"},
        {"open 383 bytes", [&] { LoadScenarioFile(PathOf("almost.ss")); },
         "Read beyond end of file"},
        {"open an empty file", [&] { LoadScenarioFile(PathOf("empty.ss")); },
         "Read beyond end of file"},
        {"open below a file", [&] { LoadScenarioFile(PathOf("plain.ss/x.ss")); },
         "Invalid filename"},
        {"open a name too long", [&] { LoadScenarioFile(longName); }, "Invalid filename"},
        {"save into a missing folder", [&] { SaveScenarioFile(PathOf("nowhere/x.ss"), {}); },
         "Invalid filename"},
        {"save below a file", [&] { SaveScenarioFile(PathOf("plain.ss/x.ss"), {}); },
         "Invalid filename"},
        {"save a name too long", [&] { SaveScenarioFile(longName, {}); }, "Invalid filename"},
        {"save an empty name", [&] { SaveScenarioFile("", {}); }, "Invalid filename"},
        {"save over a folder", [&] { SaveScenarioFile(PathOf("folder.ss"), {}); },
         "File access denied"},
        {"save over a pipe", [&] { SaveScenarioFile(PathOf("pipe.ss"), {}); },
         "File access denied"},
        // A link that leads nowhere stays a link: a regular file in its place would hide
        // where the user meant the file to go.
        {"save over a link that leads nowhere",
         [&] { SaveScenarioFile(PathOf("dangling.ss"), {}); }, "Invalid filename"},
        {"save a report over a link that leads nowhere",
         [&] { SaveFileBytes(PathOf("dangling.ss"), "%PDF"); }, "Invalid filename"},
        {"save over a link to itself", [&] { SaveScenarioFile(PathOf("loop.ss"), {}); },
         "Invalid filename"},
    };
    const std::set<std::string> before = Names();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.message, MessageOf(c.run));
    }
    EXPECT_EQ(before, Names());
    EXPECT_TRUE(fs::is_symlink(PathOf("dangling.ss")));
    EXPECT_TRUE(fs::is_symlink(PathOf("loop.ss")));
    EXPECT_EQ(Bytes(Sample("x")), ReadWholeFile(PathOf("plain.ss")));
}

TEST_F(ScenarioFileTest, SaveFailingAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
    using Call = FaultyFileSystem::Call;
    const struct {
        Call call;
        int err;
        const char* message;
    } cases[] = {
        {Call::Status, EACCES, "File access denied"},
        {Call::OpenExisting, EACCES, "File access denied"},  // a read-only file
        {Call::ChangeMode, EPERM, "File access denied"},
        {Call::Write, ENOSPC, "Disk full"},
        {Call::Write, EIO, "I/O error 5"},
        {Call::ShortWrite, 0, "Disk full"},
        {Call::Sync, EIO, "I/O error 5"},
        {Call::Sync, EDQUOT, "Disk full"},
        {Call::Close, EIO, "I/O error 5"},
        {Call::Rename, EACCES, "File access denied"},
        {Call::Rename, EBUSY, "I/O error 16"},
        {Call::Link, EMLINK, "I/O error 31"},
    };
    const std::string path = PathOf("kept.ss");
    const std::vector<std::uint8_t> old = Bytes(Sample("Old client"));
    for (const bool named : {false, true}) {  // a file without a name, or the fallback
        for (const auto& c : cases) {
            if (named && c.call == Call::Link)
                continue;
            SCOPED_TRACE(named);
            SCOPED_TRACE(static_cast<int>(c.call));
            SCOPED_TRACE(c.message);
            WriteBytes("kept.ss", old);
            FaultyFileSystem faulty;
            faulty.failing = c.call;
            faulty.err = c.err;
            if (named)
                faulty.alsoFailing = Call::CreateUnnamed, faulty.alsoErr = EOPNOTSUPP;
            EXPECT_EQ(c.message, MessageOf([&] { SaveScenarioFile(path, Sample("New"), faulty); }));
            EXPECT_EQ(old, ReadWholeFile(path));
            EXPECT_EQ(std::set<std::string>{"kept.ss"}, Names());
            EXPECT_TRUE(faulty.open.empty()) << "a file was left open";
        }
    }
}

// A save killed between naming its new file and putting it in place leaves the name; the
// next save in that folder removes it, but not the file of a save still running (which
// holds its lock) nor files that are not ours.
TEST_F(ScenarioFileTest, ASaveRemovesTemporaryFilesLeftByKilledSaves) {
    const std::string abandoned = ".velmora-0123456789ab.tmp";
    const std::string running = ".velmora-aaaaaaaaaaaa.tmp";
    const std::vector<std::string> notOurs = {".velmora-0123456789ab.tmp~", ".velmora-x.tmp",
                                              ".velmora-0123456789AB.tmp", "notes.tmp"};
    for (const std::string& name : notOurs)
        WriteBytes(name, {1});
    WriteBytes(abandoned, {1, 2});
    WriteBytes(running, {3});
    fs::create_directory(PathOf(".velmora-bbbbbbbbbbbb.tmp"));
    const int held = ::open(PathOf(running).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(0, ::flock(held, LOCK_EX | LOCK_NB));

    SaveScenarioFile(PathOf("client.ss"), Sample("New"));
    std::set<std::string> expected(notOurs.begin(), notOurs.end());
    expected.insert({running, ".velmora-bbbbbbbbbbbb.tmp", "client.ss"});
    EXPECT_EQ(expected, Names());

    ::close(held);  // that save is gone too now
    SaveScenarioFile(PathOf("client.ss"), Sample("Newer"));
    expected.erase(running);
    EXPECT_EQ(expected, Names());
    EXPECT_EQ("Newer", LoadScenarioFile(PathOf("client.ss")).ClientName);
}

TEST_F(ScenarioFileTest, SaveFailingForANewNameLeavesNothingBehind) {
    using Call = FaultyFileSystem::Call;
    for (const bool named : {false, true}) {
        for (const Call call : {Call::Create, Call::Write, Call::ShortWrite, Call::Sync,
                                named ? Call::Close : Call::Link, Call::Rename}) {
            SCOPED_TRACE(named);
            SCOPED_TRACE(static_cast<int>(call));
            FaultyFileSystem faulty;
            faulty.failing = call;
            if (named)
                faulty.alsoFailing = Call::CreateUnnamed, faulty.alsoErr = EOPNOTSUPP;
            const std::string message =
                MessageOf([&] { SaveScenarioFile(PathOf("new.ss"), Sample("New"), faulty); });
            // A new name is linked directly, with no rename to fail.
            EXPECT_EQ(!named && call == Call::Rename, message == "(no error)") << message;
            if (message != "(no error)") {
                EXPECT_TRUE(Names().empty());
            }
            fs::remove(PathOf("new.ss"));
            EXPECT_TRUE(faulty.open.empty());
        }
    }
}

// A watcher of the folder must not be able to open the new file while the bytes go in
// unless the final file would let them, and a save killed half way must leave no file
// behind: the new file is created with a mode no wider than the final one, and has no
// name in the folder while it is written.
TEST_F(ScenarioFileTest, TheNewFileIsNeverWiderThanTheFinalOneNorNamedWhileWritten) {
    const mode_t savedMask = ::umask(022);
    const struct {
        const char* name;
        std::optional<fs::perms> old;  // none: a new file
        mode_t final;
    } cases[] = {
        {"a private file", fs::perms::owner_read | fs::perms::owner_write, 0600},
        {"a group file", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
         0640},
        {"a new file", std::nullopt, 0644},
    };
    for (const bool named : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(named);
            SCOPED_TRACE(c.name);
            fs::remove(PathOf("c.ss"));
            std::set<std::string> before;
            if (c.old) {
                WriteBytes("c.ss", Bytes(Sample("Old")));
                fs::permissions(PathOf("c.ss"), *c.old);
                before = {"c.ss"};
            }
            FaultyFileSystem faulty;
            faulty.folder = folder_.string();
            if (named)
                faulty.alsoFailing = FaultyFileSystem::Call::CreateUnnamed,
                faulty.alsoErr = EOPNOTSUPP;
            SaveScenarioFile(PathOf("c.ss"), Sample("New"), faulty);
            ASSERT_EQ(1u, faulty.createdModes.size());
            EXPECT_EQ(0u, faulty.createdModes[0] & ~c.final & 0777u)
                << std::oct << faulty.createdModes[0];
            EXPECT_EQ(c.final, static_cast<mode_t>(fs::status(PathOf("c.ss")).permissions() &
                                                   fs::perms::all));
            ASSERT_EQ(1u, faulty.namesWhileWriting.size());
            if (!named) {
                EXPECT_EQ(before, faulty.namesWhileWriting[0]);
            }
            EXPECT_EQ("New", LoadScenarioFile(PathOf("c.ss")).ClientName);
            EXPECT_EQ(std::set<std::string>{"c.ss"}, Names());
        }
    }
    ::umask(savedMask);
}

// When no new file can be made in the folder, or the file has further hard links, the
// file itself is overwritten; if that fails its old bytes are put back.
TEST_F(ScenarioFileTest, SaveWritesInPlaceWhenTheFolderRefusesOrTheFileHasLinks) {
    using Call = FaultyFileSystem::Call;
    const std::vector<std::uint8_t> longOld(1000, 0xAB);

    WriteBytes("linked.ss", longOld);
    fs::create_hard_link(PathOf("linked.ss"), PathOf("other-name.ss"));
    fs::permissions(PathOf("linked.ss"), fs::perms::owner_read | fs::perms::owner_write);
    SaveScenarioFile(PathOf("linked.ss"), Sample("New"));
    EXPECT_EQ(Bytes(Sample("New")), ReadWholeFile(PathOf("other-name.ss")));
    EXPECT_EQ(2u, fs::hard_link_count(PathOf("linked.ss")));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
              fs::status(PathOf("linked.ss")).permissions() & fs::perms::all);

    const struct {
        const char* name;
        std::optional<Call> failing;
        int err;
        const char* message;  // empty: saved
    } cases[] = {
        {"the folder refuses", std::nullopt, 0, ""},
        {"the write fails", Call::Write, EIO, "I/O error 5"},
        {"the write is short", Call::ShortWrite, 0, "Disk full"},
        {"the flush fails", Call::Sync, ENOSPC, "Disk full"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("kept.ss", longOld);
        FaultyFileSystem faulty;
        faulty.alsoFailing = Call::Create;  // both kinds of new file
        faulty.failing = c.failing;
        faulty.err = c.err;
        faulty.times = 1;
        const std::string message =
            MessageOf([&] { SaveScenarioFile(PathOf("kept.ss"), Sample("New"), faulty); });
        EXPECT_EQ(*c.message ? c.message : "(no error)", message);
        EXPECT_EQ(*c.message ? longOld : Bytes(Sample("New")), ReadWholeFile(PathOf("kept.ss")));
        EXPECT_TRUE(faulty.open.empty());
    }
    EXPECT_EQ((std::set<std::string>{"kept.ss", "linked.ss", "other-name.ss"}), Names());

    // A new name has no file to write in place.
    FaultyFileSystem refusing;
    refusing.alsoFailing = Call::Create;
    EXPECT_EQ("File access denied",
              MessageOf([&] { SaveScenarioFile(PathOf("new.ss"), Sample("New"), refusing); }));
}

// The same with real permissions: a user who may write the file but not the folder.
TEST_F(ScenarioFileTest, AWritableFileInAFolderThatRefusesNewFilesIsSaved) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const std::string path = PathOf("shared.ss");
    WriteBytes("shared.ss", Bytes(Sample("Old")));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                              fs::perms::others_write);
    fs::permissions(folder_,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        const std::string message = MessageOf([&] { SaveScenarioFile(path, Sample("New")); });
        ::_exit(message == "(no error)" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("New", LoadScenarioFile(path).ClientName);
    EXPECT_EQ(std::set<std::string>{"shared.ss"}, Names());
}

TEST_F(ScenarioFileTest, OpenFailingAtAnyStepReleasesTheFile) {
    using Call = FaultyFileSystem::Call;
    const struct {
        Call call;
        int err;
        const char* message;
    } cases[] = {
        {Call::OpenExisting, EACCES, "File access denied"},  // a file the user may not read
        {Call::OpenExisting, EMFILE, "Too many open files"},
        {Call::OpenExisting, ENOENT, "File not found"},  // gone since the dialog closed
        {Call::FileStatus, EIO, "I/O error 5"},
        {Call::Read, EIO, "I/O error 5"},
        {Call::Close, EIO, "I/O error 5"},
    };
    WriteBytes("s.ss", Bytes(Sample("x")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        FaultyFileSystem faulty;
        faulty.failing = c.call;
        faulty.err = c.err;
        EXPECT_EQ(c.message, MessageOf([&] { LoadScenarioFile(PathOf("s.ss"), faulty); }));
        EXPECT_TRUE(faulty.open.empty());
    }
}

TEST_F(ScenarioFileTest, OpenGathersARecordReadInPieces) {
    WriteBytes("s.ss", Bytes(Sample("Pieces")));
    FaultyFileSystem faulty;
    faulty.failing = FaultyFileSystem::Call::ShortRead;
    EXPECT_EQ("Pieces", LoadScenarioFile(PathOf("s.ss"), faulty).ClientName);
}

// A file the user may read but not write (an archive of client files) opens; Save to it
// is refused as before. As root every file is writable, so the check runs in a child
// process that gives up root first.
TEST_F(ScenarioFileTest, ReadOnlyFileOpensAndRefusesSave) {
    const std::string path = PathOf("readonly.ss");
    WriteBytes("readonly.ss", Bytes(Sample("Archived")));
    fs::permissions(folder_, fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const pid_t child = ::fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        std::string client;
        const std::string opened = MessageOf([&] { client = LoadScenarioFile(path).ClientName; });
        if (opened != "(no error)" || client != "Archived")
            ::_exit(1);
        const std::string saved = MessageOf([&] { SaveScenarioFile(path, Sample("New")); });
        ::_exit(saved == "File access denied" ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_NE(1, WEXITSTATUS(status)) << "the read-only file did not open";
    EXPECT_NE(3, WEXITSTATUS(status)) << "Save to the read-only file was not refused";
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("Archived", LoadScenarioFile(path).ClientName);
}

}  // namespace
}  // namespace velmora
