// The Print command: the report in its modal preview, showing the entry fields as they
// stand and the table of the last calculation.
#include <QPrinter>

#include "report/preview/breakevenreport.h"
#include "ui/fieldinputs.h"
#include "ui/main.h"

namespace velmora {

BreakEvenReport& TfrmMain::rptSS() {
    if (!rptSS_) {
        rptSS_ = std::make_shared<BreakEvenReport>(std::make_unique<EntryFieldInputs>(fields_),
                                                   *resultTable_, ReportCursor);
        // The printer chosen in Printer Setup is the one the print dialog offers.
        rptSS_->services.choosePrinter = [this, choose = rptSS_->services.choosePrinter](
                                             QPrinter& printer, int current, int count,
                                             QWidget* parent) {
            if (setupPrinter_ && !setupPrinter_->printerName().isEmpty())
                printer.setPrinterName(setupPrinter_->printerName());
            return choose(printer, current, count, parent);
        };
    }
    return *rptSS_;
}

void TfrmMain::Print1Click() {
    // The report shows the inputs beside the table: both must be of one calculation.
    if (!ResultsMatchInputs()) {
        const Answer answer = questionAsker_
                                  ? questionAsker_(this, Question::CalculateBeforePrint)
                                  : AskInMessageBox(this, Question::CalculateBeforePrint);
        if (answer != Answer::Calculate)
            return;
        btnCalculateClick();
    }
    rptSS().Preview(this);
}

}  // namespace velmora
