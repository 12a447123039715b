#include "report/breakevenreport.h"

#include <QDate>
#include <QLocale>

#include "report/reportinputs.h"
#include "report/reportoutput.h"
#include "report/rptss.h"

namespace velmora {

std::string ShortDateText(const QLocale& locale, const QDate& date) {
    // The C/POSIX locale has no date format of its own; like the money text, it takes
    // the United States settings there.
    if (locale.language() == QLocale::C)
        return date.toString(QStringLiteral("M/d/yyyy")).toStdString();
    return locale.toString(date, QLocale::ShortFormat).toStdString();
}

ReportEnvironment SystemReportEnvironment() {
    ReportEnvironment environment;
    environment.dateText = [] { return ShortDateText(QLocale::system(), QDate::currentDate()); };
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
