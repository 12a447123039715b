#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "cli/batch.h"
#include "engine/money.h"
#include "engine/moneytext.h"

namespace {

// 100,000 forty-year scenarios that differ in every input, so that no row repeats work.
std::string ScenarioFile(int rows) {
    std::string text =
        "early-year,early-month,age,early-benefit,later-year,later-month,later-benefit,cola,"
        "rate,years\n";
    for (int i = 0; i < rows; ++i) {
        const int early = 2000 + i % 10;
        text += std::to_string(early) + "," + std::to_string(1 + i % 12) + "," +
                std::to_string(62 + i % 3) + "," + std::to_string(800 + i % 997) + "." +
                std::to_string(10 + i % 90) + "," + std::to_string(early + 1 + i % 8) + "," +
                std::to_string(1 + (i / 12) % 12) + "," + std::to_string(1200 + i % 1511) +
                ".25," + std::to_string(i % 5) + "." + std::to_string(i % 10) + "," +
                std::to_string(1 + i % 6) + ".5,40\n";
    }
    return text;
}

// The whole batch run: reading, calculating and writing the CSV, on one core.
void BM_Batch100000FortyYearScenarios(benchmark::State& state) {
    velmora::SetArithmeticContext();
    velmora::MoneyFormat() = velmora::TMoneyFormat::UnitedStates();
    constexpr int kRows = 100000;
    const std::string input = ScenarioFile(kRows);
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = velmora::cli::RunBatch({"-"}, in, out, err);
        if (status != 0)
            state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.str().size());
    }
    state.counters["scenarios/s"] = benchmark::Counter(
        static_cast<double>(kRows) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Batch100000FortyYearScenarios)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
