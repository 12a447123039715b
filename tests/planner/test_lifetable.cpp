#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "planner/lifetable.h"

namespace velmora::planner {
namespace {

// The published remaining life at 62 of the shipped table. Counting each year of age
// as (l(x) + l(x+1)) / 2, the area under the linearly interpolated l, gives these to
// two decimals (19.6091 and 22.4968); the curtate sum of l(x+k) / l(x) alone would be
// half a year short.
TEST(LifeTable, RemainingLifeAt62MatchesThePublishedFigures) {
    const LifeTable& table = LifeTable::Shipped();
    EXPECT_EQ(std::round(table.RemainingLife(Sex::Male, 62) * 100), 1961);
    EXPECT_EQ(std::round(table.RemainingLife(Sex::Female, 62) * 100), 2250);
}

TEST(LifeTable, ShippedTableIsTheDataFileAndNamesItsEdition) {
    std::ifstream file(VELMORA_LIFE_TABLE_CSV);
    ASSERT_TRUE(file);
    std::ostringstream text;
    text << file.rdbuf();
    const LifeTable fromFile = LifeTable::FromCsv(text.str(), "file");
    const LifeTable& shipped = LifeTable::Shipped();
    ASSERT_EQ(shipped.LastAge(), 119);
    ASSERT_EQ(fromFile.LastAge(), 119);
    for (int age = 0; age <= 119; ++age) {
        EXPECT_EQ(shipped.Survivors(Sex::Male, age), fromFile.Survivors(Sex::Male, age));
        EXPECT_EQ(shipped.Survivors(Sex::Female, age), fromFile.Survivors(Sex::Female, age));
    }
    EXPECT_NE(shipped.Edition().find("2022"), std::string::npos);
}

TEST(LifeTable, SurvivalIsInterpolatedLinearlyBetweenWholeAges) {
    const LifeTable table = LifeTable::FromCsv(
        "age,male_lx,female_lx\n0,100000,100000\n1,90000,95000\n2,60000,95000\n3,0,0\n", "t");
    EXPECT_EQ(table.SurvivorsAt(Sex::Male, 1.5L), 75000);
    EXPECT_EQ(table.SurvivorsAt(Sex::Male, 0.25L), 97500);
    EXPECT_EQ(table.SurvivorsAt(Sex::Female, 3.5L), 0);
    EXPECT_EQ(table.SurvivalChance(Sex::Male, 1, 1.5L), 75000.0L / 90000.0L);
    EXPECT_EQ(table.SurvivalChance(Sex::Male, 1.5L, 1), 1);  // earlier than now: certain
    EXPECT_EQ(table.SurvivalChance(Sex::Male, 3, 4), 0);     // nobody left to survive
    // From 2 the year to 3 counts (60000 + 0) / 2 of 60000: half a year.
    EXPECT_EQ(table.RemainingLife(Sex::Male, 2), 0.5L);
}

TEST(LifeTable, RefusesMalformedData) {
    const std::pair<const char*, const char*> cases[] = {
        {"age,male_lx,female_lx\n0,100000,100000\n2,90000,90000\n", "line 3"},
        {"age,male_lx,female_lx\n0,100000,100000\n1,100001,90000\n", "grows"},
        {"age,male_lx,female_lx\n0,100000\n", "three whole numbers"},
        {"age,male_lx,female_lx\n0,100000,1e5\n", "three whole numbers"},
        {"age;male;female\n", "header"},
        {"# only a comment\n", "no survivors"},
    };
    for (const auto& [text, message] : cases) {
        try {
            LifeTable::FromCsv(text, "t");
            ADD_FAILURE() << text;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace velmora::planner
