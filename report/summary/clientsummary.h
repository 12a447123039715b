#pragma once

// The one-page client summary: the client and the date, the break-even chart, the
// claiming options with the best one marked, the break-even year of the two starts
// being compared with the chance of living past it, the life table and a note on what
// the figures assume. Landscape Letter, through the print preview or into a PDF file.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "engine/schedule.h"
#include "planner/chartdata.h"
#include "planner/household.h"
#include "planner/optimiser.h"
#include "planner/plan.h"
#include "report/preview/printpreview.h"

namespace velmora {

/// What the summary is made from.
struct ClientSummaryInputs {
    std::string clientName;
    std::string preparer;
    std::string dateText;
    planner::PlanInputs planInputs;
    const planner::Plan* plan = nullptr;
    /// The two starts compared and their calculated table, when there is a calculation.
    std::optional<ScheduleInputs> pair;
    const TResultTable* table = nullptr;
};

/// The summary's texts and chart data, ready to paint.
struct ClientSummary {
    std::string title;
    std::string clientLine;
    std::string dateLine;
    std::string preparerLine;             // empty without a preparer
    std::vector<std::string> inputLines;  // the client's figures, one per line
    std::string pairLine;                 // the two starts compared
    std::string breakEvenLine;            // the year and the odds, or why there is none
    std::vector<std::string> columnTitles;
    std::vector<std::vector<std::string>> rows;  // the listed options
    int bestRow = -1;                            // index into rows
    std::string lifeTableLine;
    std::string note;
    planner::BreakEvenChartData chart;
    /// The plan's own summary: the references' values and what the survivor would receive.
    std::vector<std::string> referenceLines;
    std::string survivorLine;
    /// A couple: the grid of pairs instead of the option table; rows then hold the grid's
    /// rows (the client's age first), and bestCell the best pair's row and column.
    bool pairGrid = false;
    std::pair<int, int> bestCell{-1, -1};
};

/// What the summary of the Planner page's own result is made from: never the
/// calculation of "Data Input".
struct HouseholdSummaryInputs {
    std::string clientName;
    std::string spouseName;
    std::string preparer;
    std::string dateText;
    planner::HouseholdInputs inputs;
    /// One client: the plan, and the row chosen (else the best).
    const planner::Plan* plan = nullptr;
    std::optional<std::size_t> chosenOption;
    /// A couple: the search, and the pair chosen (else the best).
    const planner::CoupleSearch* couple = nullptr;
    std::optional<planner::ChoiceValue> chosen;
};

/// The summary of a plan or a couple's search; std::invalid_argument without either.
ClientSummary BuildHouseholdSummary(const HouseholdSummaryInputs& inputs);

ClientSummary BuildClientSummary(const ClientSummaryInputs& inputs);

/// The summary as a one-page preview document.
class ClientSummaryDocument final : public PreviewDocument {
  public:
    explicit ClientSummaryDocument(ClientSummary summary) : summary_(std::move(summary)) {}
    void SetUpPrinter(QPrinter& printer) override;
    QString DocumentName() const override { return QStringLiteral("Client Summary"); }
    int CountPages() override { return 1; }
    int PageCount() const override { return 1; }
    void PaintPage(QPainter& painter, QPagedPaintDevice& device, int index) override;
    const ClientSummary& Summary() const { return summary_; }

  private:
    ClientSummary summary_;
};

/// Paints the summary on a landscape Letter page of the device.
void PaintClientSummary(QPainter& painter, QPagedPaintDevice& device, const ClientSummary& summary);

/// Writes the summary into a PDF file, saved as the report's PDF is (it appears only when
/// complete, the name taken byte for byte); ReportError on failure. Needs a QApplication (the chart
/// is drawn by Qt Charts), on any platform, offscreen included.
void WriteClientSummaryPdf(const ClientSummary& summary, const std::string& path);

}  // namespace velmora
