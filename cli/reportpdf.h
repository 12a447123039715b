#pragma once

#include <string>

namespace velmora {
struct TScenarioRec;
struct TResultTable;
}  // namespace velmora

namespace velmora::planner {
struct Plan;
}

namespace velmora::cli {

struct PlanRequest;

/// Writes the report of a calculation, as the preview would print it, into a PDF file,
/// without a display: the platform is offscreen unless QT_QPA_PLATFORM names another.
/// The file appears only when complete. Gives the error message, or an empty text.
std::string WriteReportPdfFile(const std::string& path, const TScenarioRec& scenario,
                               const TResultTable& table);

/// Writes the one-page client summary of a plan into a PDF file, as the window's Print
/// Summary prints it, without a display. The chart compares the earliest month with
/// planner::SummaryLaterOption. Gives the error message, or an empty text.
std::string WriteSummaryPdfFile(const PlanRequest& request, const planner::Plan& plan);

}  // namespace velmora::cli
