#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QPainter;

namespace velmora {

struct ElementFont;
struct ReportLayout;
struct ReportPage;

/// Points to thousandths of a millimetre.
double PointsToUnits(double points);

/// A layout font sized in thousandths of a millimetre, so that text measures the
/// same on every device and the lines of a wrapped text break alike on screen and paper.
QFont ReportFont(const ElementFont& font);

/// Draws a produced page. The painter's origin must be the paper's top-left corner;
/// the device's resolution gives the scale. One function for preview, printer and PDF.
void PaintReportPage(QPainter& painter, const ReportLayout& layout, const ReportPage& page);

}  // namespace velmora
