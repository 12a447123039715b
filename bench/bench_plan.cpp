#include <benchmark/benchmark.h>

#include "engine/money.h"
#include "planner/optimiser.h"
#include "planner/plan.h"

namespace {

// One client's full list at its largest: born on the 2nd, so 97 claiming months from
// 62y 0m to 70, each with its expected value over monthly payments to the end of the cohort
// table and its break-even year from a 40-year schedule. Target: at most 2 ms.
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
    velmora::planner::CohortLifeTables::Shipped();  // parsed once, outside the timing
    velmora::planner::LifeTable::Shipped();
    for (auto _ : state) {
        const auto plan = velmora::planner::BuildPlan(in);
        if (plan.options.size() != 97)
            state.SkipWithError("expected 97 options");
        benchmark::DoNotOptimize(plan.options.data());
    }
}
BENCHMARK(BM_MonthlyPlan97Options)->Unit(benchmark::kMillisecond);

// A couple's whole search at its largest: both under 62 on the as-of date and born on the
// 2nd, so 97 x 97 pairs, with monthly streams to the end of the cohort tables (the model
// and its survival curves included). Target: at most 20 ms.
void BM_CoupleSearch97x97(benchmark::State& state) {
    velmora::SetArithmeticContext();
    velmora::planner::HouseholdInputs in;
    in.client.born = {1964, 3, 2};
    in.client.sex = velmora::planner::Sex::Female;
    in.client.piaCents = 120000;
    in.spouse = velmora::planner::PersonInputs{};
    in.spouse->born = {1963, 7, 2};
    in.spouse->sex = velmora::planner::Sex::Male;
    in.spouse->piaCents = 310000;
    in.asOf = {2025, 1, 10};
    in.cola = 2.5;
    in.rate = 3;
    velmora::planner::CohortLifeTables::Shipped();
    for (auto _ : state) {
        const velmora::planner::HouseholdModel model(in);
        const auto search = model.SearchCouple();
        if (search.values.size() != 97u * 97u)
            state.SkipWithError("expected 97 x 97 pairs");
        benchmark::DoNotOptimize(search.best.value);
    }
}
BENCHMARK(BM_CoupleSearch97x97)->Unit(benchmark::kMillisecond);

}  // namespace
