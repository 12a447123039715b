#include <gtest/gtest.h>

#include "engine/resultcells.h"

#include <vector>

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

TEST(ResultCells, OnlyCellsOfTheCurrentRowsAndTwelveColumnsAreWritten) {
    ResultCells cells;
    EXPECT_FALSE(cells.SetCellText(-1, 1, "x"));
    EXPECT_FALSE(cells.SetCellText(12, 1, "x"));
    EXPECT_FALSE(cells.SetCellText(0, -1, "x"));
    EXPECT_FALSE(cells.SetCellText(0, 25, "x")) << "beyond the row count";
    EXPECT_EQ(cells.GetCellText(12, 1), "");
    EXPECT_EQ(cells.GetCellText(-1, 1), "");
    EXPECT_EQ(cells.GetCellText(0, -1), "");
    EXPECT_EQ(cells.GetCellText(0, 25), "");
    EXPECT_EQ(cells.GetCellText(0, 1000), "");
    EXPECT_TRUE(cells.SetCellText(11, 24, "($2,272)"));
    EXPECT_EQ(cells.GetCellText(11, 24), "($2,272)");
}

// A shorter calculation followed by a longer one that stops early (an arithmetic error)
// must not show the first calculation's rows again.
TEST(ResultCells, RowsDroppedByAShorterCountComeBackEmpty) {
    ResultCells cells;
    cells.SetRowCount(41);
    cells.SetCellText(0, 40, "2040");
    cells.SetCellText(0, 10, "2010");
    cells.SetRowCount(11);
    EXPECT_EQ(cells.RowCount(), 11);
    EXPECT_EQ(cells.GetCellText(0, 10), "2010");
    EXPECT_EQ(cells.GetCellText(0, 40), "");
    cells.SetRowCount(41);
    EXPECT_EQ(cells.GetCellText(0, 40), "");
    EXPECT_EQ(cells.GetCellText(0, 10), "2010");
    EXPECT_EQ(Titles(cells), ExpectedTitles());
}

TEST(ResultCells, ClearEmptiesEveryRowAndWritesTheTitlesBack) {
    ResultCells cells;
    cells.SetRowCount(31);
    for (int r = 0; r < 31; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            cells.SetCellText(c, r, "t");
    }

    cells.Clear();

    EXPECT_EQ(cells.RowCount(), 31);
    EXPECT_EQ(Titles(cells), ExpectedTitles());
    for (int r = 1; r < 31; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            EXPECT_EQ(cells.GetCellText(c, r), "");
    }
}

TEST(ResultCells, ClearOfTheHeaderRowAlone) {
    ResultCells cells;
    cells.SetRowCount(1);
    cells.SetCellText(3, 0, "changed");
    cells.Clear();
    EXPECT_EQ(cells.RowCount(), 1);
    EXPECT_EQ(Titles(cells), ExpectedTitles());
}

// A batch run keeps the year column and the last row; a cell that stops being the last
// row does not show its old text.
TEST(ResultCells, KeepingTheYearsAndTheLastRowOnly) {
    ResultCells cells;
    cells.SetKeep(ResultCells::Keep::YearsAndLastRow);
    cells.SetRowCount(3);
    EXPECT_TRUE(cells.SetCellText(0, 1, "2001"));
    EXPECT_FALSE(cells.SetCellText(3, 1, "$1,000.00"));
    EXPECT_TRUE(cells.SetCellText(3, 2, "$1,025.00"));
    EXPECT_EQ(cells.GetCellText(0, 1), "2001");
    EXPECT_EQ(cells.GetCellText(3, 1), "");
    EXPECT_EQ(cells.GetCellText(3, 2), "$1,025.00");
    cells.SetRowCount(4);
    EXPECT_EQ(cells.GetCellText(3, 2), "") << "row 2 is no longer the last";
    EXPECT_EQ(cells.GetCellText(0, 1), "2001");
}

class LogObserver final : public ResultCellsObserver {
  public:
    void RowCountChanging(int before, int after) override {
        log.push_back("rows " + std::to_string(before) + ">" + std::to_string(after));
    }
    void RowCountChanged() override { log.push_back("rows done"); }
    void CellChanged(int column, int row) override {
        log.push_back("cell " + std::to_string(column) + "," + std::to_string(row));
    }
    void AllCellsChanged() override { log.push_back("all"); }
    void CellsDestroyed() override { log.push_back("gone"); }
    std::vector<std::string> log;
};

TEST(ResultCells, TellsItsObserverOfEveryChangeAndNothingElse) {
    LogObserver observer;
    {
        ResultCells cells;
        cells.SetObserver(&observer);
        cells.SetRowCount(3);
        cells.SetRowCount(3);  // no change
        cells.SetCellText(2, 1, "62");
        cells.SetCellText(2, 3, "63");  // not a cell
        cells.Clear();
        cells.SetRowCount(0);
    }
    const std::vector<std::string> expected = {"rows 25>3", "rows done", "cell 2,1", "all",
                                               "rows 3>1",  "rows done", "gone"};
    EXPECT_EQ(observer.log, expected);
}

}  // namespace
}  // namespace velmora
