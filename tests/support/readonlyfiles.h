// Files that may be read and not written, for the tests of read-only scenario files: CI runs
// as root, who may write any file, so the refusal comes through the file system seam.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "scenario/filesystem.h"

namespace velmora::testing {

/// Opening an existing file for writing fails with EACCES; reading, and making new or
/// unnamed files, work as usual.
class ReadOnlyFiles : public FileSystem {
  public:
    int Open(const std::string& path, int flags, mode_t mode) override {
        if ((flags & O_ACCMODE) != O_RDONLY && (flags & O_CREAT) == 0 &&
            (flags & O_TMPFILE) != O_TMPFILE) {
            errno = EACCES;
            return -1;
        }
        return FileSystem::Open(path, flags, mode);
    }
};

}  // namespace velmora::testing
