#include <benchmark/benchmark.h>

#include "engine/money.h"
#include "planner/plan.h"

namespace {

// A monthly plan at its largest: born on the 2nd, so 97 claiming months from 62y 0m to
// 70, each with a 40-year schedule against the earliest. Target: under 10 ms.
void BM_MonthlyPlan97Options(benchmark::State& state) {
    velmora::SetArithmeticContext();
    velmora::planner::PlanInputs in;
    in.born = {1960, 3, 2};
    in.sex = velmora::planner::Sex::Female;
    in.fraBenefit = 2000;
    in.asOf = {2021, 6, 1};
    in.cola = 2.5;
    in.rate = 3;
    in.years = 40;
    velmora::planner::LifeTable::Shipped();  // parsed once, outside the timing
    for (auto _ : state) {
        const auto plan = velmora::planner::BuildPlan(in);
        if (plan.options.size() != 97)
            state.SkipWithError("expected 97 options");
        benchmark::DoNotOptimize(plan.options.data());
    }
}
BENCHMARK(BM_MonthlyPlan97Options)->Unit(benchmark::kMillisecond);

}  // namespace
