#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/moneytext.h"
#include "engine/reference.h"
#include "engine/schedule.h"
#include "support/workedexample.h"

namespace velmora {
namespace {

using Row = std::array<const char*, kResultColumns>;

// The worked example of every layer's tests.
ScheduleInputs Example() {
    return testing::WorkedExampleInputs();
}

class ScheduleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetArithmeticContext();
        saved_ = MoneyFormat();
        MoneyFormat() = TMoneyFormat::UnitedStates();
    }
    void TearDown() override { MoneyFormat() = saved_; }

    // Builds on the fixture's table; returns the error message, "" when none.
    std::string Run(const ScheduleInputs& in) {
        try {
            BuildSchedule(in, table);
        } catch (const ArithmeticError& e) {
            SetArithmeticContext();
            return e.what();
        }
        return "";
    }
    std::string Cell(int column, int row) const { return table.cells.GetCellText(column, row); }
    // The row of the table whose year cell holds the year.
    int RowOf(int year) const {
        for (int r = 1; r < table.cells.RowCount(); ++r) {
            if (Cell(grdYear, r) == std::to_string(year))
                return r;
        }
        return -1;
    }
    void ExpectRow(const Row& expected) {
        const int r = RowOf(std::stoi(expected[0]));
        ASSERT_GT(r, 0) << expected[0];
        for (int c = 0; c < kResultColumns; ++c) {
            EXPECT_EQ(Cell(c, r), expected[static_cast<std::size_t>(c)])
                << "year " << expected[0] << ", column " << c;
        }
    }

    TResultTable table;

  private:
    TMoneyFormat saved_;
};

TEST(ResultTable, StartsWithoutABreakEven) {
    TResultTable table;
    EXPECT_FALSE(table.BreakEvenFound);
    EXPECT_EQ(table.BreakEvenYear, "");
    EXPECT_EQ(ResultMessage(table), "Breakeven point not reached using these parameters.");
}

TEST_F(ScheduleTest, WorkedExample) {
    ASSERT_EQ(Run(Example()), "");
    EXPECT_EQ(table.cells.RowCount(), 21);
    for (int r = 1; r <= 20; ++r) {
        const auto& expected = testing::WorkedExampleTable()[static_cast<std::size_t>(r - 1)];
        for (int c = 0; c < kResultColumns; ++c)
            EXPECT_EQ(Cell(c, r), expected[static_cast<std::size_t>(c)]) << "row " << r;
    }

    // The difference uses the counts, not the rounded texts of the totals.
    EXPECT_EQ(table.CumEarly[4].count, 476516149);
    EXPECT_EQ(table.CumLater[4].count, 153743799);
    EXPECT_TRUE(table.BreakEvenFound);
    EXPECT_EQ(table.BreakEvenYear, "2014");
    EXPECT_EQ(ResultMessage(table), testing::kWorkedExampleMessage);
    EXPECT_EQ(Cell(grdYear, 0), "Year") << "the header row is not written";
}

TEST_F(ScheduleTest, NoYears) {
    ASSERT_EQ(Run(Example()), "");
    ScheduleInputs in = Example();
    in.Years = 0;
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(table.cells.RowCount(), 1);
    EXPECT_EQ(Cell(grdDifference, 0), "Difference PV Cumulative Benefits");
    EXPECT_EQ(ResultMessage(table), "Breakeven point not reached using these parameters.");
}

TEST_F(ScheduleTest, LaterStartBeforeEarlyStart) {
    ScheduleInputs in = Example();
    in.LaterYear = 2000;
    in.LaterMonth = 7;
    in.Years = 3;
    ASSERT_EQ(Run(in), "");
    // Twelve months from row 1 with the entered benefit, discounted from row 1.
    ExpectRow({"2001", "12", "62", "$1,000.00", "$12,000", "$12,000", "$12,000", "$1,400.00",
               "$16,800", "$16,800", "$16,800", "($4,800)"});
    ExpectRow({"2002", "12", "63", "$1,025.00", "$12,300", "$11,942", "$23,942", "$1,435.00",
               "$17,220", "$16,718", "$33,518", "($9,577)"});
    EXPECT_EQ(table.BreakEvenYear, "2001");
}

TEST_F(ScheduleTest, LaterStartInTheEarlyStartYear) {
    ScheduleInputs in = Example();
    in.LaterYear = 2001;
    in.Years = 3;
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(Cell(grdLaterPvCumulative, 1), "$16,800");
    EXPECT_EQ(Cell(grdDifference, 1), "($4,800)");
    EXPECT_EQ(ResultMessage(table), "Breakeven point occurs in the year 2001");
    in.LaterMonth = 10;  // three months in the first year
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(Cell(grdAnnualLaterBenefit, 1), "$4,200");
    EXPECT_EQ(Cell(grdMonths, 1), "12") << "the month column is the early side's";
    EXPECT_EQ(Cell(grdAnnualLaterBenefit, 2), "$17,220");
}

TEST_F(ScheduleTest, LaterStartAfterTheLastRow) {
    ScheduleInputs in = Example();
    in.LaterYear = 2030;
    in.Years = 10;
    ASSERT_EQ(Run(in), "");
    for (int r = 1; r <= 10; ++r) {
        SCOPED_TRACE(r);
        for (int c = grdLaterBenefit; c <= grdLaterPvCumulative; ++c)
            EXPECT_EQ(Cell(c, r), "0");
        EXPECT_EQ(Cell(grdDifference, r), Cell(grdEarlyPvCumulative, r));
        EXPECT_EQ(table.CumLater[static_cast<std::size_t>(r)].count, 0);
    }
    EXPECT_EQ(ResultMessage(table), "Breakeven point not reached using these parameters.");
}

TEST_F(ScheduleTest, EarlyStartInDecember) {
    ScheduleInputs in = Example();
    in.EarlyMonth = 12;
    in.Years = 2;
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(Cell(grdMonths, 1), "1");
    EXPECT_EQ(Cell(grdAnnualEarlyBenefit, 1), "$1,000");
    EXPECT_EQ(Cell(grdMonths, 2), "12");
    EXPECT_EQ(Cell(grdAnnualEarlyBenefit, 2), "$12,300");
}

TEST_F(ScheduleTest, BothBenefitsZero) {
    ScheduleInputs in = Example();
    in.EarlyBenefit = 0;
    in.LaterBenefit = 0;
    ASSERT_EQ(Run(in), "");
    for (int r = 1; r <= 20; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Cell(grdEarlyBenefit, r), "$0.00");
        for (int c : {grdAnnualEarlyBenefit, grdEarlyPv, grdEarlyPvCumulative, grdDifference}) {
            EXPECT_EQ(Cell(c, r), "$0");
        }
        if (r >= 4) {
            EXPECT_EQ(Cell(grdLaterBenefit, r), "$0.00");
            EXPECT_EQ(Cell(grdLaterPvCumulative, r), "$0");
        }
    }
    EXPECT_FALSE(table.BreakEvenFound) << "a difference of exactly 0 is no break-even";
}

TEST_F(ScheduleTest, EqualSidesNeverBreakEven) {
    ScheduleInputs in = Example();
    in.LaterYear = 2001;
    in.LaterBenefit = 1000;
    ASSERT_EQ(Run(in), "");
    for (int r = 1; r <= 20; ++r)
        EXPECT_EQ(Cell(grdDifference, r), "$0");
    EXPECT_FALSE(table.BreakEvenFound);
}

TEST_F(ScheduleTest, NoColaKeepsTheBenefits) {
    ScheduleInputs in = Example();
    in.Cola = 0;
    ASSERT_EQ(Run(in), "");
    for (int r = 1; r <= 20; ++r) {
        EXPECT_EQ(Cell(grdEarlyBenefit, r), "$1,000.00");
        if (r >= 4) {
            EXPECT_EQ(Cell(grdLaterBenefit, r), "$1,400.00");
        }
    }
}

TEST_F(ScheduleTest, NoDiscounting) {
    ScheduleInputs in = Example();
    in.Cola = 0;
    in.Rate = 0;
    in.Years = 12;
    ASSERT_EQ(Run(in), "");
    ExpectRow({"2010", "12", "71", "$1,000.00", "$12,000", "$12,000", "$120,000", "$1,400.00",
               "$16,800", "$16,800", "$117,600", "$2,400"});
    ExpectRow({"2011", "12", "72", "$1,000.00", "$12,000", "$12,000", "$132,000", "$1,400.00",
               "$16,800", "$16,800", "$134,400", "($2,400)"});
    EXPECT_EQ(ResultMessage(table), "Breakeven point occurs in the year 2011");
}

TEST_F(ScheduleTest, RateOfAHundredPercentHalvesEachYear) {
    ScheduleInputs in = Example();
    in.Cola = 0;
    in.Rate = 100;
    in.Years = 5;
    ASSERT_EQ(Run(in), "");
    const char* early[] = {"$12,000", "$6,000", "$3,000", "$1,500", "$750"};
    const char* later[] = {"0", "0", "0", "$2,100", "$1,050"};
    for (int r = 1; r <= 5; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Cell(grdEarlyPv, r), early[r - 1]);
        EXPECT_EQ(Cell(grdLaterPv, r), later[r - 1]);
    }
}

TEST_F(ScheduleTest, LaterStartComparesYearTexts) {
    // Year texts of different lengths: "3" sorts after "2004", "2" before it.
    ScheduleInputs in = Example();
    in.EarlyYear = 1;
    in.Cola = 0;
    in.Rate = 0;
    in.Years = 4;
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(Cell(grdLaterBenefit, 2), "0");
    EXPECT_EQ(Cell(grdLaterBenefit, 3), "$1,400.00");
    EXPECT_EQ(Cell(grdAnnualLaterBenefit, 3), "$16,800") << "after the start year: 12 months";
}

TEST_F(ScheduleTest, ACalculationAfterALongerOne) {
    ScheduleInputs in = Example();
    in.LaterYear = 2000;
    in.Years = 40;
    ASSERT_EQ(Run(in), "");
    in = Example();
    in.Years = 5;
    ASSERT_EQ(Run(in), "");
    EXPECT_EQ(table.cells.RowCount(), 6);
    EXPECT_EQ(table.CumLater.size(), 6u);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(table.CumLater[static_cast<std::size_t>(r)].count, 0);
    EXPECT_EQ(Cell(grdYear, 6), "");
    EXPECT_FALSE(table.BreakEvenFound) << "the earlier break-even is cleared";
}

TEST_F(ScheduleTest, OverflowStopsInTheEarlyRunningTotal) {
    ASSERT_EQ(Run(Example()), "");  // leaves texts and a break-even behind
    ScheduleInputs in = Example();
    in.EarlyBenefit = 99999.99L;
    in.Cola = 100;
    in.Years = 40;
    EXPECT_EQ(Run(in), "Invalid floating point operation");
    EXPECT_EQ(table.cells.RowCount(), 41);
    EXPECT_FALSE(table.BreakEvenFound);
    EXPECT_EQ(table.BreakEvenYear, "");
    // Row 31 (2031) got its present value; its running total left the range.
    EXPECT_EQ(Cell(grdEarlyPvCumulative, 30), "5.63676359346E14");
    EXPECT_EQ(Cell(grdEarlyPv, 31), "5.30840844468E14");
    EXPECT_EQ(Cell(grdEarlyPvCumulative, 31), "");
    EXPECT_EQ(Cell(grdEarlyBenefit, 32), "");
    for (int r = 1; r <= 40; ++r)
        EXPECT_EQ(Cell(grdAge, r), std::to_string(61 + r));
    // The later side and the difference never ran: earlier texts stay, new rows are empty.
    EXPECT_EQ(Cell(grdLaterBenefit, 4), "$1,400.00");
    EXPECT_EQ(Cell(grdDifference, 14), "($2,272)");
    EXPECT_EQ(Cell(grdDifference, 21), "");
}

TEST_F(ScheduleTest, FollowsTheCellFormat) {
    TMoneyFormat& format = MoneyFormat();
    format.CurrencySymbol = "kr";
    format.PositivePattern = 3;
    format.NegativePattern = 8;
    format.GroupMark = ".";
    format.DecimalMark = ",";
    ASSERT_EQ(Run(Example()), "");
    ExpectRow({"2014", "12", "75", "1.378,51 kr", "16.542 kr", "11.264 kr", "162.801 kr",
               "1.792,12 kr", "21.505 kr", "14.644 kr", "165.073 kr", "-2.272 kr"});
}

// Logs what the table tells its observer, to see the passes.
class RecordingObserver final : public ResultCellsObserver {
  public:
    void RowCountChanging(int, int after) override {
        log.push_back("rows " + std::to_string(after));
    }
    void RowCountChanged() override {}
    void CellChanged(int column, int) override {
        if (log.empty() || log.back() != "set " + std::to_string(column))
            log.push_back("set " + std::to_string(column));
    }
    void AllCellsChanged() override { log.push_back("all"); }
    void CellsDestroyed() override {}
    std::vector<std::string> log;
};

TEST_F(ScheduleTest, WritesPassByPass) {
    RecordingObserver recording;
    TResultTable recorded;
    recorded.cells.SetObserver(&recording);
    ScheduleInputs in = Example();
    in.LaterYear = 2002;
    in.LaterBenefit = 3000;
    in.Years = 2;
    BuildSchedule(in, recorded);
    recorded.cells.SetObserver(nullptr);
    // Consecutive writes to one column are logged once.
    const std::vector<std::string> expected = {
        "rows 3", "set 0",  "set 1", "set 2", "set 3", "set 4",  "set 5",
        "set 6",  "set 3",  "set 4", "set 5", "set 6", "set 7",  "set 8",
        "set 9",  "set 10", "set 7", "set 8", "set 9", "set 10", "set 11",
    };
    EXPECT_EQ(recording.log, expected);
    EXPECT_EQ(recorded.BreakEvenYear, "2002");
}

TEST_F(ScheduleTest, BreakEvenYearIsTheYearText) {
    // The later pass and the break-even read the year column back from the cells.
    TResultTable recorded;
    ScheduleInputs in = Example();
    in.LaterYear = 2000;
    in.Years = 1;
    BuildSchedule(in, recorded);
    EXPECT_EQ(recorded.BreakEvenYear, recorded.cells.GetCellText(grdYear, 1));
}

// Random scenarios within the entry fields' rules, cell by cell against the reference.
TEST_F(ScheduleTest, AgreesWithTheReferenceOnRandomScenarios) {
    std::mt19937_64 random(19620101);
    auto pick = [&](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    int failures = 0;
    for (int i = 0; i < 800; ++i) {
        ScheduleInputs in;
        const bool typical = i % 2 == 0;
        // The fields hold decimal texts; the getters read them as extended reals, COLA
        // then rounded to a double.
        const long double cola =
            static_cast<long double>(pick(0, typical ? 80000 : 1000000)) / 10000;
        in.Cola = static_cast<double>(cola);
        in.Rate = static_cast<long double>(pick(0, typical ? 100000 : 1000000)) / 10000;
        if (i % 7 == 0)
            in.Rate = 0;
        if (i % 11 == 0)
            in.Cola = 0;
        in.EarlyBenefit = static_cast<long double>(pick(0, typical ? 400000 : 9999999)) / 100;
        in.LaterBenefit = static_cast<long double>(pick(0, typical ? 600000 : 9999999)) / 100;
        in.Years = static_cast<std::int32_t>(pick(1, 40));
        in.EarlyMonth = static_cast<std::int32_t>(pick(1, 12));
        in.LaterMonth = static_cast<std::int32_t>(pick(1, 12));
        in.EarlyYear = static_cast<std::int32_t>(pick(2000, 2030));
        in.LaterYear = static_cast<std::int32_t>(pick(2000, 2030));
        in.Age = static_cast<std::int32_t>(pick(1, 99));
        SCOPED_TRACE(::testing::Message()
                     << "scenario " << i << ": cola " << in.Cola << " rate "
                     << static_cast<double>(in.Rate) << " benefits "
                     << static_cast<double>(in.EarlyBenefit) << "/"
                     << static_cast<double>(in.LaterBenefit) << " years " << in.Years);

        const reference::Schedule expected = reference::BuildReferenceSchedule(in);
        TResultTable result;
        std::string error;
        try {
            BuildSchedule(in, result);
        } catch (const ArithmeticError& e) {
            error = e.what();
            SetArithmeticContext();
        }
        if (expected.failed)
            ++failures;
        ASSERT_EQ(error, expected.failed ? "Invalid floating point operation" : "");
        ASSERT_EQ(result.cells.RowCount(), in.Years + 1);
        for (int r = 1; r <= in.Years; ++r) {
            for (int c = 0; c < kResultColumns; ++c) {
                ASSERT_EQ(result.cells.GetCellText(c, r),
                          expected.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                    << "row " << r << ", column " << c;
            }
        }
        if (expected.failed)
            continue;
        for (int r = 1; r <= in.Years; ++r) {
            const auto row = static_cast<std::size_t>(r);
            ASSERT_EQ(result.CumEarly[row].count, expected.cumEarly[row]);
            ASSERT_EQ(result.CumLater[row].count, expected.cumLater[row]);
        }
        ASSERT_EQ(result.BreakEvenFound, expected.breakEvenFound);
        ASSERT_EQ(result.BreakEvenYear, expected.breakEvenYear);
    }
    EXPECT_GT(failures, 0) << "some scenarios should reach the end of the money range";
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The arithmetic path must give the full schedule's totals and break-even year: later starts
// before, in and after the early year, in December, after the last row, equal sides, no
// years, and years whose texts are not four digits long (where it falls back).
TEST(ScheduleArithmetic, AgreesWithTheFullSchedule) {
    SetArithmeticContext();
    struct Case {
        std::int32_t earlyYear, earlyMonth;
        long double earlyBenefit;
        std::int32_t laterYear, laterMonth;
        long double laterBenefit;
        std::int32_t years;
        long double rate;
        double cola;
    };
    const Case cases[] = {
        {2001, 1, 1000, 2004, 1, 1400, 20, 3, 2.5},  // the worked example
        {2001, 1, 1000, 2004, 1, 1400, 40, 0, 0},    // no discounting, no COLA
        {2022, 4, 1443.5L, 2030, 3, 3096.6L, 40, 3, 2.5},
        {2022, 4, 1443.5L, 2022, 12, 1450, 10, 5, 1},  // later start in the early year
        {2022, 4, 1443.5L, 2020, 6, 2000, 10, 5, 1},   // later start before the early year
        {2022, 4, 1000, 2070, 1, 9000, 40, 3, 2},      // after the last row
        {2022, 4, 1000, 2025, 1, 1000, 12, 3, 2},      // equal amounts
        {2022, 12, 1000, 2023, 1, 1300, 0, 3, 2},      // no years
        {998, 1, 1000, 1001, 1, 1400, 20, 3, 2.5},     // texts "998" .. "1017": the fallback
        {9990, 1, 1000, 9995, 1, 1800, 20, 3, 2.5},    // past 9999
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.earlyYear) + " " + std::to_string(c.laterYear));
        ScheduleInputs in;
        in.EarlyYear = c.earlyYear;
        in.EarlyMonth = c.earlyMonth;
        in.EarlyBenefit = c.earlyBenefit;
        in.LaterYear = c.laterYear;
        in.LaterMonth = c.laterMonth;
        in.LaterBenefit = c.laterBenefit;
        in.Years = c.years;
        in.Rate = c.rate;
        in.Cola = c.cola;
        in.Age = 62;
        TResultTable full;
        BuildSchedule(in, full);
        ScheduleTotals totals;
        ScheduleArithmetic(in).Totals(c.laterYear, c.laterMonth, c.laterBenefit, totals);
        EXPECT_EQ(totals.CumEarly, full.CumEarly);
        EXPECT_EQ(totals.CumLater, full.CumLater);
        EXPECT_EQ(totals.BreakEvenFound, full.BreakEvenFound);
        if (full.BreakEvenFound) {
            EXPECT_EQ(std::to_string(totals.BreakEvenYear), full.BreakEvenYear);
        }
    }
}

}  // namespace
}  // namespace velmora
