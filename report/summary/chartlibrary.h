#pragma once

// The break-even chart's drawing, with Qt Charts, lives in a library of its own that the
// program loads when it first draws a chart (the Planner page, the client summary): loading
// Qt Charts and the OpenGL libraries it brings at every start slowed the window's start by
// a few milliseconds, for a chart that is drawn only on request.

#include <QString>
#include <string>
#include <vector>

#include "planner/chartdata.h"
#include "report/summary/breakevenchart.h"

class QFont;
class QPainter;
class QRectF;
class QWidget;

namespace velmora {

/// What the chart library does, as plain functions.
struct ChartLibrary {
    /// A chart view (a QChartView) under parent with an empty chart, for the screen.
    QWidget* (*makeView)(QWidget* parent, const QFont& titleFont);
    /// Fills a view that makeView made anew, in the compact form for the screen.
    void (*fillView)(QWidget* view, const planner::BreakEvenChartData& data, ChartMoneyText money);
    /// The chart drawn into target on a page (laid out at 96 per inch and scaled), framed.
    void (*paint)(QPainter& painter, const QRectF& target, const planner::BreakEvenChartData& data,
                  ChartMoneyText money);
};

/// The library's one entry point, which the loader looks up by this name.
inline constexpr const char* kChartLibraryEntry = "velmora_chart_library";

/// The library, loaded from the first of the candidate files that loads; without one, the
/// reason, naming every file tried.
struct ChartLibraryLoad {
    const ChartLibrary* library = nullptr;
    std::string failure;
};
ChartLibraryLoad LoadChartLibrary(const std::vector<QString>& candidates);

/// Where the program looks for the library: beside an installed program, then in the
/// build tree.
std::vector<QString> ChartLibraryCandidates();

/// The library, loaded on first use. Throws std::runtime_error with the reason when it
/// cannot be loaded.
const ChartLibrary& Charts();

}  // namespace velmora
