#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace velmora {

/// The system calls that Open and Save make, one virtual per call so that a test can
/// make any single step fail. Each returns what the POSIX call returns and sets errno.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual int Open(const std::string& path, int flags, mode_t mode);
    virtual int Status(const std::string& path, struct stat& st);
    virtual int FileStatus(int fd, struct stat& st);
    virtual ssize_t Read(int fd, void* buffer, std::size_t count);
    virtual ssize_t Write(int fd, const void* buffer, std::size_t count);
    virtual ssize_t WriteAt(int fd, const void* buffer, std::size_t count, off_t offset);
    virtual int Truncate(int fd, off_t size);
    virtual int Sync(int fd);
    virtual int ChangeMode(int fd, mode_t mode);
    virtual int Close(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    /// Gives the file open on fd (one made with O_TMPFILE) the name path; fails with
    /// EEXIST when the name is taken.
    virtual int Link(int fd, const std::string& path);
    virtual int Remove(const std::string& path);
    /// Takes the exclusive lock of the open file without waiting (flock); the lock lasts
    /// until every descriptor of that open file is closed, so also when its process dies.
    virtual int Lock(int fd);
};

/// The real calls.
FileSystem& SystemFileSystem();

}  // namespace velmora
