#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/money.h"
#include "planner/household.h"
#include "planner/mortality.h"
#include "planner/optimiser.h"
#include "planner/payments.h"
#include "support/plannerinputs.h"

namespace velmora::planner {
namespace {

using velmora::testing::M;
using velmora::testing::Person;

HouseholdInputs Household(PersonInputs client, Date asOf, double cola = 0) {
    HouseholdInputs h;
    h.client = client;
    h.asOf = asOf;
    h.cola = cola;
    return h;
}

std::string Dollars(std::int64_t cents) {
    return std::to_string(cents / 100) + "." + (cents % 100 < 10 ? "0" : "") +
           std::to_string(cents % 100);
}

// One person's benefit in a month, against SSA's published figures.
TEST(BenefitRules, OwnBenefitFromSsaExamples) {
    struct Case {
        const char* what;
        Date born;
        std::int64_t pia;
        Date asOf;
        Month claim;
        Month month;
        const char* cents;
    };
    const Case cases[] = {
        // RS 00615.692: PIA $1,000, born 6/15/1940, 30 credits at 7/12 of 1 %: $1,175.00. FRA
        // 65y 6m is 2005-12; a claim in 2008-06 is paid the 25 credits of 2006-2007 at once...
        {"25 credits first",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2008, 6),
         M(2008, 6),
         "1145.80"},
        {"still 25 in December",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2008, 6),
         M(2008, 12),
         "1145.80"},
        // ... and the 5 of the claim year from the next January.
        {"all 30 from January",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2008, 6),
         M(2009, 1),
         "1175.00"},
        // In the year 70 is attained the year's credits come with the month of 70 (2010-06).
        {"year of 70, before 70",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2010, 2),
         M(2010, 5),
         "1285.80"},
        {"year of 70, from 70",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2010, 2),
         M(2010, 6),
         "1291.60"},
        {"at 70 all at once",
         {1940, 6, 15},
         100000,
         {2005, 1, 10},
         M(2010, 6),
         M(2010, 6),
         "1315.00"},
        // RS 00615.692's earlier example puts 25 credits on $802.80 (at 1/3 of 1 %, a rate
        // before 1933); at the 2/3 of 1 % of 1943 and later: 802.80 x 1.16666 = 936.60.
        {"2/3 of 1 % a month",
         {1943, 3, 10},
         80280,
         {2009, 1, 10},
         M(2011, 4),
         M(2012, 1),
         "936.60"},
        // Early: 5/9 of 1 % for 36 months, 5/12 of 1 % beyond; 60 months early is 70 %.
        {"62 with FRA 67", {1962, 5, 2}, 123450, {2024, 5, 1}, M(2024, 5), M(2024, 5), "864.10"},
        {"not yet claimed", {1962, 5, 2}, 123450, {2024, 5, 1}, M(2024, 6), M(2024, 5), "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HouseholdInputs h = Household(Person(c.born, c.pia), c.asOf);
        CheckHousehold(h);
        const BenefitRules rules(h);
        EXPECT_EQ(Dollars(rules.OwnCents(Who::Client, c.claim, c.month)), c.cents);
    }
}

// The PIA is raised each December from the as-of month on and rounded down to the dime;
// the payment is rounded down to the dollar, less a cut from its January.
TEST(BenefitRules, ColaDimeAndDollarRounding) {
    HouseholdInputs h = Household(Person({1962, 5, 2}, 100000), {2024, 6, 1}, 2.5);
    h.cut = BenefitCut{2300, 2033};
    const BenefitRules rules(h);
    EXPECT_EQ(Dollars(rules.PiaCents(Who::Client, M(2024, 11))), "1000.00");
    EXPECT_EQ(Dollars(rules.PiaCents(Who::Client, M(2024, 12))), "1025.00");
    EXPECT_EQ(Dollars(rules.PiaCents(Who::Client, M(2025, 12))), "1050.60");  // 1,050.625
    EXPECT_EQ(rules.PaidDollars(86410, M(2032, 12)), 864);                    // $864.10
    EXPECT_EQ(rules.PaidDollars(100000, M(2033, 1)), 770);  // 77 % payable from 2033
    EXPECT_EQ(rules.PaidDollars(86410, M(2033, 1)), 665);   // 665.357
    // An as-of date in December counts that December.
    const BenefitRules december(Household(Person({1962, 5, 2}, 100000), {2024, 12, 20}, 2.5));
    EXPECT_EQ(Dollars(december.PiaCents(Who::Client, M(2024, 12))), "1025.00");
}

// Spousal parts and survivor benefits as fractions of the other's PIA, from SSA's figures.
TEST(BenefitRules, SpousalAndSurvivorFromSsaExamples) {
    // Born 2 May 1962: 62 throughout May 2024, FRA 67 in May 2029, 60 in May 2022.
    const PersonInputs client = Person({1962, 5, 2}, 0);
    HouseholdInputs h = Household(client, {2022, 5, 1});
    h.spouse = Person({1961, 1, 10}, 200000, Sex::Male);  // FRA 67 in 2028-01
    const BenefitRules rules(h);
    // Spousal at 62 with FRA 67: 32.5 % of the other's PIA (half, reduced by 35 %).
    EXPECT_EQ(Dollars(rules.SpousalCents(Who::Client, M(2024, 5), M(2024, 5), M(2024, 5))),
              "650.00");
    // It starts with the later claim and never before 62.
    EXPECT_EQ(rules.SpousalCents(Who::Client, M(2024, 5), M(2026, 5), M(2026, 4)), 0);
    // From 64 (36 months early): 25 % less.
    EXPECT_EQ(Dollars(rules.SpousalCents(Who::Client, M(2024, 5), M(2026, 5), M(2026, 5))),
              "750.00");
    struct Survivor {
        const char* what;
        Month death;
        Month deceasedClaim;
        Month start;
        const char* cents;
    };
    const Survivor survivors[] = {
        // Death before claiming and before FRA: the PIA, reduced by 28.5 % at 60.
        {"at 60: 71.5 %", M(2022, 4), M(2030, 1), M(2022, 5), "1430.00"},
        {"at survivor FRA", M(2022, 4), M(2030, 1), M(2029, 5), "2000.00"},
        // The deceased claimed in the first month at 62 (70.42 %): limited to the larger of
        // that and 82.5 %.
        {"82.5 % floor", M(2024, 6), M(2023, 2), M(2029, 5), "1650.00"},
        // Started 58 of 84 months early: 2,000 x (1 - 28.5 % x 58/84) = 1,606.42.
        {"reduced below the floor", M(2024, 6), M(2023, 2), M(2024, 7), "1606.40"},
        // Claimed at 66 (93.33 %): the deceased's reduced benefit is the limit.
        {"limit is the reduced benefit", M(2027, 6), M(2027, 1), M(2029, 5), "1866.60"},
        // Died after FRA without claiming: the credits earned to the death (12 x 2/3 %).
        {"credits to the death", M(2029, 1), M(2031, 1), M(2029, 5), "2160.00"},
    };
    for (const Survivor& s : survivors) {
        SCOPED_TRACE(s.what);
        const SurvivorTerms terms =
            rules.SurvivorTermsFor(Who::Client, s.death, s.deceasedClaim, s.start);
        EXPECT_EQ(Dollars(rules.SurvivorCents(terms, Who::Client, s.start)), s.cents);
    }
    // RS 00615.301: a widow born 6/15/1940 entitled from 7/2002, survivor FRA 65y 2m, 37 of
    // 62 possible months early, original benefit $987.60: $819.60.
    HouseholdInputs widow = Household(Person({1940, 6, 15}, 0), {2002, 6, 1});
    widow.spouse = Person({1941, 3, 10}, 98760, Sex::Male);
    const BenefitRules widowRules(widow);
    const SurvivorTerms terms =
        widowRules.SurvivorTermsFor(Who::Client, M(2002, 6), M(2004, 3), M(2002, 7));
    EXPECT_EQ(terms.reduction.numerator, 62000 - 285 * 37);
    EXPECT_EQ(Dollars(widowRules.SurvivorCents(terms, Who::Client, M(2002, 7))), "819.60");
}

// RS 00615.694: with delayed credits the spousal part comes on top of the own benefit
// without them, and the credits count only where they give more (Toni: RIB $400, with
// credits $410, excess $300: $700 in all).
TEST(BenefitRules, DelayedCreditsAndASpousalPart) {
    struct Case {
        std::int64_t ownPia;
        Month ownClaim;
        const char* total;
    };
    const Case cases[] = {
        // Claimed at 70 (36 credits, 24 %): $500 x 1.24 = $620 against $500 + $300 excess:
        // the excess wins.
        {50000, M(2032, 5), "800.00"},
        // $700 x 1.24 = $868 against $700 + $100: the credits win.
        {70000, M(2032, 5), "868.00"},
        // Claimed at 62 (70 %): the reduced own benefit plus the reduced excess, the spousal
        // part starting at 64 with the other's claim (75 %): $350 + $225.
        {50000, M(2024, 5), "575.00"},
    };
    for (const Case& c : cases) {
        HouseholdInputs h = Household(Person({1962, 5, 2}, c.ownPia), {2024, 5, 1});
        h.spouse = Person({1960, 1, 10}, 160000, Sex::Male);
        const BenefitRules rules(h);
        SCOPED_TRACE(c.total);
        EXPECT_EQ(Dollars(rules.OwnAndSpousalCents(Who::Client, c.ownClaim, M(2026, 5),
                                                   std::max(c.ownClaim, M(2032, 5)))),
                  c.total);
    }
}

}  // namespace
}  // namespace velmora::planner
