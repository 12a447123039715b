#pragma once

#include <stdexcept>

namespace velmora {

/// A failed file operation of Open or Save. what() is the message the user sees.
class FileError : public std::runtime_error {
  public:
    enum class Cause {
        NotFound,       // "File not found"
        InvalidName,    // "Invalid filename"
        TooManyOpen,    // "Too many open files"
        AccessDenied,   // "File access denied"
        ReadBeyondEnd,  // "Read beyond end of file"
        DiskFull,       // "Disk full"
        Other,          // "I/O error n", n being the system's code
    };
    /// code: the system's error number behind the failure, or 0 when there was none.
    explicit FileError(Cause cause, int code = 0);
    Cause cause() const noexcept { return cause_; }
    int code() const noexcept { return code_; }

  private:
    Cause cause_;
    int code_;
};

/// What the failing call was doing; a few system codes mean different things there.
enum class FileStep {
    Open,    // opening an existing file to read it
    Create,  // creating the new file or putting it in place of the old one
    Read,
    Write,  // writing, flushing to disk, setting its permissions
    Close,
};

/// The one place where system error numbers become the user's causes.
FileError FileErrorFromErrno(int err, FileStep step);

}  // namespace velmora
