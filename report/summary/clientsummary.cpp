#include "report/summary/clientsummary.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cstdio>
#include <stdexcept>

#include "engine/moneytext.h"
#include "planner/mortality.h"
#include "planner/plantable.h"
#include "report/bandreport.h"
#include "report/reportoutput.h"
#include "report/summary/chartlibrary.h"
#include "report/summary/householdview.h"
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

namespace {

std::string PersonLine(const std::string& role, const planner::PersonInputs& p,
                       const planner::Date& asOf) {
    std::string line = role + ": born " + planner::DateText(p.born) + ", " +
                       (p.sex == planner::Sex::Male ? "male" : "female") +
                       "; benefit at full retirement age " +
                       MoneyText(static_cast<long double>(p.piaCents) / 100, 2) + " a month (" +
                       std::to_string(asOf.year) + " dollars)";
    if (p.claimed)
        line += "; receiving benefits since " + planner::MonthText(*p.claimed);
    return line;
}

std::string FactorWords(long double factor) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2Lf", factor);
    return buffer;
}

std::string Signed(long double amount) {
    return MoneyText(amount, 0);
}

}  // namespace

ClientSummary BuildHouseholdSummary(const HouseholdSummaryInputs& in) {
    if ((in.plan == nullptr || in.plan->options.empty()) && in.couple == nullptr)
        throw std::invalid_argument("The summary needs a plan");
    const planner::HouseholdInputs& h = in.inputs;
    const bool couple = in.couple != nullptr && h.spouse.has_value();
    ClientSummary s;
    s.title = "Social Security Claiming Summary";
    std::string names = in.clientName.empty() ? std::string("(no name)") : in.clientName;
    if (couple)
        names += " and " + (in.spouseName.empty() ? std::string("spouse") : in.spouseName);
    s.clientLine = (couple ? "Clients: " : "Client: ") + names;
    s.dateLine = "Date: " + in.dateText;
    if (!in.preparer.empty())
        s.preparerLine = "Prepared by: " + in.preparer;
    s.inputLines.push_back(PersonLine("Client", h.client, h.asOf));
    if (couple)
        s.inputLines.push_back(PersonLine("Spouse", *h.spouse, h.asOf));
    s.inputLines.push_back("As of " + planner::DateText(h.asOf) + "; COLA " + Percent4(h.cola) +
                           ", discount rate " + Percent4(h.rate));

    const planner::HouseholdModel model(h);
    if (couple) {
        const planner::CoupleSearch& search = *in.couple;
        const planner::ChoiceValue chosen = in.chosen ? *in.chosen : search.best;
        const bool isBest =
            chosen.client == search.best.client && chosen.spouse == search.best.spouse;
        s.pairLine = std::string(isBest ? "Best pair: " : "Chosen pair: ") +
                     PairWords(h, chosen.client, *chosen.spouse) + ".";
        s.breakEvenLine = "Expected value " + MoneyText(chosen.value, 0);
        if (!isBest)
            s.referenceLines.push_back(
                "Best pair: " + PairWords(h, search.best.client, *search.best.spouse) + ", " +
                MoneyText(search.best.value, 0));
        for (const ReferenceLine& line : References(search))
            s.referenceLines.push_back(line.name + ": " + MoneyText(line.choice.value, 0) + ", " +
                                       MoneyText(-line.difference, 0) + " less than the best");
        s.chart = ExpectedValueChart(model, chosen.client, chosen.spouse);
        // What the survivor would receive: after a death in the month after both claimed.
        const planner::Month after{std::max(chosen.client.index, chosen.spouse->index) + 1};
        std::string survivor;
        for (const planner::Who dead : {planner::Who::Client, planner::Who::Spouse}) {
            const auto rows =
                model.Payments(chosen.client, chosen.spouse, planner::Death{dead, after});
            for (const planner::PaymentRow& row : rows) {
                if (row.benefitMonth.index <= after.index)
                    continue;
                const planner::PersonPayment& paid =
                    dead == planner::Who::Client ? row.spouse : row.client;
                survivor += std::string(survivor.empty() ? "" : " ") + "If the " +
                            (dead == planner::Who::Client ? "client" : "spouse") + " died in " +
                            planner::MonthText(after) + ", the " +
                            (dead == planner::Who::Client ? "spouse" : "client") +
                            " would receive " +
                            MoneyText(static_cast<long double>(paid.dollars), 0) +
                            " a month from " + planner::MonthText(row.benefitMonth) + " (" +
                            planner::PaymentKindText(paid.kind) + ").";
                break;
            }
        }
        s.survivorLine = survivor.empty() ? "The survivor receives the larger of their own "
                                            "benefit and the survivor benefit."
                                          : survivor;
        s.pairGrid = true;
        s.columnTitles.push_back("Client \\ spouse");
        for (int a = 0; a < kGridAges; ++a)
            s.columnTitles.push_back(std::to_string(kGridFirstAge + a));
        const auto cells = PairCells(search, h);
        for (int r = 0; r < kGridAges; ++r) {
            std::vector<std::string> row{std::to_string(kGridFirstAge + r)};
            for (int c = 0; c < kGridAges; ++c) {
                const PairCell& cell =
                    cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                const bool best = cell.possible && cell.client == search.best.client &&
                                  cell.spouse == *search.best.spouse;
                if (best)
                    s.bestCell = {r, c};
                row.push_back(!cell.possible ? "-"
                              : best         ? "best"
                                             : Signed(cell.value - search.best.value));
            }
            s.rows.push_back(std::move(row));
        }
    } else {
        const planner::Plan& plan = *in.plan;
        const std::size_t chosen = in.chosenOption.value_or(plan.best);
        const planner::PlanOption& option = plan.options[chosen];
        s.pairLine = std::string(chosen == plan.best ? "Best month: " : "Chosen month: ") +
                     "claiming " + planner::MonthText(option.claim) + " at " +
                     planner::AgeText(option.ageMonths) + ", " +
                     MoneyText(MoneyToReal(option.monthlyBenefit), 2) + " a month.";
        s.breakEvenLine = "Expected value " + MoneyText(option.expectedValue, 0);
        // The break-even of this month against the earliest, from the plan's own schedule.
        if (option.breakEven == planner::BreakEven::Year) {
            s.referenceLines.push_back(
                "Break-even year " + std::to_string(option.breakEvenYear) +
                " against the earliest month (age " + std::to_string(option.ageAtBreakEven) +
                " at its end); chance of living past it: " +
                planner::ChancePercentText(option.chanceAliveAtBreakEven) + " %.");
        } else if (option.breakEven == planner::BreakEven::Never) {
            s.referenceLines.push_back(
                "No break-even against the earliest month within the plan's years.");
        }
        if (chosen != plan.best)
            s.referenceLines.push_back(
                "Best month: " + planner::MonthText(plan.options[plan.best].claim) + ", " +
                MoneyText(plan.options[plan.best].expectedValue, 0));
        const std::pair<const char*, std::size_t> references[] = {
            {"Earliest month", 0},
            {"At FRA", static_cast<std::size_t>(-1)},
            {"At 70", plan.options.size() - 1},
        };
        for (auto [name, index] : references) {
            if (index == static_cast<std::size_t>(-1)) {
                for (std::size_t i = 0; i < plan.options.size(); ++i)
                    if (plan.options[i].isFraMonth)
                        index = i;
                if (index == static_cast<std::size_t>(-1))
                    continue;
            }
            const planner::PlanOption& o = plan.options[index];
            s.referenceLines.push_back(
                std::string(name) + " (" + planner::MonthText(o.claim) +
                "): " + MoneyText(o.expectedValue, 0) + ", " +
                MoneyText(plan.options[plan.best].expectedValue - o.expectedValue, 0) +
                " less than the best");
        }
        s.chart = ExpectedValueChart(model, option.claim, std::nullopt);
        s.survivorLine = "Single client: no survivor benefit is counted.";
        s.columnTitles.assign(planner::kPlanColumnTitles.begin(), planner::kPlanColumnTitles.end());
        for (const std::size_t i : planner::SummaryOptions(plan)) {
            if (i == plan.best)
                s.bestRow = static_cast<int>(s.rows.size());
            s.rows.push_back(planner::PlanRowTexts(plan, i));
        }
    }
    std::string factors = "client's mortality factor " + FactorWords(h.client.mortalityFactor);
    if (couple)
        factors += ", spouse's " + FactorWords(h.spouse->mortalityFactor);
    s.lifeTableLine = "Survival: " + planner::MortalityEdition(h.mortality) + "; " + factors + ".";
    s.note =
        "Estimates, not a promise of benefits: today's rules, the COLA each December, values "
        "discounted monthly to the as-of month, survival by the tables and factors named.";
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
    Charts().paint(painter, chartBox, s.chart, &MoneyText);
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
    std::vector<std::string> more = s.referenceLines;
    if (!s.survivorLine.empty())
        more.push_back(s.survivorLine);
    painter.setFont(Font(9.5));
    for (const std::string& line : more) {
        QRectF box(textLeft, ty, textWidth, 200);
        const QRectF used = painter.boundingRect(box, Qt::TextWordWrap, Q(line));
        painter.drawText(box, Qt::TextWordWrap, Q(line));
        ty += used.height() + 4;
    }
    y = chartBox.bottom() + 18;

    // The options: month and age to the left, figures to the right; the best row filled.
    static constexpr double kOptionWidths[] = {100, 90, 130, 90, 100, 90, 110, 150, 60};
    static constexpr double kGridWidths[] = {110, 85, 85, 85, 85, 85, 85, 85, 85, 85};
    const std::vector<double> kWidths =
        s.pairGrid ? std::vector<double>(std::begin(kGridWidths), std::end(kGridWidths))
                   : std::vector<double>(std::begin(kOptionWidths), std::end(kOptionWidths));
    // The grid's rows are shorter, so that nine of them fit below the chart.
    const double rowHeight = s.pairGrid ? 17 : 19;
    const auto drawRow = [&](const std::vector<std::string>& cells, bool header) {
        double x = kMargin;
        for (std::size_t c = 0; c < cells.size() && c < std::size(kWidths); ++c) {
            const Qt::Alignment align = header || s.pairGrid ? Qt::AlignCenter
                                                             : ((c < 2    ? Qt::AlignLeft
                                                                 : c == 8 ? Qt::AlignHCenter
                                                                          : Qt::AlignRight) |
                                                                Qt::AlignVCenter);
            if (s.pairGrid && !header && static_cast<int>(c) == s.bestCell.second + 1 &&
                &cells == &s.rows[static_cast<std::size_t>(std::max(0, s.bestCell.first))] &&
                s.bestCell.first >= 0)
                painter.fillRect(QRectF(x, y, kWidths[c], rowHeight), QColor(255, 236, 160));
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
        const bool best = !s.pairGrid && static_cast<int>(r) == s.bestRow;
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
