#pragma once

#include <string>

#include "scenario/fileerror.h"
#include "scenario/filesystem.h"
#include "scenario/scenariocodec.h"
#include "scenario/scenariorec.h"

namespace velmora {

/// Writes the record so that the file at path is either the old one or the whole new
/// one, never a mix: the bytes go to a fresh file in the same folder, are flushed to
/// disk and only then renamed over path. On any failure the old file is untouched,
/// the fresh file is removed and a FileError is thrown. Only a regular file that the
/// user may write is replaced (it keeps its permissions); a link is followed.
void SaveScenarioBytes(const std::string& path, const ScenarioBytes& bytes,
                       FileSystem& fs = SystemFileSystem());

/// Reads the first record of the file at path, opened for reading and writing as the
/// program always has. Throws FileError: "File not found" when no regular file has that
/// name (a folder counts as none), "Read beyond end of file" when it is shorter than one
/// record. Bytes after the first record are ignored. The file is always released.
ScenarioBytes LoadScenarioBytes(const std::string& path, FileSystem& fs = SystemFileSystem());

void SaveScenarioFile(const std::string& path, const TScenarioRec& rec,
                      FileSystem& fs = SystemFileSystem());
TScenarioRec LoadScenarioFile(const std::string& path, FileSystem& fs = SystemFileSystem());

}  // namespace velmora
