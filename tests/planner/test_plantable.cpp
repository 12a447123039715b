// The plan as the window and the summary use it: the copy of an option into the
// calculation's inputs, and the chart's data taken from a calculated table.
#include <gtest/gtest.h>

#include <string>

#include "engine/moneytext.h"
#include "engine/schedule.h"
#include "planner/chartdata.h"
#include "planner/plan.h"
#include "planner/plantable.h"

namespace velmora::planner {
namespace {

PlanInputs Client(Date born, Date asOf, Sex sex = Sex::Female) {
    PlanInputs in;
    in.born = born;
    in.sex = sex;
    in.fraBenefit = 2000;
    in.asOf = asOf;
    in.cola = 2.5;
    in.rate = 3;
    in.years = 40;
    return in;
}

class PlanTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
    }
    void TearDown() override { MoneyFormat() = saved_; }

  private:
    TMoneyFormat saved_;
};

// Early takes year, month, benefit and the age in whole years of the claim month;
// Later the same without the age.
TEST_F(PlanTableTest, ChoosingAnOptionGivesItsMonthBenefitAndAge) {
    const Plan plan = BuildPlan(Client({1960, 3, 15}, {2021, 6, 1}));
    const std::size_t fra = [&] {
        for (std::size_t i = 0; i < plan.options.size(); ++i) {
            if (plan.options[i].isFraMonth)
                return i;
        }
        return std::size_t{0};
    }();
    const ClaimEntry early = ClaimEntryFor(plan, 0, ClaimSide::Early);
    EXPECT_EQ(early.year, 2022);
    EXPECT_EQ(early.month, 4);
    EXPECT_EQ(early.benefit, MoneyToReal(plan.options[0].monthlyBenefit));
    EXPECT_TRUE(early.hasAge);
    EXPECT_EQ(early.age, 62);
    EXPECT_EQ(early.age, plan.scheduleAge);

    const ClaimEntry later = ClaimEntryFor(plan, fra, ClaimSide::Later);
    EXPECT_EQ(later.year, 2027);
    EXPECT_EQ(later.month, 3);
    EXPECT_EQ(MoneyText(later.benefit, 2), PlanRowTexts(plan, fra)[kBenefitColumn]);
    EXPECT_FALSE(later.hasAge);
}

// What the two buttons put into the fields, calculated, gives the break-even year the
// plan's table shows for that option.
TEST_F(PlanTableTest, ThePairCopiedIntoTheInputsGivesThePlansBreakEven) {
    for (const Sex sex : {Sex::Female, Sex::Male}) {
        const PlanInputs in = Client({1962, 11, 2}, {2024, 1, 10}, sex);
        const Plan plan = BuildPlan(in);
        for (std::size_t i = 1; i < plan.options.size(); ++i) {
            TResultTable table;
            BuildSchedule(PairInputs(plan, in, 0, i), table);
            const PlanOption& o = plan.options[i];
            ASSERT_EQ(table.BreakEvenFound, o.breakEven == BreakEven::Year) << i;
            if (table.BreakEvenFound) {
                EXPECT_EQ(table.BreakEvenYear, std::to_string(o.breakEvenYear)) << i;
                EXPECT_EQ(PlanRowTexts(plan, i)[kBreakEvenColumn], table.BreakEvenYear);
            }
        }
    }
}

TEST_F(PlanTableTest, SummaryComparesTheEarliestWithTheBestOrElseTheFraMonth) {
    // High rates favour the earliest start; without discounting a later one wins.
    PlanInputs in = Client({1962, 11, 2}, {2024, 1, 10});
    in.rate = 0;
    in.cola = 0;
    const Plan laterWins = BuildPlan(in);
    ASSERT_NE(laterWins.best, 0u);
    EXPECT_EQ(SummaryLaterOption(laterWins), laterWins.best);

    in.rate = 40;
    const Plan earliestWins = BuildPlan(in);
    ASSERT_EQ(earliestWins.best, 0u);
    EXPECT_TRUE(earliestWins.options[SummaryLaterOption(earliestWins)].isFraMonth);

    // Past the FRA month only the months to 70 are left: the last one.
    const Plan late = BuildPlan(Client({1956, 1, 10}, {2025, 6, 1}));
    Plan pastFra = late;
    pastFra.best = 0;
    EXPECT_EQ(SummaryLaterOption(pastFra), pastFra.options.size() - 1);
}

TEST_F(PlanTableTest, BestRowIsMarkedAndListed) {
    const Plan plan = BuildPlan(Client({1964, 6, 15}, {2026, 12, 10}));
    int marked = 0;
    for (std::size_t i : SummaryOptions(plan)) {
        const auto row = PlanRowTexts(plan, i);
        ASSERT_EQ(row.size(), kPlanColumns);
        marked += row[kBestColumn] == "best";
        EXPECT_EQ(row[kBestColumn] == "best", i == plan.best);
    }
    EXPECT_EQ(marked, 1);
}

TEST(ChartData, SeriesAreTheTablesCumulativePresentValues) {
    TResultTable table;
    ScheduleInputs in;
    in.EarlyYear = 2024;
    in.EarlyMonth = 4;
    in.Age = 62;
    in.EarlyBenefit = 1400;
    in.LaterYear = 2032;
    in.LaterMonth = 4;
    in.LaterBenefit = 2480;
    in.Years = 30;
    in.Rate = 3;
    in.Cola = 2.5;
    BuildSchedule(in, table);

    const BreakEvenChartData data = ChartDataFrom(table, std::nullopt);
    ASSERT_EQ(data.years.size(), 30u);
    for (int r = 1; r <= 30; ++r) {
        const auto i = static_cast<std::size_t>(r - 1);
        EXPECT_EQ(std::to_string(data.years[i]), table.cells.GetCellText(grdYear, r));
        // The drawn values are the table's cells; years before a start show a plain 0.
        for (const auto& [value, column] : {std::pair{data.early[i], grdEarlyPvCumulative},
                                            std::pair{data.later[i], grdLaterPvCumulative}}) {
            const std::string cell = table.cells.GetCellText(column, r);
            EXPECT_EQ(cell == "0" ? "$0" : cell, MoneyText(value, 0)) << r;
        }
        EXPECT_EQ(data.early[i], MoneyToReal(table.CumEarly[static_cast<std::size_t>(r)]));
        EXPECT_EQ(data.later[i], MoneyToReal(table.CumLater[static_cast<std::size_t>(r)]));
    }
    ASSERT_TRUE(table.BreakEvenFound);
    EXPECT_TRUE(data.breakEvenFound);
    EXPECT_EQ(std::to_string(data.breakEvenYear), table.BreakEvenYear);
    EXPECT_TRUE(data.alivePercent.empty());
}

TEST(ChartData, ChanceAliveFromTheAsOfDate) {
    TResultTable table;
    ScheduleInputs in;
    in.EarlyYear = 2020;
    in.EarlyMonth = 1;
    in.Age = 62;
    in.EarlyBenefit = 1000;
    in.LaterYear = 2024;
    in.LaterMonth = 1;
    in.LaterBenefit = 1400;
    in.Years = 40;
    BuildSchedule(in, table);

    const Date born{1958, 7, 1};
    const Date asOf{2022, 7, 1};
    const BreakEvenChartData data = ChartDataFrom(table, SurvivalBasis{born, Sex::Male, asOf});
    ASSERT_EQ(data.alivePercent.size(), data.years.size());
    // Years that end before the as-of date are certain; later ones fall, never below 0.
    EXPECT_EQ(data.alivePercent[0], 100);  // 2020
    EXPECT_EQ(data.alivePercent[1], 100);  // 2021
    const AgeRules age(born);
    const LifeTable& table2022 = LifeTable::Shipped();
    EXPECT_EQ(data.alivePercent[2],
              100 * table2022.SurvivalChance(Sex::Male, age.AgeOn(asOf), age.AgeAt(2023)));
    for (std::size_t i = 1; i < data.alivePercent.size(); ++i) {
        EXPECT_LE(data.alivePercent[i], data.alivePercent[i - 1]);
        EXPECT_GE(data.alivePercent[i], 0);
    }
}

TEST(ChartData, NothingToDrawWithoutACalculation) {
    TResultTable table;
    EXPECT_TRUE(
        ChartDataFrom(table, SurvivalBasis{{1960, 1, 5}, Sex::Female, {2024, 1, 1}}).Empty());
}

TEST(ChartData, YearCells) {
    struct Case {
        const char* text;
        std::optional<int> year;
    };
    const Case cases[] = {{"2014", 2014},
                          {"2,014", 2014},
                          {"", std::nullopt},
                          {"abc", std::nullopt},
                          {"20x4", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(YearOfCell(c.text), c.year) << c.text;
}

}  // namespace
}  // namespace velmora::planner
