// velmora-cli-pdf: velmora-cli with the report and the client summary, started by velmora-cli for
// --pdf with the same arguments. It alone loads Qt.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/reportpdf.h"
#include "cli/run.h"
#include "engine/money.h"
#include "engine/moneytext.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    velmora::ReadMoneyFormat();
    velmora::SetArithmeticContext();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::cli::RunCli(args, std::cout, std::cerr, velmora::cli::WriteReportPdfFile,
                                velmora::cli::WriteSummaryPdfFile);
}
