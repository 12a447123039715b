// The break-even chart's series and the one-page client summary: its texts, its PDF and
// its place in the print preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QValueAxis>

#include "engine/moneytext.h"
#include "planner/chartdata.h"
#include "planner/plantable.h"
#include "report/summary/breakevenchart.h"
#include "report/summary/clientsummary.h"

namespace velmora {
namespace {

class SummaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
        in.born = {1964, 6, 15};
        in.sex = planner::Sex::Female;
        in.fraBenefit = 2000;
        in.asOf = {2026, 12, 10};
        in.cola = 2.5;
        in.rate = 3;
        plan = planner::BuildPlan(in);
        pair = planner::PairInputs(plan, in, 0, planner::SummaryLaterOption(plan));
        BuildSchedule(pair, table);
    }
    void TearDown() override { MoneyFormat() = saved_; }

    ClientSummaryInputs Inputs() {
        ClientSummaryInputs s;
        s.clientName = "Pat Example";
        s.preparer = "Lee Advisor";
        s.dateText = "12/10/2026";
        s.planInputs = in;
        s.plan = &plan;
        s.pair = pair;
        s.table = &table;
        return s;
    }

    planner::PlanInputs in;
    planner::Plan plan;
    ScheduleInputs pair;
    TResultTable table;

  private:
    TMoneyFormat saved_;
};

TEST_F(SummaryTest, ChartSeriesAreTheTablesCumulativeColumns) {
    QChart chart;
    FillBreakEvenChart(
        chart, planner::ChartDataFrom(table, planner::SurvivalBasis{in.born, in.sex, in.asOf}),
        &MoneyText);
    const QLineSeries* early = FindChartSeries(chart, kEarlySeriesName);
    const QLineSeries* later = FindChartSeries(chart, kLaterSeriesName);
    ASSERT_NE(early, nullptr);
    ASSERT_NE(later, nullptr);
    ASSERT_EQ(early->count(), pair.Years);
    ASSERT_EQ(later->count(), pair.Years);
    for (int r = 1; r <= pair.Years; ++r) {
        const QPointF e = early->at(r - 1);
        const QPointF l = later->at(r - 1);
        EXPECT_EQ(QString::number(e.x()).toStdString(), table.cells.GetCellText(grdYear, r));
        EXPECT_EQ(l.x(), e.x());
        // The points carry the table's totals; a double holds every cent of them.
        EXPECT_EQ(MoneyText(e.y(), 0), table.cells.GetCellText(grdEarlyPvCumulative, r)) << r;
        const std::string laterCell = table.cells.GetCellText(grdLaterPvCumulative, r);
        EXPECT_EQ(MoneyText(l.y(), 0), laterCell == "0" ? "$0" : laterCell) << r;
    }
    // The break-even line stands at the table's year; the lines cross there.
    const QLineSeries* mark = FindChartSeries(chart, kBreakEvenSeriesName);
    ASSERT_NE(mark, nullptr);
    ASSERT_TRUE(table.BreakEvenFound);
    EXPECT_EQ(QString::number(mark->at(0).x()).toStdString(), table.BreakEvenYear);
    const int row = std::stoi(table.BreakEvenYear) - pair.EarlyYear;
    EXPECT_GT(later->at(row).y(), early->at(row).y());
    EXPECT_LE(later->at(row - 1).y(), early->at(row - 1).y());

    // Chance alive on its own right axis, 0 to 100 %.
    QLineSeries* alive = FindChartSeries(chart, kAliveSeriesName);
    ASSERT_NE(alive, nullptr);
    const auto axes = alive->attachedAxes();
    ASSERT_EQ(axes.size(), 2);
    const auto* percent = qobject_cast<const QValueAxis*>(axes[1]);
    ASSERT_NE(percent, nullptr);
    EXPECT_EQ(percent->alignment(), Qt::AlignRight);
    EXPECT_EQ(percent->min(), 0);
    EXPECT_EQ(percent->max(), 100);
}

TEST_F(SummaryTest, EmptyChartShowsTheHintAndRedrawsCleanly) {
    QChart chart;
    FillBreakEvenChart(chart, planner::ChartDataFrom(table, std::nullopt), &MoneyText);
    EXPECT_EQ(FindChartSeries(chart, kAliveSeriesName), nullptr);  // no client, no odds
    FillBreakEvenChart(chart, {}, &MoneyText);
    EXPECT_TRUE(chart.series().isEmpty());
    EXPECT_TRUE(chart.axes().isEmpty());
    EXPECT_EQ(chart.title(), QString::fromLatin1(kChartHint));
}

TEST_F(SummaryTest, TextsNameTheClientTheBreakEvenAndItsOdds) {
    const ClientSummary s = BuildClientSummary(Inputs());
    EXPECT_EQ(s.clientLine, "Client: Pat Example");
    EXPECT_EQ(s.dateLine, "Date: 12/10/2026");
    EXPECT_EQ(s.preparerLine, "Prepared by: Lee Advisor");
    // The odds are those of the plan's row for the same pair.
    const planner::PlanOption& later = plan.options[planner::SummaryLaterOption(plan)];
    ASSERT_EQ(later.breakEven, planner::BreakEven::Year);
    EXPECT_EQ(s.breakEvenLine, "Break-even year " + std::to_string(later.breakEvenYear) + " (age " +
                                   std::to_string(later.ageAtBreakEven) +
                                   " at its end); chance of living past it: " +
                                   planner::ChancePercentText(later.chanceAliveAtBreakEven) +
                                   " %.");
    ASSERT_EQ(s.rows.size(), planner::SummaryOptions(plan).size());
    ASSERT_GE(s.bestRow, 0);
    EXPECT_EQ(s.rows[static_cast<std::size_t>(s.bestRow)][planner::kBestColumn], "best");
    EXPECT_NE(s.lifeTableLine.find(plan.lifeTableEdition), std::string::npos);

    ClientSummaryInputs none = Inputs();
    none.pair.reset();
    none.table = nullptr;
    const ClientSummary uncalculated = BuildClientSummary(none);
    EXPECT_TRUE(uncalculated.chart.Empty());
    EXPECT_EQ(uncalculated.breakEvenLine,
              "The break-even year needs a calculation of the two starts.");
}

TEST_F(SummaryTest, PdfIsOneLandscapeLetterPage) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("summary.pdf"));
    WriteClientSummaryPdf(BuildClientSummary(Inputs()), path.toStdString());

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(info.waitForFinished());
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(meta.contains(QRegularExpression("Pages: +1\\n"))) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QStringLiteral("792 x 612 pts (letter)"))) << meta.toStdString();

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains(QStringLiteral("Client: Pat Example")));
    for (const std::size_t i : planner::SummaryOptions(plan)) {
        const auto row = planner::PlanRowTexts(plan, i);
        EXPECT_TRUE(pdf.contains(QRegularExpression(
            QString::fromStdString("\\n *" + row[0] + " +" + row[1] + " +\\" + row[2]))))
            << row[0];
    }
    // The break-even year and its odds (the chart's labels may share their lines).
    const planner::PlanOption& later = plan.options[planner::SummaryLaterOption(plan)];
    EXPECT_TRUE(pdf.contains(QStringLiteral("Break-even year %1").arg(later.breakEvenYear)));
    EXPECT_TRUE(pdf.contains(QStringLiteral("living past it: %1 %")
                                 .arg(QString::fromStdString(
                                     planner::ChancePercentText(later.chanceAliveAtBreakEven)))));

    // A folder that is not there: a clear error and no file.
    EXPECT_THROW(
        WriteClientSummaryPdf(BuildClientSummary(Inputs()),
                              dir.filePath(QStringLiteral("no/such/summary.pdf")).toStdString()),
        ReportError);
}

TEST_F(SummaryTest, PreviewShowsTheOnePage) {
    ClientSummaryDocument document(BuildClientSummary(Inputs()));
    PrintServices services;
    PrintPreviewDialog dialog(document, services);
    dialog.show();
    QApplication::processEvents();
    dialog.Preview()->updatePreview();
    QApplication::processEvents();
    EXPECT_EQ(dialog.PageCount(), 1);
    EXPECT_FALSE(dialog.Failure());
    EXPECT_TRUE(dialog.ProducedPages().empty());
    dialog.reject();
}

}  // namespace
}  // namespace velmora
