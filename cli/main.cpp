#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/run.h"
#ifdef VELMORA_CLI_REPORT
#include "cli/reportpdf.h"
#endif
#include "engine/money.h"
#include "engine/moneytext.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    velmora::ReadMoneyFormat();
    velmora::SetArithmeticContext();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "batch")
        return velmora::cli::RunBatch({args.begin() + 1, args.end()}, std::cin, std::cout,
                                      std::cerr);
#ifdef VELMORA_CLI_REPORT
    return velmora::cli::RunCli(args, std::cout, std::cerr, velmora::cli::WriteReportPdfFile,
                                velmora::cli::WriteSummaryPdfFile);
#else
    return velmora::cli::RunCli(args, std::cout, std::cerr);
#endif
}
