#include <benchmark/benchmark.h>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "engine/schedule.h"

namespace {

velmora::ScheduleInputs FortyYears() {
    velmora::ScheduleInputs in;
    in.EarlyYear = 2001;
    in.EarlyMonth = 1;
    in.Age = 62;
    in.EarlyBenefit = 1000;
    in.LaterYear = 2004;
    in.LaterMonth = 1;
    in.LaterBenefit = 1400;
    in.Cola = 2.5;
    in.Rate = 3;
    in.Years = 40;
    return in;
}

// A full calculation: every cell text of 40 rows written into the store.
void BM_BuildSchedule40Years(benchmark::State& state) {
    velmora::SetArithmeticContext();
    velmora::MoneyFormat() = velmora::TMoneyFormat::UnitedStates();
    const velmora::ScheduleInputs in = FortyYears();
    velmora::TResultTable table;
    for (auto _ : state) {
        velmora::BuildSchedule(in, table);
        benchmark::DoNotOptimize(table.BreakEvenFound);
    }
}
BENCHMARK(BM_BuildSchedule40Years)->Unit(benchmark::kMicrosecond);

// The same with a fresh store each time, as after the program starts.
void BM_BuildSchedule40YearsFreshStore(benchmark::State& state) {
    velmora::SetArithmeticContext();
    velmora::MoneyFormat() = velmora::TMoneyFormat::UnitedStates();
    const velmora::ScheduleInputs in = FortyYears();
    for (auto _ : state) {
        velmora::TResultTable table;
        velmora::BuildSchedule(in, table);
        benchmark::DoNotOptimize(table.BreakEvenFound);
    }
}
BENCHMARK(BM_BuildSchedule40YearsFreshStore)->Unit(benchmark::kMicrosecond);

// One money text, the operation behind most cells.
void BM_MoneyText(benchmark::State& state) {
    velmora::SetArithmeticContext();
    const velmora::TMoneyFormat us = velmora::TMoneyFormat::UnitedStates();
    long double amount = 12922.6872L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::MoneyText(amount, 0, us));
        amount += 1;
    }
}
BENCHMARK(BM_MoneyText);

}  // namespace
