#include "report/breakevenreport.h"

#include <QDate>

#include "engine/moneytext.h"

#include "report/reportinputs.h"
#include "report/reportoutput.h"
#include "report/rptss.h"

namespace velmora {

ReportEnvironment SystemReportEnvironment() {
    ReportEnvironment environment;
    // From the C library's locale, as the money texts are.
    environment.dateText = [] {
        const QDate today = QDate::currentDate();
        return RegionalShortDate(today.year(), today.month(), today.day());
    };
    return environment;
}

BreakEvenReport::BreakEvenReport(std::unique_ptr<ReportInputs> inputs, const TResultTable& table,
                                 std::int32_t& reportCursor, ReportEnvironment environment)
    : inputs_(std::move(inputs)),
      source_(*inputs_, table, reportCursor),
      report_(RptSSLayout(), source_, std::move(environment)) {}

void BreakEvenReport::Preview(QWidget* parent) {
    PrintPreviewDialog dialog(report_, services, parent);
    if (OnPreviewFormCreate)
        OnPreviewFormCreate(dialog);
    if (runPreview) {
        runPreview(dialog);
    } else {
        dialog.exec();
    }
    if (dialog.Failure())
        ThrowReportFailure(dialog.Failure());
}

}  // namespace velmora
