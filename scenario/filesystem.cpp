#include "scenario/filesystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace velmora {

int FileSystem::Open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}
int FileSystem::Status(const std::string& path, struct stat& st) {
    return ::stat(path.c_str(), &st);
}
int FileSystem::FileStatus(int fd, struct stat& st) {
    return ::fstat(fd, &st);
}
ssize_t FileSystem::Read(int fd, void* buffer, std::size_t count) {
    return ::read(fd, buffer, count);
}
ssize_t FileSystem::Write(int fd, const void* buffer, std::size_t count) {
    return ::write(fd, buffer, count);
}
ssize_t FileSystem::WriteAt(int fd, const void* buffer, std::size_t count, off_t offset) {
    return ::pwrite(fd, buffer, count, offset);
}
int FileSystem::Truncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}
int FileSystem::Sync(int fd) {
    return ::fsync(fd);
}
int FileSystem::ChangeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileSystem::Close(int fd) {
    return ::close(fd);
}
int FileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}
int FileSystem::Remove(const std::string& path) {
    return ::unlink(path.c_str());
}

int FileSystem::Link(int fd, const std::string& path) {
    // Through /proc, which needs no privilege, unlike AT_EMPTY_PATH.
    const std::string source = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
}

int FileSystem::Lock(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB);
}

FileSystem& SystemFileSystem() {
    static FileSystem system;
    return system;
}

}  // namespace velmora
