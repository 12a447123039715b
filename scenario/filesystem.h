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
    virtual int Sync(int fd);
    virtual int ChangeMode(int fd, mode_t mode);
    virtual int Close(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int Remove(const std::string& path);
};

/// The real calls.
FileSystem& SystemFileSystem();

}  // namespace velmora
