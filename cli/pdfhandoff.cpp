#include "cli/pdfhandoff.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/options.h"
#include "cli/reportoptions.h"

namespace velmora::cli {

bool AsksForReportPdf(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h")
            return false;
    }
    // The plan command's --pdf writes the client summary; its own parsing refuses the rest.
    if (!args.empty() && args.front() == "plan")
        return std::find(args.begin() + 1, args.end(), "--pdf") != args.end();
    OptionTable table = CliOptionTable();
    AddReportOptions(table);
    CliOptions options;
    return table.Parse(args, options).empty() && !options.report.pdfPath.empty();
}

std::string PdfHelperPath(const std::string& helperName, const std::string& relativeDir) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return helperName;
    const fs::path beside = self.parent_path() / helperName;
    if (fs::exists(beside, error))
        return beside.string();
    return (self.parent_path() / relativeDir / helperName).lexically_normal().string();
}

std::string ExecProgram(const std::string& path, char** argv) {
    ::execv(path.c_str(), argv);
    return path + " could not be started: " + std::strerror(errno);
}

}  // namespace velmora::cli
