// A 40-year report (41 detail lines, three pages), both passes, into a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "engine/money.h"
#include "engine/schedule.h"
#include "report/bandreport.h"
#include "report/reportinputs.h"
#include "report/reportoutput.h"
#include "report/rptss.h"
#include "report/scenariopipeline.h"
#include "report/workedexample.h"
#include "scenario/scenariorec.h"

namespace {

using namespace velmora;

void BM_FortyYearReportToPdf(benchmark::State& state) {
    TScenarioRec rec = testing::WorkedExampleScenario();
    rec.Years = 40;
    const ScheduleInputs in = testing::ScheduleInputsOf(rec);

    MemoryCellStore store;
    TResultTable table(store);
    BuildSchedule(in, table);
    RecordInputs inputs(rec);
    std::int32_t cursor = 0;
    ScenarioPipeline source(inputs, table, cursor);
    BandReport report(RptSSLayout(), source, testing::FixedDateEnvironment());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));

    for (auto _ : state)
        WriteReportPdf(report, QFile::encodeName(path).toStdString());
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
