#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "report/bandreport.h"
#include "report/printpreview.h"
#include "report/scenariopipeline.h"

class QDate;
class QLocale;
class QWidget;

namespace velmora {

class ReportInputs;
struct TResultTable;

/// Today in the user's short date format, and the process-wide money settings.
ReportEnvironment SystemReportEnvironment();

/// The report rptSS with its data source jitPipelineSS, living as long as its owner
/// (the main window, or the command-line program). The record number is the owner's.
class BreakEvenReport {
  public:
    BreakEvenReport(std::unique_ptr<ReportInputs> inputs, const TResultTable& table,
                    std::int32_t& reportCursor,
                    ReportEnvironment environment = SystemReportEnvironment());
    BreakEvenReport(const BreakEvenReport&) = delete;
    BreakEvenReport& operator=(const BreakEvenReport&) = delete;

    ScenarioPipeline& jitPipelineSS() { return source_; }
    BandReport& rptSS() { return report_; }

    /// Runs the report into its modal preview and returns when the preview closes.
    /// A failure while pages were produced is thrown as ReportError with its message.
    void Preview(QWidget* parent);

    /// Replaceable for tests: the printing services, the preview-creation handler and
    /// the modal run of the preview (exec by default).
    PrintServices services = PrintServices::System();
    std::function<void(PrintPreviewDialog&)> OnPreviewFormCreate = rptSSPreviewFormCreate;
    std::function<void(PrintPreviewDialog&)> runPreview;

  private:
    std::unique_ptr<ReportInputs> inputs_;
    ScenarioPipeline source_;
    BandReport report_;  // after the source: destroyed first, closing the source
};

}  // namespace velmora
