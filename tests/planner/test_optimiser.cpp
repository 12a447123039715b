#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/money.h"
#include "planner/household.h"
#include "planner/mortality.h"
#include "planner/optimiser.h"
#include "support/plannerinputs.h"

namespace velmora::planner {
namespace {

using velmora::testing::M;
using velmora::testing::Person;

// The shipped cohort tables rebuild l(x) from q(x): the remaining life at 65 of those born
// in 1960 is SSA's published 19.25 years (men) and 21.84 (women).
TEST(Mortality, CohortTablesGiveSsasLifeExpectancy) {
    const CohortLifeTables& tables = CohortLifeTables::Shipped();
    EXPECT_EQ(tables.FirstYear(), 1932);
    EXPECT_EQ(tables.LastAge(), 119);
    for (auto [sex, expected] : {std::pair{Sex::Male, 19.25L}, std::pair{Sex::Female, 21.84L}}) {
        const auto l = SurvivorsOf(Person({1960, 6, 1}, 0, sex), MortalityKind::Cohort);
        long double area = 0;
        for (std::size_t x = 65; x + 1 < l.size(); ++x)
            area += (l[x] + l[x + 1]) / 2;
        EXPECT_LT(std::fabs(area / l[65] - expected), 0.01L);
    }
}

TEST(Mortality, FactorOnQAndMonthlySurvival) {
    PersonInputs p = Person({1960, 6, 1}, 0, Sex::Male);
    const auto plain = SurvivorsOf(p, MortalityKind::Cohort);
    p.mortalityFactor = 2;
    const auto doubled = SurvivorsOf(p, MortalityKind::Cohort);
    const CohortLifeTables& tables = CohortLifeTables::Shipped();
    const long double q70 = tables.Q(Sex::Male, 1960, 70);
    EXPECT_LT(std::fabs(doubled[71] / doubled[70] - (1 - 2 * q70)), 1e-15L);
    EXPECT_LT(std::fabs(plain[71] / plain[70] - (1 - q70)), 1e-15L);
    // Capped at 1: with factor 4 the q of the oldest ages reach 1 and nobody is left.
    p.mortalityFactor = 4;
    const auto four = SurvivorsOf(p, MortalityKind::Cohort);
    EXPECT_EQ(four.back(), 0);
    // Monthly: conditioned on the start of the as-of month, l linear between whole ages.
    // Born 1 January 1960: exactly 65 at the start of January 2025 and 66 at the end of
    // December 2025.
    p.mortalityFactor = 1;
    p.born = {1960, 1, 1};
    const auto alive = MonthlySurvival(p, M(2025, 1), MortalityKind::Cohort);
    EXPECT_LT(alive.front(), 1);
    EXPECT_EQ(alive.back(), 0);
    EXPECT_LT(std::fabs(alive[11] - plain[66] / plain[65]), 1e-15L);
    // At the end of June 181 days of the year of age have passed: l is that far between
    // l(65) and l(66).
    const long double part = FractionalYear({2025, 7, 1}) - 2025;
    EXPECT_LT(std::fabs(part - 181.0L / 365), 1e-15L);
    EXPECT_LT(std::fabs(alive[5] - (plain[65] + (plain[66] - plain[65]) * part) / plain[65]),
              1e-15L);
    for (std::size_t k = 1; k < alive.size(); ++k)
        ASSERT_LE(alive[k], alive[k - 1]);
}

// The payments of a couple month by month, worked by hand (no COLA):
//   client born 2 May 1962, PIA $800.00, FRA 2029-05, claims 2030-01 with the 8 credits of
//   2029 at 2/3 of 1 %: 800 x 1.05333 = 842.66 -> $842.60, paid $842;
//   spouse born 10 February 1961, PIA $2,000.00, FRA 2028-02, claims 2030-06: the 23 credits
//   of 2028-2029 at once (2,306.66 -> $2,306), the 5 of 2030 from January 2031
//   (28 credits: 2,373.33 -> $2,373);
//   from 2030-06 the client's spousal part: half of 2,000 less 800 = $200, past FRA
//   unreduced, on top of the own benefit without credits: 800 + 200 = $1,000 > $842.60;
//   the spouse dies in 2031-03: nothing for the spouse from that month, the client's own
//   $842 for it, and from 2031-04 (past survivor FRA, so the month after) the survivor
//   benefit, the spouse's benefit with all its credits: $2,373.30 -> $2,373.
TEST(Payments, CoupleWithADeathByHand) {
    HouseholdInputs h;
    h.client = Person({1962, 5, 2}, 80000);
    h.spouse = Person({1961, 2, 10}, 200000, Sex::Male);
    h.asOf = {2030, 1, 15};
    CheckHousehold(h);
    const HouseholdModel model(h);
    const auto rows = model.Payments(M(2030, 1), M(2030, 6), Death{Who::Spouse, M(2031, 3)});
    struct Row {
        const char* month;
        const char* paid;
        std::int64_t client;
        const char* clientKind;
        std::int64_t spouse;
        const char* spouseKind;
    };
    const Row expected[] = {
        {"2030-01", "2030-02", 842, "own", 0, ""},
        {"2030-05", "2030-06", 842, "own", 0, ""},
        {"2030-06", "2030-07", 1000, "own+spousal", 2306, "own"},
        {"2030-12", "2031-01", 1000, "own+spousal", 2306, "own"},
        {"2031-01", "2031-02", 1000, "own+spousal", 2373, "own"},
        {"2031-02", "2031-03", 1000, "own+spousal", 2373, "own"},
        {"2031-03", "2031-04", 842, "own", 0, ""},
        {"2031-04", "2031-05", 2373, "survivor", 0, ""},
        {"2040-12", "2041-01", 2373, "survivor", 0, ""},
    };
    for (const Row& e : expected) {
        SCOPED_TRACE(e.month);
        const PaymentRow* found = nullptr;
        for (const auto& r : rows) {
            if (MonthText(r.benefitMonth) == e.month)
                found = &r;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(MonthText(found->paidMonth), e.paid);
        EXPECT_EQ(found->client.dollars, e.client);
        EXPECT_STREQ(PaymentKindText(found->client.kind), e.clientKind);
        EXPECT_EQ(found->spouse.dollars, e.spouse);
        EXPECT_STREQ(PaymentKindText(found->spouse.kind), e.spouseKind);
    }
    EXPECT_EQ(MonthText(rows.front().benefitMonth), "2030-01");
    EXPECT_EQ(rows.back().benefitMonth, model.LastMonth());

    // Read from a later month (the chart reads from the death on) the rows are those months'
    // rows, the survivor benefit included; a first month before the as-of month is the whole.
    for (const Month first : {M(2031, 3), M(2031, 5), M(2029, 1)}) {
        SCOPED_TRACE(MonthText(first));
        const auto tail =
            model.Payments(M(2030, 1), M(2030, 6), Death{Who::Spouse, M(2031, 3)}, first);
        const int skipped = std::max(0, first.index - rows.front().benefitMonth.index);
        ASSERT_EQ(tail.size(), rows.size() - static_cast<std::size_t>(skipped));
        for (std::size_t i = 0; i < tail.size(); ++i) {
            const PaymentRow& whole = rows[i + static_cast<std::size_t>(skipped)];
            EXPECT_EQ(tail[i].benefitMonth, whole.benefitMonth);
            EXPECT_EQ(tail[i].client, whole.client);
            EXPECT_EQ(tail[i].spouse, whole.spouse);
        }
    }
}

// The search shares streams and sums; every pair must still be what the plain month-by-month
// sum over every death month gives.
TEST(CoupleSearch, AgreesWithThePlainSumAndPicksTheLargest) {
    struct Case {
        const char* what;
        HouseholdInputs in;
    };
    std::vector<Case> cases;
    {
        HouseholdInputs h;
        h.client = Person({1962, 3, 15}, 120000);
        h.spouse = Person({1960, 7, 2}, 310000, Sex::Male);
        h.asOf = {2023, 1, 10};
        h.cola = 2.5;
        h.rate = 3;
        cases.push_back({"two earners", h});
        h.spouse->claimed = M(2023, 1);
        h.client.mortalityFactor = 0.5L;
        h.cut = BenefitCut{2300, 2033};
        cases.push_back({"spouse claimed, cut, healthy client", h});
    }
    {
        HouseholdInputs h;
        h.client = Person({1958, 11, 1}, 0, Sex::Male);
        h.spouse = Person({1964, 2, 20}, 250000);
        h.asOf = {2024, 6, 1};
        h.cola = 2;
        h.rate = 2;
        h.mortality = MortalityKind::Period;
        h.spouse->mortalityFactor = 3;
        cases.push_back({"no own benefit, younger ill spouse, period table", h});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CheckHousehold(c.in);
        const HouseholdModel model(c.in);
        const CoupleSearch search = model.SearchCouple();
        ASSERT_EQ(search.values.size(),
                  static_cast<std::size_t>(search.clientCount * search.spouseCount));
        const int pairs[][2] = {{0, 0},
                                {search.clientCount - 1, search.spouseCount - 1},
                                {search.clientCount / 2, 0},
                                {5, search.spouseCount / 3}};
        for (const auto& p : pairs) {
            const Month cm{search.clientFirst.index + std::min(p[0], search.clientCount - 1)};
            const Month sm{search.spouseFirst.index + std::min(p[1], search.spouseCount - 1)};
            const long double plain = model.CoupleValue(cm, sm);
            EXPECT_LT(std::fabs(search.Value(cm, sm) - plain), 1e-9L * plain)
                << MonthText(cm) << " " << MonthText(sm);
        }
        for (long double v : search.values)
            ASSERT_LE(v, search.best.value);
        ASSERT_FALSE(search.topTen.empty());
        EXPECT_EQ(search.topTen.front().client, search.best.client);
        for (std::size_t i = 1; i < search.topTen.size(); ++i)
            EXPECT_LE(search.topTen[i].value, search.topTen[i - 1].value);
        EXPECT_EQ(search.bothEarliest.client, search.clientFirst);
        EXPECT_EQ(*search.both70.spouse, Month{search.spouseFirst.index + search.spouseCount - 1});
    }
}

// One client's search reworks an amount only where it can change; every month must still be
// the plain sum over the months.
TEST(SingleSearch, AgreesWithThePlainSum) {
    HouseholdInputs h;
    h.client = Person({1960, 3, 2}, 200000);
    h.asOf = {2021, 6, 1};
    h.cola = 2.5;
    h.rate = 3;
    h.cut = BenefitCut{2300, 2033};
    const HouseholdModel model(h);
    const SingleSearch search = model.SearchSingle();
    ASSERT_EQ(search.months.size(), 97u);
    for (const ChoiceValue& v : search.months) {
        const long double plain = model.SingleValue(v.client);
        ASSERT_LT(std::fabs(v.value - plain), 1e-9L * plain) << MonthText(v.client);
        ASSERT_LE(v.value, search.months[search.best].value);
    }
}

TEST(Household, RefusalsSayWhy) {
    const auto base = [] {
        HouseholdInputs h;
        h.client = Person({1962, 3, 15}, 120000);
        h.spouse = Person({1960, 7, 2}, 310000, Sex::Male);
        h.asOf = {2025, 1, 10};
        return h;
    };
    struct Case {
        void (*change)(HouseholdInputs&);
        const char* message;
    };
    const Case cases[] = {
        {[](HouseholdInputs& h) {
             h.spouse->born = {1950, 7, 2};
         },
         "The spouse attained age 70 in 2020-07, before the as-of month 2025-01: no claiming "
         "month is left."},
        {[](HouseholdInputs& h) { h.client.claimed = M(2025, 2); },
         "The client's claimed month 2025-02 lies after the as-of month 2025-01."},
        {[](HouseholdInputs& h) { h.spouse->claimed = M(2022, 6); },
         "The spouse's claimed month 2022-06 lies before the first month at 62, 2022-07."},
        {[](HouseholdInputs& h) { h.spouse->mortalityFactor = 4.5L; },
         "The spouse's mortality factor must be between 0.25 and 4."},
        {[](HouseholdInputs& h) { h.client.mortalityFactor = 0.2L; },
         "The client's mortality factor must be between 0.25 and 4."},
        {[](HouseholdInputs& h) {
             h.cut = BenefitCut{0, 2033};
         },
         "The benefit cut must be more than 0 and at most 100 percent."},
        {[](HouseholdInputs& h) { h.spouse->piaCents = 10'000'000; },
         "The spouse's benefit at full retirement age must be between 0 and 99,999.99."},
    };
    for (const Case& c : cases) {
        HouseholdInputs h = base();
        c.change(h);
        try {
            CheckHousehold(h);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const PlanError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    // Someone past 70 who has claimed is no refusal: only the other is chosen.
    HouseholdInputs h = base();
    h.spouse->born = {1950, 7, 2};
    h.spouse->claimed = M(2016, 1);
    EXPECT_NO_THROW(CheckHousehold(h));
}

}  // namespace
}  // namespace velmora::planner
