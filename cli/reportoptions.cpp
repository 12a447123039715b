#include "cli/reportoptions.h"

namespace velmora::cli {

void AddReportOptions(OptionTable& table) {
    table.Add(OptionDef{"--pdf", "FILE",
                        "write the printed report to FILE as PDF instead of the table; the "
                        "file appears only when complete",
                        [](CliOptions& options, const std::string& value) -> std::string {
                            if (value.empty())
                                return "the file name is empty";
                            options.report.pdfPath = value;
                            return {};
                        }});
}

}  // namespace velmora::cli
