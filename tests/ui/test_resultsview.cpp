#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "qtprint.h"
#include "ui/main.h"
#include "ui/resultsview.h"

namespace velmora {
namespace {

// The grid as the main window makes it: alignment callback and creation-time widths.
class ResultsViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QApplication::setWheelScrollLines(3);
        view.SetAlignmentCallback(&TfrmMain::grdSSGetAlignment);
        for (int c = 0; c < kResultColumns; ++c)
            view.SetColumnWidth(c, c < 3 ? 50 : 75);
        view.resize(777, 319);
    }

    void Wheel(int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at(100, 100);
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, notches * 120),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }

    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (int c = 0; c < kResultColumns; ++c)
            widths.push_back(view.ColumnWidth(c));
        return widths;
    }

    ResultsView view;
};

TEST_F(ResultsViewTest, CreatedWithTitlesAnd24BlankRowsAndTheFirstYearCellSelected) {
    EXPECT_EQ(view.RowCount(), 25);
    EXPECT_EQ(view.model()->rowCount(), 24);
    for (int c = 0; c < kResultColumns; ++c) {
        EXPECT_EQ(view.model()->headerData(c, Qt::Horizontal).toString().toStdString(),
                  kColumnTitles[static_cast<std::size_t>(c)]);
    }
    EXPECT_EQ(view.RowHeight(0), 70);
    EXPECT_EQ(view.RowHeight(1), 20);
    EXPECT_EQ(view.RowHeight(24), 20);
    EXPECT_EQ(view.CurrentRow(), 1);
    EXPECT_EQ(view.currentIndex().column(), 0);
    EXPECT_TRUE(view.selectionModel()->isSelected(view.currentIndex()));
}

TEST_F(ResultsViewTest, OffersNoEditingAndIsNoTabStop) {
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(view.model()->flags(view.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(view.focusPolicy(), Qt::ClickFocus);
    EXPECT_FALSE(view.tabKeyNavigation());
    EXPECT_FALSE(view.horizontalHeader()->sectionsClickable());
    EXPECT_EQ(view.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(view.dragDropMode(), QAbstractItemView::NoDragDrop);
}

// Ctrl+C copies (see the copy tests); the read-only cells take no cut or paste.
TEST_F(ResultsViewTest, EscAndCutAndPasteKeysAreLeftToTheWindow) {
    for (const auto& key :
         {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_X),
          QKeyCombination(Qt::ControlModifier, Qt::Key_V)}) {
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        press.setAccepted(true);
        QApplication::sendEvent(&view, &press);
        EXPECT_FALSE(press.isAccepted());
    }
}

TEST_F(ResultsViewTest, AlignmentOfEveryColumnInTheHeaderAndTheYearRows) {
    const CellAlignment C = CellAlignment::Center;
    const CellAlignment R = CellAlignment::Right;
    const CellAlignment yearRow[kResultColumns] = {C, C, C, R, R, R, R, R, R, R, R, R};
    view.SetRowCount(3);
    for (int c = 0; c < kResultColumns; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(view.AlignmentOf(0, c), C);
        EXPECT_EQ(view.AlignmentOf(1, c), yearRow[c]);
        EXPECT_EQ(view.AlignmentOf(2, c), yearRow[c]);
        const auto expected = yearRow[c] == C ? Qt::AlignHCenter : Qt::AlignRight;
        const auto shown =
            view.model()->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(shown & Qt::AlignHorizontal_Mask, expected);
        EXPECT_EQ(shown & Qt::AlignVertical_Mask, Qt::AlignTop);
    }
}

TEST(GetAlignment, ColumnsOutsideTheTableKeepTheAlignmentPassedIn) {
    for (const int column : {-1, 12}) {
        CellAlignment alignment = CellAlignment::Left;
        TfrmMain::grdSSGetAlignment(5, column, alignment);
        EXPECT_EQ(alignment, CellAlignment::Left);
        TfrmMain::grdSSGetAlignment(0, column, alignment);
        EXPECT_EQ(alignment, CellAlignment::Center);
    }
}

TEST_F(ResultsViewTest, RowCountsFromHeaderAloneToFortyYears) {
    view.show();
    const struct {
        int rows;
        int yearRows;
        bool verticalScrollBar;
    } steps[] = {{1, 0, false}, {11, 10, false}, {41, 40, true}, {0, 0, false}, {6, 5, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.rows);
        view.SetRowCount(step.rows);
        QApplication::processEvents();
        EXPECT_EQ(view.model()->rowCount(), step.yearRows);
        EXPECT_EQ(view.RowCount(), step.yearRows + 1);
        EXPECT_TRUE(view.horizontalHeader()->isVisible());
        EXPECT_EQ(view.RowHeight(0), 70);
        for (int r = 1; r <= step.yearRows; ++r)
            EXPECT_EQ(view.RowHeight(r), 20);
        EXPECT_EQ(view.verticalScrollBar()->maximum() > 0, step.verticalScrollBar);
        EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Year"));
    }
}

TEST_F(ResultsViewTest, HeaderRowStaysInViewWhileYearRowsScroll) {
    view.show();
    view.SetRowCount(41);
    QApplication::processEvents();
    const QRect headerBefore = view.horizontalHeader()->geometry();
    view.scrollToBottom();
    QApplication::processEvents();
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.horizontalHeader()->geometry(), headerBefore);
    EXPECT_GT(view.rowAt(view.viewport()->height() / 2), 20);
}

// The grid scrolls by whole rows: whatever moved it, the top year row shows whole.
TEST_F(ResultsViewTest, ScrollingAlwaysShowsAWholeRowAtTheTop) {
    view.show();
    view.SetRowCount(41);
    QApplication::processEvents();
    const auto topRowIsWhole = [this] {
        QApplication::processEvents();
        const int top = view.rowAt(0);
        return top >= 0 && view.rowViewportPosition(top) == 0;
    };
    const struct {
        const char* step;
        std::function<void()> run;
    } steps[] = {
        {"Ctrl+End", [this] { QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier); }},
        {"larger cells by Ctrl+wheel", [this] { Wheel(-3, Qt::ControlModifier); }},
        {"a taller window", [this] { view.resize(777, 419); }},
        {"the wheel", [this] { Wheel(2, Qt::NoModifier); }},
        {"smaller cells by Ctrl+wheel", [this] { Wheel(5, Qt::ControlModifier); }},
        {"Page Down", [this] { QTest::keyClick(&view, Qt::Key_PageDown); }},
        {"a lower window", [this] { view.resize(777, 287); }},
        {"Ctrl+End again", [this] { QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.run();
        EXPECT_TRUE(topRowIsWhole()) << "top row " << view.rowAt(0) << " starts at "
                                     << view.rowViewportPosition(view.rowAt(0));
    }
}

TEST_F(ResultsViewTest, ShorterTableShowsOnlyItsOwnRows) {
    view.SetRowCount(31);
    for (int r = 1; r <= 30; ++r)
        view.SetCellText(0, r, std::to_string(2000 + r));
    view.SetRowCount(11);
    EXPECT_EQ(view.model()->rowCount(), 10);
    EXPECT_EQ(view.model()->index(9, 0).data().toString(), QStringLiteral("2010"));
    EXPECT_FALSE(view.model()->index(10, 0).isValid());
}

TEST_F(ResultsViewTest, ClearKeepsRowsSizesAndScrollPosition) {
    view.show();
    view.SetRowCount(41);
    for (int r = 0; r <= 40; ++r) {
        for (int c = 0; c < kResultColumns; ++c)
            view.SetCellText(c, r, "$1,000");
    }
    view.SetColumnWidth(4, 120);
    view.scrollToBottom();
    QApplication::processEvents();
    const int scrolled = view.verticalScrollBar()->value();

    view.Clear();
    QApplication::processEvents();

    EXPECT_EQ(view.RowCount(), 41);
    EXPECT_EQ(view.ColumnWidth(4), 120);
    EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(view.GetCellText(11, 40), "");
    EXPECT_EQ(view.model()->index(39, 11).data().toString(), QString());
    for (int c = 0; c < kResultColumns; ++c) {
        EXPECT_EQ(view.GetCellText(c, 0), kColumnTitles[static_cast<std::size_t>(c)]);
    }
}

TEST_F(ResultsViewTest, CtrlWheelResizesEveryCellWithinTenPixels) {
    view.SetRowCount(5);
    // Towards the user: larger, three pixels a notch, never more than ten in all.
    const struct {
        int notches;
        int change;
    } steps[] = {{-1, 3}, {-1, 6}, {-3, 9}, {2, 3}, {5, -9}, {-1, -6}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.notches);
        Wheel(step.notches, Qt::ControlModifier);
        EXPECT_EQ(view.ColumnWidth(0), 50 + step.change);
        EXPECT_EQ(view.ColumnWidth(11), 75 + step.change);
        EXPECT_EQ(view.RowHeight(0), 70 + step.change);
        EXPECT_EQ(view.RowHeight(4), 20 + step.change);
    }
}

TEST_F(ResultsViewTest, CtrlWheelLeavesASizeThatWouldNotStayAboveZero) {
    view.SetColumnWidth(2, 2);
    Wheel(1, Qt::ControlModifier);
    EXPECT_EQ(view.ColumnWidth(2), 2);
    EXPECT_EQ(view.ColumnWidth(3), 72);
}

TEST_F(ResultsViewTest, WheelMovesTheCurrentCellWithinTheYearRows) {
    view.SetRowCount(11);
    const struct {
        int notches;
        int row;
    } steps[] = {{-1, 4}, {-2, 10}, {-1, 10}, {1, 7}, {5, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.notches);
        Wheel(step.notches, Qt::NoModifier);
        EXPECT_EQ(view.CurrentRow(), step.row);
        EXPECT_EQ(view.ColumnWidth(0), 50);
    }
}

TEST_F(ResultsViewTest, MiddleButtonPansRowByRowUntilTheNextPress) {
    view.show();
    view.SetRowCount(11);
    QTest::mousePress(view.viewport(), Qt::MiddleButton, {}, QPoint(100, 100));
    EXPECT_TRUE(view.IsPanning());
    const struct {
        int y;
        int row;
    } steps[] = {{120, 2}, {106, 3}, {105, 3}, {95, 3}, {94, 2}, {10, 1}, {10, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.y);
        view.PanStep(QPoint(100, step.y));
        EXPECT_EQ(view.CurrentRow(), step.row);
    }
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(view.IsPanning());
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));

    QTest::mousePress(view.viewport(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_FALSE(view.IsPanning());
}

TEST_F(ResultsViewTest, DraggingAHeaderBoundaryWidensTheColumnToItsLeft) {
    view.show();
    QWidget* header = view.horizontalHeader()->viewport();
    const int boundary = view.columnViewportPosition(1) - 1;
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(boundary, 30));
    QTest::mouseMove(header, QPoint(boundary + 30, 30));
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(boundary + 30, 30));
    EXPECT_EQ(view.ColumnWidth(0), 80);
    EXPECT_EQ(view.ColumnWidth(1), 50);
    EXPECT_EQ(view.RowHeight(0), 70);
}

// Colours as drawn, with a palette whose two band colours differ from everything else.
TEST_F(ResultsViewTest, DrawsHeaderColourAndBandedYearRows) {
    QPalette palette = view.palette();
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 204));
    palette.setColor(QPalette::Base, QColor(250, 250, 250));
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    view.setPalette(palette);
    view.SetRowCount(5);
    view.show();
    QApplication::processEvents();
    const QImage image = view.grab().toImage();
    const auto colourAt = [&](int column, int gridRow) {
        QPoint p;
        if (gridRow == 0) {
            p = view.horizontalHeader()->geometry().topLeft() +
                QPoint(view.columnViewportPosition(column) + 3, 60);
        } else {
            const QRect cell = view.visualRect(view.model()->index(gridRow - 1, column));
            p = view.viewport()->geometry().topLeft() + cell.center();
        }
        return QColor(image.pixel(p));
    };
    EXPECT_EQ(colourAt(5, 0), QColor(0, 191, 191));
    EXPECT_EQ(colourAt(1, 1), QColor(255, 255, 204));
    EXPECT_EQ(colourAt(1, 2), QColor(250, 250, 250));
    EXPECT_EQ(colourAt(1, 3), QColor(255, 255, 204));
    EXPECT_EQ(colourAt(1, 4), QColor(250, 250, 250));
    // The first year cell is selected at creation.
    EXPECT_EQ(colourAt(0, 1), QColor(0, 0, 128));
}

}  // namespace
}  // namespace velmora
