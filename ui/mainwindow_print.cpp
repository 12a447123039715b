// The Print command: the report in its modal preview, showing the entry fields as they
// stand and the table of the last calculation.
#include "report/preview/breakevenreport.h"
#include "ui/fieldinputs.h"
#include "ui/main.h"

namespace velmora {

BreakEvenReport& TfrmMain::rptSS() {
    if (!rptSS_) {
        rptSS_ = std::make_shared<BreakEvenReport>(std::make_unique<EntryFieldInputs>(fields_),
                                                   *resultTable_, ReportCursor);
    }
    return *rptSS_;
}

void TfrmMain::Print1Click() {
    rptSS().Preview(this);
}

}  // namespace velmora
