#include <gtest/gtest.h>

#include "ui/resultcells.h"

namespace velmora {
namespace {

std::string Titles(const ResultCells& cells) {
    std::string all;
    for (int c = 0; c < kResultColumns; ++c)
        all += cells.GetCellText(c, 0) + "|";
    return all;
}

std::string ExpectedTitles() {
    std::string all;
    for (const char* title : kColumnTitles)
        all += std::string(title) + "|";
    return all;
}

TEST(ResultCells, StartsWithTitlesAnd24EmptyYearRows) {
    ResultCells cells;
    EXPECT_EQ(cells.RowCount(), 25);
    EXPECT_EQ(Titles(cells), ExpectedTitles());
    for (int r = 1; r < 25; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            EXPECT_EQ(cells.GetCellText(c, r), "");
    }
}

TEST(ResultCells, RowCountBelowOneCountsAsOne) {
    const struct {
        int requested;
        int expected;
    } cases[] = {{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {41, 41}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.requested);
        ResultCells cells;
        cells.SetRowCount(test.requested);
        EXPECT_EQ(cells.RowCount(), test.expected);
        EXPECT_EQ(Titles(cells), ExpectedTitles());
    }
}

TEST(ResultCells, CellsOutsideTheTwelveColumnsAreNotWritten) {
    ResultCells cells;
    EXPECT_FALSE(cells.SetCellText(-1, 1, "x"));
    EXPECT_FALSE(cells.SetCellText(12, 1, "x"));
    EXPECT_FALSE(cells.SetCellText(0, -1, "x"));
    EXPECT_EQ(cells.GetCellText(12, 1), "");
    EXPECT_EQ(cells.GetCellText(-1, 1), "");
    EXPECT_EQ(cells.GetCellText(0, -1), "");
    EXPECT_EQ(cells.GetCellText(0, 1000), "");
    EXPECT_TRUE(cells.SetCellText(11, 24, "($2,272)"));
    EXPECT_EQ(cells.GetCellText(11, 24), "($2,272)");
}

TEST(ResultCells, RowsBeyondAShorterCountKeepTheirTexts) {
    ResultCells cells;
    cells.SetRowCount(41);
    cells.SetCellText(0, 40, "2040");
    cells.SetCellText(0, 10, "2010");
    cells.SetRowCount(11);
    EXPECT_EQ(cells.RowCount(), 11);
    EXPECT_EQ(cells.GetCellText(0, 10), "2010");
    EXPECT_EQ(cells.GetCellText(0, 40), "2040");
    cells.SetRowCount(41);
    EXPECT_EQ(cells.GetCellText(0, 40), "2040");
}

TEST(ResultCells, ClearEmptiesTheCurrentRowsAndWritesTheTitlesBack) {
    ResultCells cells;
    cells.SetRowCount(31);
    for (int r = 0; r < 31; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            cells.SetCellText(c, r, "t");
    }
    cells.SetRowCount(41);
    cells.SetCellText(5, 40, "kept");
    cells.SetRowCount(31);

    cells.Clear();

    EXPECT_EQ(cells.RowCount(), 31);
    EXPECT_EQ(Titles(cells), ExpectedTitles());
    for (int r = 1; r < 31; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            EXPECT_EQ(cells.GetCellText(c, r), "");
    }
    // Rows beyond the count are not current rows.
    EXPECT_EQ(cells.GetCellText(5, 40), "kept");
}

TEST(ResultCells, ClearOfTheHeaderRowAlone) {
    ResultCells cells;
    cells.SetRowCount(1);
    cells.SetCellText(3, 0, "changed");
    cells.Clear();
    EXPECT_EQ(cells.RowCount(), 1);
    EXPECT_EQ(Titles(cells), ExpectedTitles());
}

}  // namespace
}  // namespace velmora
