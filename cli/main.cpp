#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/piacli.h"
#include "cli/run.h"
#ifdef VELMORA_PDF_HELPER
#include "cli/pdfhandoff.h"
#include "engine/messagetext.h"
#endif
#include "engine/money.h"
#include "engine/moneytext.h"

namespace {

// The user's locale for the categories the program reads: the character set, numbers, dates,
// money and the C library's messages. Taking them one by one spares each run the loading of
// the others (collation, paper, address and the like), which the C.UTF-8 locale keeps in
// files of their own. As with setlocale(LC_ALL, ""), a locale that cannot be set in full
// leaves the program in "C".
void UseUserLocale() {
    for (const int category : {LC_CTYPE, LC_NUMERIC, LC_TIME, LC_MONETARY, LC_MESSAGES}) {
        if (std::setlocale(category, "") == nullptr) {
            std::setlocale(LC_ALL, "C");
            return;
        }
    }
}

}  // namespace

// The table needs no Qt; the report does. A --pdf run is handed whole to the PDF writer
// program, so that the table's runs never load the Qt libraries.
int main(int argc, char** argv) {
    UseUserLocale();
    velmora::ReadMoneyFormat();
    velmora::SetArithmeticContext();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "batch")
        return velmora::cli::RunBatch({args.begin() + 1, args.end()}, std::cin, std::cout,
                                      std::cerr);
    if (!args.empty() && args[0] == "pia")
        return velmora::cli::RunPiaCli({args.begin() + 1, args.end()}, std::cin, std::cout,
                                       std::cerr, velmora::cli::Today());
#ifdef VELMORA_PDF_HELPER
    // Read as the run reads them (the locale's decimal mark), so both agree on --pdf.
    if (velmora::cli::AsksForReportPdf(args)) {
        const std::string failure = velmora::cli::ExecProgram(
            velmora::cli::PdfHelperPath(VELMORA_PDF_HELPER, VELMORA_PDF_HELPER_DIR), argv);
        std::cerr << "velmora-cli: " << velmora::WithFullStop(failure) << "\n";
        return velmora::cli::kExitFailed;
    }
#endif
#ifdef VELMORA_PDF_HELPER
    // Offers the report options for --help and refusals; a --pdf run never comes here.
    const auto handedOff = [](const std::string&, const velmora::TScenarioRec&,
                              const velmora::TResultTable&) {
        return std::string("the report is written by the PDF writer program");
    };
    const auto summaryHandedOff = [](const velmora::cli::PlanRequest&,
                                     const velmora::planner::Plan&) {
        return std::string("the summary is written by the PDF writer program");
    };
    return velmora::cli::RunCli(args, std::cout, std::cerr, handedOff, summaryHandedOff);
#else
    return velmora::cli::RunCli(args, std::cout, std::cerr);
#endif
}
