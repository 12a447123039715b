#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "planner/pia.h"

namespace velmora::planner {
namespace {

std::string ShippedCsv() {
    std::ifstream in(VELMORA_PROGRAM_DATA_CSV);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::int64_t AwiCents(int year) {
    return *ProgramData::Shipped().Find(year)->awiCents;
}

// Each year's earnings equal to that year's average wage: indexed, each is the wage index
// of the indexing year exactly, so the AIME and PIA can be worked by hand.
EarningsRecord AtTheAverageWage(int from, int to) {
    EarningsRecord record;
    for (int year = from; year <= to; ++year)
        record.years.push_back({year, AwiCents(year)});
    return record;
}

PiaInputs Inputs(Date born, Date asOf, EarningsRecord record) {
    PiaInputs in;
    in.born = born;
    in.asOf = asOf;
    in.record = std::move(record);
    in.colaMillionths = 25000;
    return in;
}

const Date kBorn1964{1964, 5, 20};  // attains 62 in 2026
const Date kAsOf2026{2026, 12, 10};

TEST(ProgramData, BendPointsAsSsaPublishesThem) {
    struct Case {
        int eligibility;
        std::int64_t first, second;
    };
    // SSA, Office of the Chief Actuary, "PIA formula bend points".
    const Case cases[] = {
        {1979, 180, 1085},  {2011, 749, 4517},  {2022, 1024, 6172},
        {2024, 1174, 7078}, {2025, 1226, 7391}, {2026, 1286, 7749},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eligibility);
        const auto [first, second] = BendPoints(AwiCents(c.eligibility - 2), AwiCents(1977));
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
    }
}

TEST(ProgramData, QuarterOfCoverageAmountsFollowTheWageIndexAndNeverFall) {
    const ProgramSeries series(ProgramData::Shipped(), 2026, 0, 0);
    struct Case {
        int year;
        std::int64_t dollars;
    };
    // SSA's table of the amount for a quarter of coverage; 2011 stays at 2010's amount
    // although the wage index of 2009 fell.
    const Case cases[] = {{1977, 0},    {1978, 250},  {1979, 260},  {1980, 290},
                          {1990, 520},  {2010, 1120}, {2011, 1120}, {2012, 1130},
                          {2024, 1730}, {2025, 1810}, {2026, 1890}};
    for (const auto& c : cases)
        EXPECT_EQ(series.At(c.year).quarterOfCoverageDollars, c.dollars) << c.year;
}

TEST(ProgramData, MissingFiguresAreProjected) {
    // Without the last two taxable maximums, they come from the wage index as the law
    // derives them, and match what SSA published.
    const std::string shipped = ShippedCsv();
    std::string text = Replaced(shipped, "2025,,2.8,176100", "2025,,2.8,");
    text = Replaced(text, "2026,,,184500", "2026,,,");
    const ProgramData data = ProgramData::FromCsv(text, "test");
    const ProgramSeries series(data, 2028, 40000, 25000);
    EXPECT_EQ(series.At(2025).taxableMaximumDollars, 176100);
    EXPECT_EQ(series.At(2026).taxableMaximumDollars, 184500);
    EXPECT_TRUE(series.At(2026).taxableMaximumProjected);
    EXPECT_FALSE(series.At(2024).taxableMaximumProjected);
    // The wage index grows by the assumed growth to the cent; the COLA of December 2026
    // is the plan's.
    EXPECT_EQ(series.At(2025).awiCents, 7264043);
    EXPECT_EQ(series.At(2026).awiCents, 7554605);
    EXPECT_TRUE(series.At(2025).awiProjected);
    EXPECT_EQ(series.At(2025).colaMillionths, 28000);
    EXPECT_FALSE(series.At(2025).colaProjected);
    EXPECT_EQ(series.At(2026).colaMillionths, 25000);
    EXPECT_TRUE(series.At(2026).colaProjected);

    // With no COLA for December 2026 the maximum of 2027 is not raised.
    EXPECT_GT(series.At(2027).taxableMaximumDollars, 184500);
    EXPECT_EQ(ProgramSeries(data, 2027, 40000, 0).At(2027).taxableMaximumDollars, 184500);

    // The mean yearly growth of 2014-2024, to the hundredth of a percent.
    EXPECT_EQ(ProgramData::Shipped().DefaultWageGrowth(), 41600);
    EXPECT_EQ(PercentText(41600), "4.16");
}

TEST(ProgramData, ANewerFileReplacesTheShippedFigures) {
    const std::string newer =
        Replaced(ShippedCsv(), "2025,,2.8,176100", "2025,72255.52,2.8,176100");
    const ProgramData data = ProgramData::FromCsv(newer, "newer.csv");
    EXPECT_EQ(data.LastAwiYear(), 2025);
    EXPECT_NE(data.DefaultWageGrowth(), ProgramData::Shipped().DefaultWageGrowth());

    PiaInputs in = Inputs({1965, 7, 10}, kAsOf2026, AtTheAverageWage(1995, 2004));
    in.data = &data;
    const PiaComputation pia(in);
    EXPECT_EQ(pia.ProjectedAwiYears(), std::vector<int>{});
    EXPECT_EQ(pia.IndexingAwiCents(), 7225552);
    EXPECT_EQ(pia.ProgramDataSource(), "newer.csv");
}

TEST(ProgramData, UnusableFilesAreRefusedWithTheLine) {
    const std::string shipped = ShippedCsv();
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"year,awi\n", "t line 1: expected the header"},
        {Replaced(shipped, "1990,21027.98,5.4,51300", "1990,21027.98,5.4"), "expected four fields"},
        {Replaced(shipped, "1990,21027.98,5.4,51300\n", ""), "expected 1990"},
        {Replaced(shipped, "1990,21027.98,", "1990,-21027.98,"), "the wage index must be"},
        {Replaced(shipped, "1990,21027.98,5.4,", "1990,21027.98,-5.4,"), "the COLA must be"},
        {Replaced(shipped, "1990,21027.98,5.4,51300", "1990,21027.98,5.4,51300.5"),
         "the taxable maximum must be"},
        {Replaced(shipped, "1990,21027.98,", "1990,,"), "the wage index has a gap"},
        {"year,awi,cola_percent,taxable_maximum\n1937,,,3000\n",
         "the wage index must run at least to 1992"},
    };
    for (const auto& c : cases) {
        try {
            ProgramData::FromCsv(c.text, "t");
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const ProgramDataError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(ProgramData::FromFile("/nonexistent/program.csv"), ProgramDataError);
}

TEST(PiaFormula, WorkedExamplesOfTheFormula) {
    struct Case {
        std::int64_t aime, bend1, bend2, piaCents;
    };
    const Case cases[] = {
        {0, 1286, 7749, 0},          {1000, 1174, 7078, 90000},  // all in the first band
        {1174, 1174, 7078, 105660},                              // 90 % of 1,174 is 1,056.60
        {5000, 1174, 7078, 228090},   // 1,056.60 + 1,224.32 = 2,280.92, down to the dime
        {10000, 1286, 7749, 356320},  // 1,157.40 + 2,068.16 + 337.65 = 3,563.21
        {7749, 1286, 7749, 322550},   // 3,225.56 down to the dime
    };
    for (const auto& c : cases)
        EXPECT_EQ(PiaFromAime(c.aime, c.bend1, c.bend2), c.piaCents) << c.aime;
}

TEST(PiaFormula, ColaStepsRoundDownToTheDimeEachTime) {
    // A PIA of $1,017.60 first eligible in 2022 through the COLAs of December 2022-2025.
    struct Step {
        std::int64_t cola, after;
    };
    const Step steps[] = {{87000, 110610}, {32000, 114140}, {25000, 116990}, {28000, 120260}};
    std::int64_t pia = 101760;
    for (const auto& s : steps) {
        pia = ApplyColaToPia(pia, s.cola);
        EXPECT_EQ(pia, s.after);
    }
}

TEST(PiaComputation, IndexedEarningsRoundToTheNearestCent) {
    // $10,513.99 of 1990 indexed to 2024 is exactly $34,923.285, which rounds up.
    PiaInputs in = Inputs(kBorn1964, kAsOf2026, {{{1990, 1051399}, {2024, 500000}}});
    const PiaComputation pia(in);
    ASSERT_EQ(pia.EligibilityYear(), 2026);
    ASSERT_EQ(pia.Years().front().year, 1990);
    const PiaYear& y1990 = pia.Years().front();
    EXPECT_EQ(y1990.factorNumerator, AwiCents(2024));
    EXPECT_EQ(y1990.factorDenominator, AwiCents(1990));
    EXPECT_EQ(y1990.indexedCents, 3492329);
    // The indexing year and later count as earned.
    const PiaYear& y2024 = pia.Years().back();
    EXPECT_EQ(y2024.factorNumerator, 1);
    EXPECT_EQ(y2024.factorDenominator, 1);
    EXPECT_EQ(y2024.indexedCents, 500000);
    // The years between with no earnings are listed as zeros.
    EXPECT_EQ(pia.Years().size(), 35u);
    EXPECT_EQ(pia.Years()[1].source, EarningsSource::None);
}

TEST(PiaComputation, TheHighestThirtyFiveYears) {
    struct Case {
        const char* name;
        EarningsRecord record;
        int withEarnings;
        std::int64_t aime, piaCents;
    };
    EarningsRecord more = AtTheAverageWage(1989, 2023);
    for (int year = 1984; year <= 1988; ++year)
        more.years.push_back({year, 100000});  // lower, left out
    std::sort(more.years.begin(), more.years.end(),
              [](const EarningsYear& a, const EarningsYear& b) { return a.year < b.year; });
    EarningsRecord capped = AtTheAverageWage(1989, 2023);
    capped.years.back().cents = 50000000;  // $500,000 counts only to the taxable maximum
    const Case cases[] = {
        // 35 x $69,846.57 / 420 = $5,820.54; 1,157.40 + 32 % of 4,534 = 2,608.28.
        {"more than 35", more, 35, 5820, 260820},
        {"exactly 35", AtTheAverageWage(1989, 2023), 35, 5820, 260820},
        // Ten years and 25 zeros: 10 x $69,846.57 / 420 = $1,663.01.
        {"fewer than 35", AtTheAverageWage(1994, 2003), 10, 1663, 127800},
        // 2023's $160,200 maximum indexed to $167,954.34; with 34 x 69,846.57 that is
        // $2,542,737.72 / 420 = $6,054.13; 1,157.40 + 32 % of 4,768 = 2,683.16.
        {"capped at the maximum", capped, 35, 6054, 268310},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PiaComputation pia(Inputs(kBorn1964, kAsOf2026, c.record));
        EXPECT_EQ(pia.ComputationYears(), 35);
        EXPECT_EQ(pia.YearsWithEarnings(), c.withEarnings);
        EXPECT_EQ(pia.AimeDollars(), c.aime);
        EXPECT_EQ(pia.FirstBendPointDollars(), 1286);
        EXPECT_EQ(pia.SecondBendPointDollars(), 7749);
        EXPECT_EQ(pia.PiaAtEligibilityCents(), c.piaCents);
        for (const auto& y : pia.Years()) {
            if (y.year < 1989) {
                EXPECT_FALSE(y.amongHighest) << y.year;
            }
        }
    }
}

TEST(PiaComputation, CreditsAtTheQuarterOfCoverageBoundaries) {
    struct Case {
        int year;
        std::int64_t cents;
        int credits;
        bool estimated;
    };
    const Case cases[] = {
        // 2026: $1,890 a credit.
        {2026, 188999, 0, false},
        {2026, 189000, 1, false},
        {2026, 377999, 1, false},
        {2026, 378000, 2, false},
        {2026, 755999, 3, false},
        {2026, 756000, 4, false},
        {2026, 50000000, 4, false},
        // 1978: $250.
        {1978, 99999, 3, false},
        {1978, 100000, 4, false},
        // Before 1978: four at the year's maximum ($16,500 in 1977), else one per $100.
        {1977, 1650000, 4, true},
        {1977, 29999, 2, true},
        {1977, 9999, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + " " + std::to_string(c.cents));
        const PiaComputation pia(Inputs({1940, 6, 10}, kAsOf2026, {{{c.year, c.cents}}}));
        ASSERT_EQ(pia.Years().size(), 1u);
        EXPECT_EQ(pia.Years()[0].credits, c.credits);
        EXPECT_EQ(pia.Years()[0].creditsEstimated, c.estimated);
        EXPECT_EQ(pia.TotalCredits(), c.credits);
    }
    // Before 1951: one for each $400 of the period's total.
    const PiaComputation early(Inputs({1933, 6, 10}, kAsOf2026, {{{1949, 50000}, {1950, 79999}}}));
    EXPECT_EQ(early.CreditsBefore1951(), 3);
    EXPECT_EQ(early.TotalCredits(), 3);
    EXPECT_EQ(early.AimeDollars(), 0);  // years before 1951 are not base years
}

TEST(PiaComputation, ThirtyNineCreditsGiveNoBenefitOfTheirOwn) {
    EarningsRecord record = AtTheAverageWage(1994, 2003);
    {
        const PiaComputation pia(Inputs(kBorn1964, kAsOf2026, record));
        EXPECT_EQ(pia.TotalCredits(), 40);
        EXPECT_TRUE(pia.Insured());
        EXPECT_EQ(pia.PiaAsOfCents(), 127800);
    }
    record.years.back().cents = 3 * 890 * 100;  // 2003: $890 a credit, three of them
    const PiaComputation pia(Inputs(kBorn1964, kAsOf2026, record));
    EXPECT_EQ(pia.TotalCredits(), 39);
    EXPECT_FALSE(pia.Insured());
    EXPECT_EQ(pia.PiaAsOfCents(), 0);
    EXPECT_GT(pia.FormulaPiaAsOfCents(), 0);
    bool said = false;
    for (const auto& note : pia.Notes())
        said = said || note.find("no retirement benefit of their own") != std::string::npos;
    EXPECT_TRUE(said);
}

TEST(PiaComputation, ColaStepsFromTheEligibilityYearToTheAsOfYear) {
    // First eligible in 2022 (bend points $1,024 and $6,172); ten years at the average
    // wage: 10 x $55,628.60 / 420 = $1,324.49; 921.60 + 32 % of 300 = $1,017.60.
    struct Case {
        Date asOf;
        std::vector<int> decembers;
        std::vector<int> projected;
        std::int64_t piaAsOf;
    };
    const Case cases[] = {
        {{2022, 12, 31}, {}, {}, 101760},
        {{2023, 1, 1}, {2022}, {}, 110610},
        {{2026, 6, 1}, {2022, 2023, 2024, 2025}, {}, 120260},
        // December 2026 not yet published: the plan's COLA of 2.5 %.
        {{2027, 3, 1}, {2022, 2023, 2024, 2025, 2026}, {2026}, 123260},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(DateText(c.asOf));
        const PiaComputation pia(Inputs({1960, 3, 15}, c.asOf, AtTheAverageWage(2000, 2009)));
        EXPECT_EQ(pia.EligibilityYear(), 2022);
        EXPECT_EQ(pia.PiaAtEligibilityCents(), 101760);
        std::vector<int> decembers;
        for (const auto& step : pia.ColaSteps())
            decembers.push_back(step.decemberOf);
        EXPECT_EQ(decembers, c.decembers);
        EXPECT_EQ(pia.ProjectedColaYears(), c.projected);
        EXPECT_EQ(pia.PiaAsOfCents(), c.piaAsOf);
    }
}

TEST(PiaComputation, ReachingSixtyTwoAfterTheLastPublishedWageIndex) {
    // Born 1970: eligible in 2032, indexed to 2030, five years past the last published
    // index (2024), grown at 4 %.
    PiaInputs in = Inputs({1970, 7, 10}, kAsOf2026, AtTheAverageWage(1995, 2024));
    in.wageGrowthMillionths = 40000;
    const PiaComputation pia(in);
    EXPECT_EQ(pia.EligibilityYear(), 2032);
    EXPECT_EQ(pia.ProjectedAwiYears(), (std::vector<int>{2025, 2026, 2027, 2028, 2029, 2030}));
    EXPECT_TRUE(pia.BendPointsProjected());
    EXPECT_EQ(pia.IndexingAwiCents(), 8837819);
    EXPECT_EQ(pia.FirstBendPointDollars(), 1627);
    EXPECT_EQ(pia.SecondBendPointDollars(), 9805);
    // In dollars of 2032, taken back six years by the plan's 2.5 % to dollars of 2026.
    EXPECT_EQ(pia.YearsTakenBack(), 6);
    EXPECT_TRUE(pia.ColaSteps().empty());
    const long double back =
        static_cast<long double>(pia.PiaAtEligibilityCents()) / std::pow(1.025L, 6.0L);
    EXPECT_LE(pia.PiaAsOfCents(), back);
    EXPECT_GT(pia.PiaAsOfCents(), back - 10);
    EXPECT_EQ(pia.PiaAsOfCents() % 10, 0);
    std::string notes;
    for (const auto& note : pia.Notes())
        notes += note + "\n";
    EXPECT_NE(notes.find("the wage index of 2025-2030, grown by the assumed wage growth"),
              std::string::npos)
        << notes;
    EXPECT_NE(notes.find("is in dollars of 2032 (bend points from the wage index of 2030, "
                         "projected)"),
              std::string::npos)
        << notes;
}

TEST(PiaComputation, FutureEarningsUntilAnAge) {
    PiaInputs in = Inputs(kBorn1964, {2026, 1, 15}, AtTheAverageWage(1990, 2025));
    in.wageGrowthMillionths = 30000;
    in.future = FutureEarnings{6000000, 67};  // attained 2031-05-19: January-April of 2031
    const PiaComputation pia(in);
    struct Expected {
        int year;
        std::int64_t cents;
    };
    const Expected expected[] = {{2026, 6000000}, {2027, 6180000}, {2028, 6365400},
                                 {2029, 6556362}, {2030, 6753053}, {2031, 6955645 / 3}};
    ASSERT_EQ(pia.Years().back().year, 2031);
    for (const auto& e : expected) {
        const PiaYear& y = pia.Years()[static_cast<std::size_t>(e.year - 1990)];
        EXPECT_EQ(y.year, e.year);
        EXPECT_EQ(y.source, EarningsSource::Future) << e.year;
        EXPECT_EQ(y.earningsCents, e.cents) << e.year;
    }

    // Stopping now adds nothing; a recorded as-of year is kept as recorded.
    in.future = FutureEarnings{0, 67};
    EXPECT_EQ(PiaComputation(in).Years().back().year, 2025);
    in.record.years.push_back({2026, 100});
    in.future = FutureEarnings{6000000, 67};
    const PiaComputation kept(in);
    EXPECT_EQ(kept.Years()[36].earningsCents, 100);
    EXPECT_EQ(kept.Years()[36].source, EarningsSource::Record);
    EXPECT_EQ(kept.Years()[37].earningsCents, 6180000);

    // Until a month instead (the claim month): the months before it in its year count,
    // the same as the age 67 attained in that month.
    in.record.years.pop_back();
    in.future = FutureEarnings{6000000, 0, Month::Of(2031, 5)};
    const PiaComputation untilMonth(in);
    ASSERT_EQ(untilMonth.Years().back().year, 2031);
    EXPECT_EQ(untilMonth.Years().back().earningsCents, 6955645 / 3);
    in.future = FutureEarnings{6000000, 0, Month::Of(2029, 1)};
    EXPECT_EQ(PiaComputation(in).Years().back().year, 2028);
}

TEST(PiaComputation, RefusedInputs) {
    struct Case {
        const char* name;
        PiaInputs in;
        const char* message;
    };
    PiaInputs later = Inputs(kBorn1964, kAsOf2026, {{{2027, 100}}});
    PiaInputs beforeBirth = Inputs(kBorn1964, kAsOf2026, {{{1963, 100}}});
    PiaInputs early = Inputs({1932, 12, 31}, kAsOf2026, {});
    PiaInputs age = Inputs(kBorn1964, kAsOf2026, {});
    age.future = FutureEarnings{100, 21};
    PiaInputs growth = Inputs(kBorn1964, kAsOf2026, {});
    growth.wageGrowthMillionths = 150001;
    PiaInputs cola = Inputs(kBorn1964, kAsOf2026, {});
    cola.colaMillionths = 1000001;
    const Case cases[] = {
        {"record after as-of", later,
         "The earnings record has the year 2027, after the as-of "
         "year 2026."},
        {"record before birth", beforeBirth, "before the year of birth"},
        {"born before 1933", early, "2 January 1933 or later"},
        {"stopping age", age, "between 22 and 80"},
        {"wage growth", growth, "The wage growth must be between -10 and 15 percent."},
        {"cola", cola, "The COLA must be between 0 and 100 percent."},
    };
    for (const auto& c : cases) {
        try {
            PiaComputation pia(c.in);
            ADD_FAILURE() << c.name << " accepted";
        } catch (const PiaError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace velmora::planner
