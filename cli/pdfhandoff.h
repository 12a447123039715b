#pragma once

#include <string>
#include <vector>

namespace velmora::cli {

/// Whether the arguments (program name excluded) ask for the report as PDF: they read
/// without a refusal, without --help, and name a --pdf file.
bool AsksForReportPdf(const std::vector<std::string>& args);

/// The PDF writer program: beside this program (a build folder), else in the installed
/// libexec folder at relativeDir from this program's folder.
std::string PdfHelperPath(const std::string& helperName, const std::string& relativeDir);

/// Replaces this process with the program at path, with the same arguments. Returns only
/// when that fails, with the reason.
std::string ExecProgram(const std::string& path, char** argv);

}  // namespace velmora::cli
