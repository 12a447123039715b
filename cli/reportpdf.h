#pragma once

#include <string>

namespace velmora {
struct TScenarioRec;
struct TResultTable;
}  // namespace velmora

namespace velmora::cli {

/// Writes the report of a calculation, as the preview would print it, into a PDF file,
/// without a display: the platform is offscreen unless QT_QPA_PLATFORM names another.
/// The file appears only when complete. Gives the error message, or an empty text.
std::string WriteReportPdfFile(const std::string& path, const TScenarioRec& scenario,
                               const TResultTable& table);

}  // namespace velmora::cli
