#include <benchmark/benchmark.h>

#include "planner/pia.h"

namespace {

// A full working life: 45 years of earnings (1981-2025) for a client first eligible in
// 2026, every step of the computation kept, as the dialog and velmora-cli pia make it.
// Target: under 50 us.
void BM_Pia45YearRecord(benchmark::State& state) {
    using namespace velmora::planner;
    PiaInputs in;
    in.born = {1964, 5, 20};
    in.asOf = {2026, 12, 10};
    in.colaMillionths = 25000;
    for (int year = 1981; year <= 2025; ++year)
        in.record.years.push_back({year, 1500000 + (year - 1981) * 250000});
    ProgramData::Shipped();  // parsed once, outside the timing
    for (auto _ : state) {
        const PiaComputation pia(in);
        if (pia.Years().size() != 45)
            state.SkipWithError("expected 45 years");
        benchmark::DoNotOptimize(pia.PiaAsOfCents());
    }
}
BENCHMARK(BM_Pia45YearRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
