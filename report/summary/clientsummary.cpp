#include "report/summary/clientsummary.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cstdio>
#include <stdexcept>

#include "engine/moneytext.h"
#include "planner/plantable.h"
#include "report/bandreport.h"
#include "report/reportoutput.h"
#include "report/summary/breakevenchart.h"
#include "scenario/fileerror.h"
#include "scenario/scenariofile.h"

namespace velmora {

namespace {

using planner::AgeRules;

std::string Percent4(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4Lf %%", value);
    return buffer;
}

std::string MonthYearText(std::int32_t year, std::int32_t month) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d", static_cast<int>(year),
                  static_cast<int>(month));
    return buffer;
}

QPageLayout SummaryPageLayout() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0));
}

// Sizes below are in hundredths of an inch on an 11 x 8.5 inch page.
constexpr double kPageWidth = 1100;
constexpr double kPageHeight = 850;
constexpr double kMargin = 50;

QFont Font(double points, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(points * 100 / 72 + 0.5));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void PaintChart(QPainter& painter, const QRectF& target, const planner::BreakEvenChartData& data) {
    // The chart is laid out at screen resolution (96 per inch) and scaled onto the page.
    const QRectF source(0, 0, target.width() * 0.96, target.height() * 0.96);
    QGraphicsScene scene;
    auto* chart = new QChart();
    scene.addItem(chart);
    chart->setGeometry(source);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundVisible(false);
    FillBreakEvenChart(*chart, data);
    scene.setSceneRect(source);
    // The chart lays out its axes, labels and legend in posted events.
    QCoreApplication::sendPostedEvents();
    if (chart->layout() != nullptr)
        chart->layout()->activate();
    painter.save();
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRect(target);
    scene.render(&painter, target, source);
    painter.restore();
}

}  // namespace

ClientSummary BuildClientSummary(const ClientSummaryInputs& in) {
    if (in.plan == nullptr || in.plan->options.empty())
        throw std::invalid_argument("The summary needs a plan");
    const planner::Plan& plan = *in.plan;
    const planner::PlanInputs& p = in.planInputs;
    ClientSummary s;
    s.title = "Social Security Claiming Summary";
    s.clientLine = "Client: " + (in.clientName.empty() ? std::string("(no name)") : in.clientName);
    s.dateLine = "Date: " + in.dateText;
    if (!in.preparer.empty())
        s.preparerLine = "Prepared by: " + in.preparer;

    s.inputLines = {
        "Born " + planner::DateText(p.born) + ", " +
            (p.sex == planner::Sex::Male ? "male" : "female"),
        "Benefit at full retirement age: " + MoneyText(p.fraBenefit, 2) + " a month (" +
            std::to_string(p.asOf.year) + " dollars)",
        "Full retirement age " + planner::AgeText(plan.fraAgeMonths) + ", reached " +
            planner::MonthText(plan.fraMonth) + "; age 70 reached " +
            planner::MonthText(plan.month70),
        "As of " + planner::DateText(p.asOf) + "; COLA " + Percent4(p.cola) + ", discount rate " +
            Percent4(p.rate),
    };

    const bool calculated = in.pair && in.table != nullptr && in.table->CumEarly.size() > 1;
    s.chart = calculated
                  ? planner::ChartDataFrom(*in.table, planner::SurvivalBasis{p.born, p.sex, p.asOf})
                  : planner::BreakEvenChartData{};
    if (calculated) {
        const ScheduleInputs& pair = *in.pair;
        s.pairLine = "Compared: early start " + MonthYearText(pair.EarlyYear, pair.EarlyMonth) +
                     " at " + MoneyText(pair.EarlyBenefit, 2) + " a month, later start " +
                     MonthYearText(pair.LaterYear, pair.LaterMonth) + " at " +
                     MoneyText(pair.LaterBenefit, 2) + " a month.";
        if (s.chart.breakEvenFound) {
            const int year = s.chart.breakEvenYear;
            const AgeRules age(p.born);
            // The same chance as the plan's break-even column.
            const long double past = planner::ChanceAliveAtEndOfYear(p, year);
            s.breakEvenLine =
                "Break-even year " + std::to_string(year) + " (age " +
                std::to_string(age.AgeAtEndOfYear(year)) +
                " at its end); chance of living past it: " + planner::ChancePercentText(past) +
                " %.";
        } else {
            s.breakEvenLine =
                "No break-even: the later start does not overtake the early one within the "
                "years calculated.";
        }
    } else {
        s.pairLine = "No calculation of two starts yet.";
        s.breakEvenLine = "The break-even year needs a calculation of the two starts.";
    }

    s.columnTitles.assign(planner::kPlanColumnTitles.begin(), planner::kPlanColumnTitles.end());
    for (const std::size_t i : planner::SummaryOptions(plan)) {
        if (i == plan.best)
            s.bestRow = static_cast<int>(s.rows.size());
        s.rows.push_back(planner::PlanRowTexts(plan, i));
    }
    s.lifeTableLine = "Survival: " + plan.lifeTableEdition + ".";
    s.note =
        "Estimates, not a promise of benefits: today's benefit rules, the benefit growing by the "
        "COLA each year, values discounted at the rate shown, survival by the life table named.";
    return s;
}

void ClientSummaryDocument::SetUpPrinter(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(SummaryPageLayout());
    printer.setDocName(DocumentName());
}

void ClientSummaryDocument::PaintPage(QPainter& painter, QPagedPaintDevice& device, int) {
    PaintClientSummary(painter, device, summary_);
}

void PaintClientSummary(QPainter& painter, QPagedPaintDevice& device, const ClientSummary& s) {
    painter.save();
    const double scale = std::min(device.width() / kPageWidth, device.height() / kPageHeight);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);

    const double right = kPageWidth - kMargin;
    const double width = right - kMargin;
    double y = kMargin;
    painter.setFont(Font(18, true));
    painter.drawText(QRectF(kMargin, y, width, 34), Qt::AlignLeft | Qt::AlignVCenter, Q(s.title));
    y += 40;
    painter.setFont(Font(12, true));
    painter.drawText(QRectF(kMargin, y, width * 0.7, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     Q(s.clientLine));
    painter.setFont(Font(12));
    painter.drawText(QRectF(kMargin, y, width, 22), Qt::AlignRight | Qt::AlignVCenter,
                     Q(s.dateLine));
    y += 22;
    if (!s.preparerLine.empty()) {
        painter.setFont(Font(10));
        painter.drawText(QRectF(kMargin, y, width, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         Q(s.preparerLine));
    }
    y += 24;
    painter.setPen(QPen(QColor(27, 122, 169), 3));
    painter.drawLine(QPointF(kMargin, y), QPointF(right, y));
    y += 12;

    // The chart on the left, the figures and the break-even on the right.
    const QRectF chartBox(kMargin, y, 560, 330);
    PaintChart(painter, chartBox, s.chart);
    const double textLeft = chartBox.right() + 24;
    const double textWidth = right - textLeft;
    double ty = y;
    painter.setPen(Qt::black);
    painter.setFont(Font(10));
    for (const std::string& line : s.inputLines) {
        QRectF box(textLeft, ty, textWidth, 200);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, Q(line));
        painter.drawText(box, Qt::TextWordWrap, Q(line));
        ty += used.height() + 6;
    }
    ty += 10;
    for (const auto& [text, bold] :
         {std::pair{s.pairLine, false}, std::pair{s.breakEvenLine, true}}) {
        painter.setFont(Font(bold ? 13 : 10, bold));
        QRectF box(textLeft, ty, textWidth, 200);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, Q(text));
        painter.drawText(box, Qt::TextWordWrap, Q(text));
        ty += used.height() + 10;
    }
    y = chartBox.bottom() + 18;

    // The options: month and age to the left, figures to the right; the best row filled.
    static constexpr double kWidths[] = {100, 90, 130, 90, 100, 90, 110, 150, 60};
    const double rowHeight = 19;
    const auto drawRow = [&](const std::vector<std::string>& cells, bool header) {
        double x = kMargin;
        for (std::size_t c = 0; c < cells.size() && c < std::size(kWidths); ++c) {
            const Qt::Alignment align = header ? Qt::AlignCenter
                                               : ((c < 2    ? Qt::AlignLeft
                                                   : c == 8 ? Qt::AlignHCenter
                                                            : Qt::AlignRight) |
                                                  Qt::AlignVCenter);
            painter.drawText(QRectF(x + 6, y, kWidths[c] - 12, rowHeight), align, Q(cells[c]));
            x += kWidths[c];
        }
        y += rowHeight;
    };
    double tableWidth = 0;
    for (const double w : kWidths)
        tableWidth += w;
    painter.fillRect(QRectF(kMargin, y, tableWidth, rowHeight), QColor(64, 173, 225));
    painter.setFont(Font(9.5, true));
    drawRow(s.columnTitles, true);
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        const bool best = static_cast<int>(r) == s.bestRow;
        if (best) {
            painter.fillRect(QRectF(kMargin, y, tableWidth, rowHeight), QColor(255, 236, 160));
        } else if (r % 2 == 1) {
            painter.fillRect(QRectF(kMargin, y, tableWidth, rowHeight), QColor(236, 244, 248));
        }
        painter.setFont(Font(9.5, best));
        drawRow(s.rows[r], false);
    }
    painter.setPen(QPen(QColor(28, 130, 179), 1));
    painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + tableWidth, y));

    painter.setPen(Qt::black);
    painter.setFont(Font(9));
    painter.drawText(QRectF(kMargin, kPageHeight - kMargin - 40, width, 18),
                     Qt::AlignLeft | Qt::AlignVCenter, Q(s.lifeTableLine));
    painter.setFont(Font(8, false, true));
    painter.drawText(QRectF(kMargin, kPageHeight - kMargin - 20, width, 18),
                     Qt::AlignLeft | Qt::AlignVCenter, Q(s.note));
    painter.restore();
}

void WriteClientSummaryPdf(const ClientSummary& summary, const std::string& path) {
    QByteArray document;
    try {
        QBuffer buffer(&document);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(QStringLiteral("Client Summary"));
        writer.setCreator(QStringLiteral("Velmora Analysis"));
        writer.setPageLayout(SummaryPageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            throw std::runtime_error("The PDF file could not be started.");
        PaintClientSummary(painter, writer, summary);
        painter.end();
    } catch (...) {
        ThrowReportFailure(std::current_exception());
    }
    MapSpacesToSpaces(document);
    try {
        SaveFileBytes(path, std::string_view(document.constData(),
                                             static_cast<std::size_t>(document.size())));
    } catch (const FileError& e) {
        throw ReportError(FileFailureText(path, e));
    }
}

}  // namespace velmora
