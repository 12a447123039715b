#include "report/reportpainter.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>
#include <string>
#include <vector>

#include "report/bandreport.h"
#include "report/pagegeometry.h"
#include "report/reportlayout.h"

namespace velmora {

namespace {

constexpr double kUnitsPerInch = 25400.0;

// Window text is meant for the window's background; paper is white, so a light
// window-text colour (a dark desktop theme) would print invisibly and gives way to black.
QColor PaperColor(TextColor color) {
    switch (color) {
        case TextColor::Blue:
            return QColor(0, 0, 255);
        case TextColor::WindowText: {
            if (!qGuiApp)
                return Qt::black;
            const QColor c =
                QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText);
            return c.lightness() < 128 ? c : QColor(Qt::black);
        }
        case TextColor::Black:
            break;
    }
    return Qt::black;
}

double AlignedX(const ReportElement& e, double textWidth) {
    switch (e.align) {
        case TextAlign::Center:
            return e.left + (e.width - textWidth) / 2.0;
        case TextAlign::Right:
            return e.left + e.width - textWidth;
        case TextAlign::Left:
            break;
    }
    return e.left;
}

// Auto-sized or not, a line keeps its place by the alignment: the left edge, the
// centre or the right edge of the stored box. A single line is never cut, so that a
// number wider than its column still prints whole. An auto-sized wrapped text takes
// the height of all its lines; one with a fixed box prints the lines that lie mostly
// inside it (at least one). A word wider than the box is cut at its edge.
void DrawText(QPainter& painter, const ReportElement& e, double bandLeft, double bandTop,
              const QString& text) {
    if (text.isEmpty())
        return;
    const QFont font = ReportFont(e.font);
    const QFontMetricsF metrics(font);
    painter.save();
    painter.setFont(font);
    painter.setPen(PaperColor(e.color));
    QStringList lines{text};
    if (e.wordWrap) {
        lines = WrapText(text, metrics, e.width);
        if (!e.autoSize) {
            const auto fitting =
                std::max<qsizetype>(1, static_cast<qsizetype>(e.height / metrics.height() + 0.5));
            if (lines.size() > fitting)
                lines = lines.mid(0, fitting);
        }
        painter.setClipRect(QRectF(bandLeft + e.left, bandTop + e.top, e.width,
                                   static_cast<double>(lines.size()) * metrics.height()));
    }
    double top = bandTop + e.top;
    for (const QString& line : lines) {
        const double x = bandLeft + AlignedX(e, metrics.horizontalAdvance(line));
        painter.drawText(QPointF(x, top + metrics.ascent()), line);
        top += metrics.height();
    }
    painter.restore();
}

void DrawGraphic(QPainter& painter, const ReportElement& e, double bandLeft, double bandTop) {
    const double pen = PointsToUnits(e.penPoints);
    const double left = bandLeft + e.left;
    const double top = bandTop + e.top;
    if (e.kind == ElementKind::Shape) {
        painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(left, top, e.width, e.height));
        painter.setBrush(Qt::NoBrush);
    } else {
        // The stroke lies along the top edge of the box, inside it.
        painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(left, top + pen / 2), QPointF(left + e.width, top + pen / 2));
    }
}

// Where an auto-sized wrapped text ends: below its stored box when it has more lines
// than the box holds.
double GrownBottom(const ReportElement& e, const QString& text) {
    const double stored = e.top + e.height;
    if (!e.wordWrap || !e.autoSize || text.isEmpty())
        return stored;
    const QFontMetricsF metrics(ReportFont(e.font));
    const auto lines = static_cast<double>(WrapText(text, metrics, e.width).size());
    return std::max(stored, e.top + lines * metrics.height());
}

// How far each text of a band moves down: a text that grows below its box pushes the
// texts that begin between its box and its new bottom (the client name's second line
// pushes the description and its label), so that no two texts print over each other.
std::vector<double> PushedDown(const ReportBand& band, const std::vector<std::string>& texts) {
    const auto isText = [](const ReportElement& e) {
        return e.kind != ElementKind::Shape && e.kind != ElementKind::Line;
    };
    std::vector<double> offsets(band.elements.size(), 0.0);
    for (std::size_t i = 0; i < band.elements.size() && i < texts.size(); ++i) {
        const ReportElement& grown = band.elements[i];
        if (!isText(grown))
            continue;
        const double bottom = GrownBottom(grown, QString::fromStdString(texts[i]));
        for (std::size_t j = 0; j < band.elements.size(); ++j) {
            const ReportElement& below = band.elements[j];
            if (j != i && isText(below) && below.top >= grown.top + grown.height &&
                below.top < bottom)
                offsets[j] = std::max(offsets[j], bottom - below.top);
        }
    }
    return offsets;
}

}  // namespace

double PointsToUnits(double points) {
    return points * kUnitsPerInch / 72.0;
}

QFont ReportFont(const ElementFont& style) {
    QFont font(QString::fromStdString(style.family));
    font.setPixelSize(static_cast<int>(PointsToUnits(style.pointSize) + 0.5));
    font.setBold(style.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QStringList WrapText(const QString& text, const QFontMetricsF& metrics, double width) {
    QStringList lines;
    QString line;
    bool lineStarted = false;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (!lineStarted) {
            line = word;
            lineStarted = true;
            continue;
        }
        const QString candidate = line + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width) {
            line = candidate;
        } else {
            lines.append(line);
            line = word;
        }
    }
    if (lineStarted)
        lines.append(line);
    return lines;
}

void PaintReportPage(QPainter& painter, const ReportLayout& layout, const ReportPage& page) {
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(device->logicalDpiX() / kUnitsPerInch, device->logicalDpiY() / kUnitsPerInch);
    const PageGeometry geometry(layout);
    for (const PlacedBand& band : page.bands) {
        const ReportBand& bandLayout = layout.Band(band.kind);
        const std::vector<double> offsets = PushedDown(bandLayout, band.texts);
        for (std::size_t i = 0; i < bandLayout.elements.size(); ++i) {
            const ReportElement& e = bandLayout.elements[i];
            if (e.kind == ElementKind::Shape || e.kind == ElementKind::Line) {
                DrawGraphic(painter, e, geometry.BandLeft(), band.top);
            } else if (i < band.texts.size()) {
                DrawText(painter, e, geometry.BandLeft(), band.top + offsets[i],
                         QString::fromStdString(band.texts[i]));
            }
        }
    }
    painter.restore();
}

}  // namespace velmora
