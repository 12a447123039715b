#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "scenario/fileerror.h"
#include "scenario/filesystem.h"
#include "scenario/scenariocodec.h"
#include "scenario/scenariorec.h"

namespace velmora {

/// Writes bytes so that the file at path is either the old one or the whole new one,
/// never a mix. The bytes go to a fresh file in the same folder (one without a name
/// where the file system allows it, else a hidden named one), are flushed to disk and
/// only then put in place of path. When the folder takes no new file, or the old file
/// has further hard links, the old file is overwritten in place instead, and its old
/// bytes are written back if that fails. On any failure the old file keeps its bytes,
/// nothing new is left behind and a FileError is thrown. Only a regular file that the
/// user may write is replaced (it keeps its permissions); a link is followed, and one that
/// leads nowhere is refused ("Invalid filename"). path is taken byte for byte.
void SaveFileBytes(const std::string& path, std::string_view bytes,
                   FileSystem& fs = SystemFileSystem());

/// Throws the FileError that SaveFileBytes would throw at path before writing anything (a
/// name too long, a folder, a file the user may not write, a link that leads nowhere);
/// writes nothing.
void CheckSavable(const std::string& path, FileSystem& fs = SystemFileSystem());

/// The name of the file that path reaches, every link resolved; path itself when it
/// reaches nothing.
std::string RealFilePath(const std::string& path);

/// SaveFileBytes for one scenario record.
void SaveScenarioBytes(const std::string& path, const ScenarioBytes& bytes,
                       FileSystem& fs = SystemFileSystem());

/// A file longer than its reader takes.
class FileTooLarge : public std::runtime_error {
  public:
    FileTooLarge() : std::runtime_error("File too large") {}
};

/// Reads a whole small file, opened for reading only and without blocking. Throws
/// FileError as LoadScenarioBytes does ("File not found" also for a folder or a device),
/// and FileTooLarge past maxBytes. The file is always released.
std::string LoadSmallFile(const std::string& path, std::size_t maxBytes,
                          FileSystem& fs = SystemFileSystem());

/// Reads the first record of the file at path, opened for reading only (a read-only file
/// opens; Save to it is refused). Throws FileError: "File not found" when no regular file has that
/// name (a folder counts as none), "Read beyond end of file" when it is shorter than one
/// record. Bytes after the first record are ignored. The file is always released.
ScenarioBytes LoadScenarioBytes(const std::string& path, FileSystem& fs = SystemFileSystem());

void SaveScenarioFile(const std::string& path, const TScenarioRec& rec,
                      FileSystem& fs = SystemFileSystem());
TScenarioRec LoadScenarioFile(const std::string& path, FileSystem& fs = SystemFileSystem());

}  // namespace velmora
