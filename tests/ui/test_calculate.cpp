// The Calculate command through the window: the worked example as a user types it, and a
// calculation that fails part way.
#include <QPushButton>

#include "mainwindow_fixture.h"
#include "ui/panels.h"

namespace velmora {
namespace {

class CalculateTest : public MainWindowTest {
  protected:
    void EnterWorkedExample() {
        f().oEarlyYear->SetValueInteger(2001);
        f().oEarlyMonth->SetValueInteger(1);
        f().oAge->SetValueInteger(62);
        f().oEarlyBenefit->SetValueExtended(1000.0L);
        f().oLaterYear->SetValueInteger(2004);
        f().oLaterMonth->SetValueInteger(1);
        f().oLaterBenefit->SetValueExtended(1400.0L);
        f().oCola->SetValueExtended(2.5L);
        f().oRate->SetValueExtended(3.0L);
        f().oYears->SetValueInteger(20);
    }

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
    const struct {
        int row;
        std::vector<std::string> texts;
    } rows[] = {
        {1,
         {"2001", "12", "62", "$1,000.00", "$12,000", "$12,000", "$12,000", "0", "0", "0", "0",
          "$12,000"}},
        {2,
         {"2002", "12", "63", "$1,025.00", "$12,300", "$11,942", "$23,942", "0", "0", "0", "0",
          "$23,942"}},
        {4,
         {"2004", "12", "65", "$1,076.89", "$12,923", "$11,826", "$47,652", "$1,400.00", "$16,800",
          "$15,374", "$15,374", "$32,277"}},
        {13,
         {"2013", "12", "74", "$1,344.89", "$16,139", "$11,319", "$151,536", "$1,748.41", "$20,981",
          "$14,716", "$150,428", "$1,108"}},
        {14,
         {"2014", "12", "75", "$1,378.51", "$16,542", "$11,264", "$162,801", "$1,792.12", "$21,505",
          "$14,644", "$165,073", "($2,272)"}},
    };
    for (const auto& expected : rows) {
        SCOPED_TRACE(expected.row);
        EXPECT_EQ(Row(expected.row), expected.texts);
    }
    EXPECT_EQ(window->lblResult->text(), QStringLiteral("Breakeven point occurs in the year 2014"));
    EXPECT_TRUE(window->lblResult->isVisibleTo(window->Panel1));
    EXPECT_EQ(window->OvcNotebook1->CurrentIndex(), 0);
    // The view shows exactly what the schedule wrote.
    EXPECT_EQ(window->grdSS->model()->index(13, 11).data().toString(), QStringLiteral("($2,272)"));
}

TEST_F(CalculateTest, NewAfterACalculationBlanksTheRowsAndKeepsTheBreakEven) {
    EnterWorkedExample();
    window->btnCalculateClick();
    window->btnClearClick();
    EXPECT_EQ(window->grdSS->cells().RowCount(), 21);
    EXPECT_EQ(Row(14), std::vector<std::string>(kResultColumns));
    EXPECT_TRUE(window->resultTable().BreakEvenFound);
    EXPECT_EQ(window->resultTable().BreakEvenYear, "2014");
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
