// A 40-year report (41 detail lines, three pages), both passes, into a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "engine/money.h"
#include "engine/schedule.h"
#include "report/bandreport.h"
#include "report/reportinputs.h"
#include "report/reportoutput.h"
#include "report/rptss.h"
#include "report/scenariopipeline.h"
#include "scenario/scenariorec.h"

namespace {

using namespace velmora;

void BM_FortyYearReportToPdf(benchmark::State& state) {
    TScenarioRec rec;
    rec.ClientName = "Pat Example";
    rec.Description = "Claim at 62 or at 65";
    rec.Preparer = "Lee Advisor";
    rec.Cola = 2.5L;
    rec.Rate = 3;
    rec.Years = 40;
    rec.EarlyMonth = 1;
    rec.EarlyYear = 2001;
    rec.EarlyBenefit = 1000;
    rec.LaterMonth = 1;
    rec.LaterYear = 2004;
    rec.LaterBenefit = 1400;
    rec.Age = 62;
    ScheduleInputs in;
    in.EarlyYear = rec.EarlyYear;
    in.Age = rec.Age;
    in.EarlyBenefit = rec.EarlyBenefit;
    in.LaterBenefit = rec.LaterBenefit;
    in.EarlyMonth = rec.EarlyMonth;
    in.LaterMonth = rec.LaterMonth;
    in.Years = rec.Years;
    in.Rate = rec.Rate;
    in.Cola = 2.5;
    in.LaterYear = rec.LaterYear;

    MemoryCellStore store;
    TResultTable table(store);
    BuildSchedule(in, table);
    RecordInputs inputs(rec);
    std::int32_t cursor = 0;
    ScenarioPipeline source(inputs, table, cursor);
    ReportEnvironment environment;
    environment.dateText = [] { return std::string("2/3/2024"); };
    BandReport report(RptSSLayout(), source, environment);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));

    for (auto _ : state)
        WriteReportPdf(report, path);
    state.counters["pages"] = report.PageCount();
}
BENCHMARK(BM_FortyYearReportToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    velmora::SetArithmeticContext();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
