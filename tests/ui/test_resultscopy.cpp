// Copying from the results grid: the text a spreadsheet gets, and which cells Ctrl+C and
// the right-click "Copy" take.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTimer>
#include <memory>

#include "mainwindow_fixture.h"
#include "ui/resultscopy.h"
#include "ui/resultsview.h"

namespace velmora {
namespace {

const char* const kTitles =
    "Year\tNo. of Months\tAge\tMonthly Benefit at Early Retirement\t"
    "Annual Benefit at Early Retirement\tPresent Value\tPV Cumulative Benefits\t"
    "Monthly Benefit at Later Retirement\tAnnual Benefit at Later Retirement\tPresent Value\t"
    "PV Cumulative Benefits\tDifference PV Cumulative Benefits\n";

TEST(TabSeparatedText, BlocksAndTextsThatNeedQuoting) {
    MemoryCellStore cells;
    cells.SetRowCount(3);
    cells.SetCellText(0, 1, "2001");
    cells.SetCellText(1, 1, "12");
    cells.SetCellText(0, 2, "2002");
    cells.SetCellText(1, 2, "a\tb");
    cells.SetCellText(2, 2, "say \"hi\"\nthere");
    const struct {
        const char* name;
        CellBlock block;
        const char* text;
    } cases[] = {
        {"one column", {0, 0, 1, 2}, "Year\n2001\n2002\n"},
        {"one cell", {1, 1, 2, 2}, "No. of Months\n\"a\tb\"\n"},
        {"quotes and line break",
         {1, 2, 1, 2},
         "No. of Months\tAge\n12\t\n\"a\tb\"\t\"say \"\"hi\"\"\nthere\"\n"},
        {"header row alone", {0, 1, 1, 0}, "Year\tNo. of Months\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, TabSeparatedText(cells, c.block));
    }

    MemoryCellStore oneYear;
    oneYear.SetRowCount(2);
    EXPECT_EQ(std::string(kTitles) + "\t\t\t\t\t\t\t\t\t\t\t\n",
              TabSeparatedText(oneYear, WholeTable(oneYear)));
}

class ResultsCopyTest : public MainWindowTest {
  protected:
    void Calculate(int years) {
        f().oEarlyYear->SetValueInteger(2001);
        f().oEarlyMonth->SetValueInteger(1);
        f().oAge->SetValueInteger(62);
        f().oEarlyBenefit->SetValueExtended(1000.0L);
        f().oLaterYear->SetValueInteger(2004);
        f().oLaterMonth->SetValueInteger(1);
        f().oLaterBenefit->SetValueExtended(1400.0L);
        f().oCola->SetValueExtended(2.5L);
        f().oRate->SetValueExtended(3.0L);
        f().oYears->SetValueInteger(years);
        window->btnCalculateClick();
        ASSERT_TRUE(reported.empty());
    }
    void Select(int firstRow, int firstColumn, int lastRow, int lastColumn) {
        QAbstractItemModel* model = window->grdSS->model();
        window->grdSS->selectionModel()->select(
            QItemSelection(model->index(firstRow - 1, firstColumn),
                           model->index(lastRow - 1, lastColumn)),
            QItemSelectionModel::ClearAndSelect);
    }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
};

// The same rows the command-line companion prints with --format tsv.
const char* const kWorkedExampleRows =
    "2001\t12\t62\t$1,000.00\t$12,000\t$12,000\t$12,000\t0\t0\t0\t0\t$12,000\n"
    "2002\t12\t63\t$1,025.00\t$12,300\t$11,942\t$23,942\t0\t0\t0\t0\t$23,942\n"
    "2003\t12\t64\t$1,050.63\t$12,608\t$11,884\t$35,826\t0\t0\t0\t0\t$35,826\n"
    "2004\t12\t65\t$1,076.89\t$12,923\t$11,826\t$47,652\t$1,400.00\t$16,800\t$15,374\t"
    "$15,374\t$32,277\n";

TEST_F(ResultsCopyTest, CtrlCCopiesTheWholeTableWhenOnlyTheCurrentCellIsMarked) {
    ShowActive();
    Calculate(4);
    QGuiApplication::clipboard()->clear();
    // As at start: the grid marks the first cell.
    ASSERT_EQ(1, window->grdSS->selectionModel()->selectedIndexes().size());
    QTest::keyClick(window->grdSS, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QString::fromLatin1(kTitles) + QString::fromUtf8(kWorkedExampleRows), Clipboard());

    window->grdSS->selectionModel()->clearSelection();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(window->grdSS, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QString::fromLatin1(kTitles) + QString::fromUtf8(kWorkedExampleRows), Clipboard());
}

TEST_F(ResultsCopyTest, SelectedBlockIsCopiedWithItsTitlesByKeyAndByMenu) {
    Calculate(4);
    Select(3, 9, 4, 11);
    const QString expected = QStringLiteral(
        "Present Value\tPV Cumulative Benefits\tDifference PV Cumulative Benefits\n"
        "0\t0\t$35,826\n"
        "$15,374\t$15,374\t$32,277\n");

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(window->grdSS, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(expected, Clipboard());

    QGuiApplication::clipboard()->clear();
    const std::unique_ptr<QMenu> menu(window->grdSS->CreateContextMenu(nullptr));
    ASSERT_EQ(1, menu->actions().size());
    QAction* copy = menu->actions().front();
    EXPECT_EQ(QStringLiteral("Copy"), copy->text());
    EXPECT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(expected, Clipboard());
    // Copying selects nothing else and changes no cell.
    EXPECT_EQ(6, window->grdSS->selectionModel()->selectedIndexes().size());
    EXPECT_EQ("$32,277", window->grdSS->GetCellText(11, 4));
}

TEST_F(ResultsCopyTest, CutAndPasteStillDoNothing) {
    Calculate(2);
    Select(1, 0, 2, 11);
    QGuiApplication::clipboard()->setText(QStringLiteral("9999"));
    QTest::keyClick(window->grdSS, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(window->grdSS, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("9999"), Clipboard());
    EXPECT_EQ("2001", window->grdSS->GetCellText(0, 1));
}

// A right press that only ends middle-button panning brings no menu; the next one does.
TEST(ResultsViewMenu, ARightPressThatEndsPanningBringsNoMenu) {
    ResultsView view;
    view.show();
    int menus = 0;
    // Any menu that opens is counted and closed, so that the test never blocks.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&menus] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++menus;
            popup->close();
        }
    });
    closer.start(0);
    const QPoint at(100, 100);
    const auto rightClick = [&view, at] {
        QTest::mousePress(view.viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &menu);
        QTest::mouseRelease(view.viewport(), Qt::RightButton, {}, at);
    };
    QTest::mousePress(view.viewport(), Qt::MiddleButton, {}, at);
    ASSERT_TRUE(view.IsPanning());
    rightClick();
    EXPECT_FALSE(view.IsPanning());
    EXPECT_EQ(0, menus);
    rightClick();
    EXPECT_EQ(1, menus);
}

}  // namespace
}  // namespace velmora
