#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/filesystem.h"

namespace velmora::cli {

/// velmora-cli batch FILE.csv (or - for the standard input): one calculation per row of a
/// CSV table whose header names the ten calculation inputs; the results go to out as CSV,
/// one row per scenario row, in order. args are the arguments after "batch". Returns 0,
/// 1 when a row failed (its reason goes to err, the other rows go on), or 2 for a usage
/// or header error (nothing on out). Expects the money format and the arithmetic context
/// to be set up by the caller, as RunCli does.
int RunBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err, FileSystem& fs = SystemFileSystem());

/// The batch part of --help.
std::string BatchHelpText(const std::string& program);

/// A message line made safe for a terminal and a spreadsheet cell: control characters
/// are written as \t, \n, \r or \xNN.
std::string EscapeControls(const std::string& text);

}  // namespace velmora::cli
