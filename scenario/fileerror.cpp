#include "scenario/fileerror.h"

#include <cerrno>
#include <string>

namespace velmora {

namespace {

std::string MessageOf(FileError::Cause cause, int code) {
    using C = FileError::Cause;
    switch (cause) {
        case C::NotFound:
            return "File not found";
        case C::InvalidName:
            return "Invalid filename";
        case C::TooManyOpen:
            return "Too many open files";
        case C::AccessDenied:
            return "File access denied";
        case C::ReadBeyondEnd:
            return "Read beyond end of file";
        case C::DiskFull:
            return "Disk full";
        case C::Other:
            break;
    }
    return "I/O error " + std::to_string(code);
}

}  // namespace

FileError::FileError(Cause cause, int code)
    : std::runtime_error(MessageOf(cause, code)), cause_(cause), code_(code) {}

FileError FileErrorFromErrno(int err, FileStep step) {
    using C = FileError::Cause;
    const bool naming = step == FileStep::Open || step == FileStep::Create;
    switch (err) {
        case ENOENT:
            // The new file itself is being created, so only a folder of the path is missing.
            return FileError(step == FileStep::Create ? C::InvalidName : C::NotFound, err);
        case EISDIR:
            // A folder is no scenario file to open, and cannot be replaced by one.
            return FileError(step == FileStep::Open ? C::NotFound : C::AccessDenied, err);
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return FileError(C::InvalidName, err);
        case EINVAL:
        case EILSEQ:
            // Raised by file systems that refuse some characters in names.
            return FileError(naming ? C::InvalidName : C::Other, err);
        case EMFILE:
        case ENFILE:
            return FileError(C::TooManyOpen, err);
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return FileError(C::AccessDenied, err);
        case ENOSPC:
        case EDQUOT:
            return FileError(C::DiskFull, err);
        default:
            return FileError(C::Other, err);
    }
}

}  // namespace velmora
