#include "scenario/scenariofile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

namespace {

using Cause = FileError::Cause;

[[noreturn]] void Fail(int err, FileStep step) {
    throw FileErrorFromErrno(err, step);
}

// Closes a descriptor once; EINTR leaves it closed on Linux, so it counts as done.
int CloseOnce(FileSystem& fs, int& fd) {
    const int result = fs.Close(fd);
    fd = -1;
    return result != 0 && errno == EINTR ? 0 : result;
}

// A link is followed so that Save replaces the file it names, not the link. A link that
// leads nowhere is refused: a regular file in its place would hide where the user meant
// the file to go.
std::string FollowLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        Fail(errno, FileStep::Create);
    return resolved;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

constexpr std::string_view kTemporaryPrefix = ".velmora-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 12;

// A short fixed-length name, so that a long target name cannot make it too long.
std::string TemporaryName(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    std::uint64_t mix =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    mix ^= static_cast<std::uint64_t>(::getpid()) << 32;
    mix ^= std::uint64_t{counter.fetch_add(1)} * 0x9E3779B97F4A7C15u;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = folder + std::string(kTemporaryPrefix);
    for (std::size_t i = 0; i < kTemporaryDigits; ++i) {
        name.push_back(kHex[(mix >> (4 * i)) & 0xF]);
    }
    return name + std::string(kTemporarySuffix);
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix ||
        name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return false;
    for (const char c : name.substr(kTemporaryPrefix.size(), kTemporaryDigits)) {
        if ((c < '0' || c > '9') && (c < 'a' || c > 'f'))
            return false;
    }
    return true;
}

// A save holds the lock of its new file from before the file has a name until it is in
// place or removed, and a killed process lets go of it. So a temporary file of ours
// whose lock can be taken belongs to no running save: a save that was cut short
// between naming its file and putting it in place. Each save removes such files from
// its folder. Files that cannot be opened (another user's) are left alone.
void RemoveAbandonedTemporaries(const std::string& folder, FileSystem& fs) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(entry->d_name))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + name;
        int fd = fs.Open(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        // Still the file opened under that name, and no save holds it.
        if (fs.FileStatus(fd, held) == 0 && S_ISREG(held.st_mode) && fs.Lock(fd) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev)
            fs.Remove(path);
        CloseOnce(fs, fd);
    }
}

// A second descriptor of the new file keeps its lock while the first is closed (which
// reports late write errors) and the file is put in place.
int HoldLock(int fd) {
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

void Release(int& holder) {
    if (holder >= 0)
        ::close(holder);
    holder = -1;
}

// What Save needs to know of the file it replaces.
struct Existing {
    mode_t mode;
    nlink_t links;
};

// The file Save replaces, or nothing when there is none. Refuses what Save must not
// replace: a folder, a device, a pipe, or a file the user may not write.
std::optional<Existing> CheckReplaceable(const std::string& path, FileSystem& fs) {
    struct stat st {};
    if (fs.Status(path, st) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        Fail(errno, FileStep::Create);
    }
    if (S_ISDIR(st.st_mode))
        throw FileError(Cause::AccessDenied, EISDIR);
    if (!S_ISREG(st.st_mode))
        throw FileError(Cause::AccessDenied, EACCES);
    int fd = fs.Open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        Fail(errno, FileStep::Create);
    CloseOnce(fs, fd);
    return Existing{st.st_mode & 07777, st.st_nlink};
}

// The mode a new file is created with: the kernel applies the umask to a new name, and
// a replacement starts private until it has taken the old file's mode. Either way no
// one can open it who may not open the final file.
mode_t CreationMode(const std::optional<Existing>& old) {
    return old ? 0600 : 0666;
}

// A file with no name in the folder, so that a save killed half way leaves nothing.
int CreateUnnamed(const std::string& folder, const std::optional<Existing>& old, FileSystem& fs) {
    return fs.Open(folder.empty() ? std::string(".") : folder,
                   O_TMPFILE | O_WRONLY | O_CLOEXEC | O_NOCTTY, CreationMode(old));
}

// The folder's file system cannot make a file without a name (or the kernel is old).
bool UnnamedUnsupported(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

int CreateNamed(const std::string& folder, const std::optional<Existing>& old, FileSystem& fs,
                std::string& name) {
    constexpr int kAttempts = 100;
    for (int i = 0; i < kAttempts; ++i) {
        name = TemporaryName(folder);
        const int fd =
            fs.Open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, CreationMode(old));
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    const int err = errno;
    name.clear();
    errno = err;
    return -1;
}

// Gives the unnamed file a temporary name beside the target, for the rename over it.
void LinkTemporary(int fd, const std::string& folder, FileSystem& fs, std::string& name) {
    constexpr int kAttempts = 100;
    for (int i = 0; i < kAttempts; ++i) {
        name = TemporaryName(folder);
        if (fs.Link(fd, name) == 0)
            return;
        if (errno != EEXIST)
            break;
    }
    const int err = errno;
    name.clear();
    Fail(err, FileStep::Create);
}

void WriteAll(int fd, std::string_view bytes, FileSystem& fs) {
    ssize_t written = 0;
    do {
        written = fs.Write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    if (written < 0)
        Fail(errno, FileStep::Write);
    if (static_cast<std::size_t>(written) != bytes.size())
        throw FileError(Cause::DiskFull);
}

// Reads the open file to its end; FileTooLarge past maxBytes.
std::string ReadRest(int fd, FileSystem& fs,
                     std::size_t maxBytes = std::numeric_limits<std::size_t>::max()) {
    std::string bytes;
    char chunk[4096];
    for (;;) {
        const ssize_t n = fs.Read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(errno, FileStep::Read);
        if (n == 0)
            return bytes;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes)
            throw FileTooLarge();
    }
}

// Writes bytes at the start of the open file and cuts it to their length. Gives 0, or
// the system's code of the failure (-1 for a short write).
int OverwriteFile(int fd, std::string_view bytes, std::size_t oldSize, FileSystem& fs) {
    ssize_t written = 0;
    do {
        written = fs.WriteAt(fd, bytes.data(), bytes.size(), 0);
    } while (written < 0 && errno == EINTR);
    if (written < 0)
        return errno;
    if (static_cast<std::size_t>(written) != bytes.size())
        return -1;
    if (oldSize > bytes.size() && fs.Truncate(fd, static_cast<off_t>(bytes.size())) != 0)
        return errno;
    return fs.Sync(fd) != 0 ? errno : 0;
}

// The way taken when no new file can be made beside the target, or when the target has
// other names that a rename would part from it: the file itself is overwritten, and on a
// failure its old bytes, kept in memory, are put back.
void WriteInPlace(const std::string& path, std::string_view bytes, FileSystem& fs) {
    int fd = fs.Open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        Fail(errno, FileStep::Create);
    try {
        struct stat st {};
        if (fs.FileStatus(fd, st) != 0)
            Fail(errno, FileStep::Write);
        if (!S_ISREG(st.st_mode))
            throw FileError(Cause::AccessDenied, EACCES);
        const std::string old = ReadRest(fd, fs);
        if (const int err = OverwriteFile(fd, bytes, old.size(), fs); err != 0) {
            OverwriteFile(fd, old, bytes.size(), fs);
            if (err < 0)
                throw FileError(Cause::DiskFull);
            Fail(err, FileStep::Write);
        }
        if (CloseOnce(fs, fd) != 0)
            Fail(errno, FileStep::Close);
    } catch (...) {
        if (fd >= 0)
            CloseOnce(fs, fd);
        throw;
    }
}

}  // namespace

void SaveFileBytes(const std::string& path, std::string_view bytes, FileSystem& fs) {
    if (path.empty())
        throw FileError(Cause::InvalidName, ENOENT);
    const std::string target = FollowLink(path);
    const std::optional<Existing> old = CheckReplaceable(target, fs);
    if (old && old->links > 1)
        return WriteInPlace(target, bytes, fs);

    const std::string folder = FolderOf(target);
    RemoveAbandonedTemporaries(folder, fs);
    std::string temporary;  // stays empty while the new file has no name
    int fd = CreateUnnamed(folder, old, fs);
    if (fd < 0 && UnnamedUnsupported(errno))
        fd = CreateNamed(folder, old, fs, temporary);
    if (fd < 0) {
        if (old)
            return WriteInPlace(target, bytes, fs);
        Fail(errno, FileStep::Create);
    }
    // Where the file system has no locks the clean-up cannot take one either, and leaves
    // the file alone; so a failure here needs no handling.
    fs.Lock(fd);
    int holder = -1;
    try {
        if (old && fs.ChangeMode(fd, old->mode) != 0)
            Fail(errno, FileStep::Write);
        WriteAll(fd, bytes, fs);
        if (fs.Sync(fd) != 0)
            Fail(errno, FileStep::Write);
        if (temporary.empty()) {
            // A new name takes the file at once; an old one is replaced by a rename.
            if (!old) {
                if (fs.Link(fd, target) == 0) {
                    CloseOnce(fs, fd);
                    return;
                }
                if (errno != EEXIST)
                    Fail(errno, FileStep::Create);
            }
            LinkTemporary(fd, folder, fs, temporary);
        }
        holder = HoldLock(fd);
        if (CloseOnce(fs, fd) != 0)
            Fail(errno, FileStep::Close);
        if (fs.Rename(temporary, target) != 0)
            Fail(errno, FileStep::Create);
        Release(holder);
    } catch (...) {
        if (!temporary.empty())
            fs.Remove(temporary);
        if (fd >= 0)
            CloseOnce(fs, fd);
        Release(holder);
        throw;
    }
}

void CheckSavable(const std::string& path, FileSystem& fs) {
    if (path.empty())
        throw FileError(Cause::InvalidName, ENOENT);
    CheckReplaceable(FollowLink(path), fs);
}

std::string RealFilePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (path.empty() || ::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

void SaveScenarioBytes(const std::string& path, const ScenarioBytes& bytes, FileSystem& fs) {
    SaveFileBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                  fs);
}

ScenarioBytes LoadScenarioBytes(const std::string& path, FileSystem& fs) {
    // For reading only, so that a file the user may read but not write (an archive)
    // opens. Non-blocking, so that a pipe or a terminal of that name cannot hang the
    // program.
    int fd = fs.Open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        Fail(errno, FileStep::Open);

    ScenarioBytes bytes{};
    try {
        struct stat st {};
        if (fs.FileStatus(fd, st) != 0)
            Fail(errno, FileStep::Open);
        if (!S_ISREG(st.st_mode))
            throw FileError(Cause::NotFound, ENOENT);
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = fs.Read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                Fail(errno, FileStep::Read);
            if (n == 0)
                throw FileError(Cause::ReadBeyondEnd);
            got += static_cast<std::size_t>(n);
        }
        if (CloseOnce(fs, fd) != 0)
            Fail(errno, FileStep::Close);
    } catch (...) {
        if (fd >= 0)
            CloseOnce(fs, fd);
        throw;
    }
    return bytes;
}

std::string LoadSmallFile(const std::string& path, std::size_t maxBytes, FileSystem& fs) {
    int fd = fs.Open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0);
    if (fd < 0)
        Fail(errno, FileStep::Open);
    std::string text;
    try {
        struct stat st {};
        if (fs.FileStatus(fd, st) != 0)
            Fail(errno, FileStep::Open);
        if (!S_ISREG(st.st_mode))
            throw FileError(Cause::NotFound, ENOENT);
        text = ReadRest(fd, fs, maxBytes);
        if (CloseOnce(fs, fd) != 0)
            Fail(errno, FileStep::Close);
    } catch (...) {
        if (fd >= 0)
            CloseOnce(fs, fd);
        throw;
    }
    return text;
}

void SaveScenarioFile(const std::string& path, const TScenarioRec& rec, FileSystem& fs) {
    SaveScenarioBytes(path, EncodeScenarioRecord(rec), fs);
}

TScenarioRec LoadScenarioFile(const std::string& path, FileSystem& fs) {
    return DecodeScenarioRecord(LoadScenarioBytes(path, fs));
}

}  // namespace velmora
