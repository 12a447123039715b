// The Calculate command through the window: the worked example as a user types it, and a
// calculation that fails part way.
#include <QPushButton>

#include "mainwindow_fixture.h"
#include "support/workedexample.h"
#include "ui/panels.h"

namespace velmora {
namespace {

class CalculateTest : public MainWindowTest {
  protected:
    void EnterWorkedExample() { ShowScenario(f(), testing::WorkedExampleScenario()); }

    std::vector<std::string> Row(int row) const {
        std::vector<std::string> texts;
        for (int c = 0; c < kResultColumns; ++c)
            texts.push_back(window->grdSS->cells().GetCellText(c, row));
        return texts;
    }
};

TEST_F(CalculateTest, WorkedExampleFillsTheTableOnTheResultsPage) {
    ShowActive();
    EnterWorkedExample();
    QTest::mouseClick(window->btnCalculate, Qt::LeftButton);
    ASSERT_TRUE(reported.empty()) << reported.front().toStdString();
    EXPECT_EQ(window->grdSS->cells().RowCount(), 21);
    // The grid shows the engine's table for the fields' values, cell by cell; the
    // engine's tests check the numbers themselves.
    TResultTable expected;
    BuildSchedule(testing::WorkedExampleInputs(), expected);
    for (int r = 0; r < 21; ++r) {
        SCOPED_TRACE(r);
        std::vector<std::string> texts;
        for (int c = 0; c < kResultColumns; ++c)
            texts.push_back(expected.cells.GetCellText(c, r));
        EXPECT_EQ(Row(r), texts);
    }
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year 2014"));
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
    // The view shows exactly what the schedule wrote.
    EXPECT_EQ(window->grdSS->model()->index(13, 11).data().toString(), QStringLiteral("($2,272)"));
}

TEST_F(CalculateTest, NewAfterACalculationBlanksTheRowsAndTheBreakEven) {
    EnterWorkedExample();
    window->btnCalculateClick();
    window->btnClearClick();
    EXPECT_EQ(window->grdSS->cells().RowCount(), 21);
    EXPECT_EQ(Row(14), std::vector<std::string>(kResultColumns));
    // The break-even year of the old inputs must not outlive their table.
    EXPECT_FALSE(window->resultTable().BreakEvenFound);
    EXPECT_EQ(window->resultTable().BreakEvenYear, "");
    // New leaves 0 years, so the next calculation shows the header row alone.
    window->btnCalculateClick();
    EXPECT_EQ(window->grdSS->cells().RowCount(), 1);
    EXPECT_EQ(window->lblResult->text(),
              QStringLiteral("Breakeven point not reached using these parameters."));
}

TEST_F(CalculateTest, FailingCalculationReportsAndLeavesThePartialTable) {
    EnterWorkedExample();
    window->btnCalculateClick();
    ASSERT_TRUE(reported.empty());

    // Doubling the largest typed benefit every year leaves the money range within 40 years.
    f().oEarlyBenefit->SetValueExtended(99999.99L);
    f().oCola->SetValueExtended(100.0L);
    f().oYears->SetValueInteger(40);
    QTest::mouseClick(window->btnCalculate, Qt::LeftButton);

    EXPECT_EQ(reported, std::vector<QString>({"Invalid floating point operation."}));
    EXPECT_EQ(window->grdSS->cells().RowCount(), 41);
    EXPECT_EQ(window->grdSS->cells().GetCellText(0, 40), "2040");
    EXPECT_EQ(window->grdSS->cells().GetCellText(2, 40), "101");
    EXPECT_EQ(window->grdSS->cells().GetCellText(3, 1), "$99,999.99");
    // The difference pass never ran: row 1 still shows the earlier calculation's.
    EXPECT_EQ(window->grdSS->cells().GetCellText(11, 1), "$12,000");
    EXPECT_EQ(window->grdSS->cells().GetCellText(11, 40), "");
    EXPECT_FALSE(window->resultTable().BreakEvenFound);
    EXPECT_EQ(window->resultTable().BreakEvenYear, "");
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year 2014"));
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));

    // The arithmetic context was set again: the next calculation is exact.
    EnterWorkedExample();
    reported.clear();
    window->btnCalculateClick();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(window->grdSS->cells().GetCellText(11, 14), "($2,272)");
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year 2014"));
}

}  // namespace
}  // namespace velmora
