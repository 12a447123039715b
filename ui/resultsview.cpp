#include "ui/resultsview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "ui/resultscellpainter.h"
#include "ui/resultsheader.h"
#include "ui/resultsmodel.h"

namespace velmora {

namespace {
// Each section holds its cell and the grid line right of or below it.
constexpr int kGridLine = 1;
constexpr int kPanDeadZone = 5;
constexpr int kPanIntervalMs = 50;
constexpr int kWheelNotch = 120;
}  // namespace

ResultsView::ResultsView(QWidget* parent)
    : QTableView(parent),
      model_(new ResultsModel(this)),
      header_(new ResultsHeader(this)),
      panTimer_(new QTimer(this)) {
    // Both headers are set before the model comes, so that no title is measured for a size
    // that is not used: the column titles' height is fixed, and the row titles are hidden.
    header_->setFixedHeight(kHeaderRowHeight + kGridLine);
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kYearRowHeight + kGridLine);
    setModel(model_);
    setItemDelegate(new ResultsDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAccessibleName(QStringLiteral("Table of Results"));
    // Whole rows, so that no row at the top is ever cut in half (the style may choose
    // pixels otherwise; see also ShowWholeTopRow).
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    viewport()->setBackgroundRole(QPalette::Button);

    panTimer_->setInterval(kPanIntervalMs);
    connect(panTimer_, &QTimer::timeout, this,
            [this] { PanStep(viewport()->mapFromGlobal(QCursor::pos())); });

    selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::ClearAndSelect);
}

ResultsView::~ResultsView() = default;

void ResultsView::ShowCells(ResultCells& cells) {
    model_->Observe(cells);
    // A new table starts at its first cell, as a new grid does.
    selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::ClearAndSelect);
}

ResultCells& ResultsView::cells() {
    return model_->cells();
}

const ResultCells& ResultsView::cells() const {
    return model_->cells();
}

void ResultsView::SetAlignmentCallback(AlignmentCallback callback) {
    model_->SetAlignmentCallback(std::move(callback));
}

CellAlignment ResultsView::AlignmentOf(int row, int column) const {
    return model_->AlignmentOf(row, column);
}

void ResultsView::SetColumnWidth(int column, int width) {
    setColumnWidth(column, width + kGridLine);
}

int ResultsView::ColumnWidth(int column) const {
    return columnWidth(column) - kGridLine;
}

int ResultsView::RowHeight(int row) const {
    if (row == 0)
        return header_->height() - kGridLine;
    if (row < 0 || row >= model_->cells().RowCount())
        return 0;
    return rowHeight(row - 1) - kGridLine;
}

QPalette::ColorRole ResultsView::BandRole(int row) {
    return (row - 1) % 2 == 0 ? QPalette::ToolTipBase : QPalette::Base;
}

int ResultsView::CurrentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

bool ResultsView::IsPanning() const {
    return panTimer_->isActive();
}

void ResultsView::PanStep(const QPoint& pointerInViewport) {
    const int dy = pointerInViewport.y() - panOrigin_.y();
    if (dy < -kPanDeadZone) {
        MoveCurrentRowBy(-1);
    } else if (dy > kPanDeadZone) {
        MoveCurrentRowBy(1);
    }
}

void ResultsView::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches == 0)
        return;
    const int lines = QApplication::wheelScrollLines();
    if ((event->modifiers() & Qt::ControlModifier) != 0) {
        // Turning the wheel towards the user (negative delta) makes the cells larger.
        const int step = notches < 0 ? lines : -lines;
        for (int i = 0; i < std::abs(notches); ++i) {
            if (std::abs(sizeChange_ + step) > kMaxSizeChange)
                break;
            ChangeAllSizes(step);
            sizeChange_ += step;
        }
        return;
    }
    MoveCurrentRowBy(-notches * lines);
}

void ResultsView::mousePressEvent(QMouseEvent* event) {
    menuRefused_ = false;
    if (IsPanning()) {
        StopPanning();
        // The press only ends panning; a right press brings no menu then.
        menuRefused_ = event->button() == Qt::RightButton;
        event->accept();
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        panOrigin_ = event->position().toPoint();
        panTimer_->start();
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ResultsView::keyPressEvent(QKeyEvent* event) {
    StopPanning();
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        event->accept();
        return;
    }
    // Esc belongs to the window; the cells are read-only, so nothing is cut or pasted.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste)) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool ResultsView::event(QEvent* event) {
    // A key that triggers a shortcut reaches the grid only as an override request.
    if (event->type() == QEvent::ShortcutOverride) {
        StopPanning();
    } else if (event->type() == QEvent::Hide) {
        StopPanning();
    }
    return QTableView::event(event);
}

void ResultsView::keyboardSearch(const QString&) {}

CellBlock ResultsView::CopyBlock() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.size() <= 1)
        return WholeTable(cells());
    // Selection is contiguous; its bounding block, in grid rows (model row + 1).
    CellBlock block{selected.front().column(), selected.front().column(),
                    selected.front().row() + 1, selected.front().row() + 1};
    for (const QModelIndex& index : selected) {
        block.firstColumn = std::min(block.firstColumn, index.column());
        block.lastColumn = std::max(block.lastColumn, index.column());
        block.firstRow = std::min(block.firstRow, index.row() + 1);
        block.lastRow = std::max(block.lastRow, index.row() + 1);
    }
    return block;
}

void ResultsView::CopyToClipboard() const {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(TabSeparatedText(cells(), CopyBlock())));
}

QMenu* ResultsView::CreateContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QAction* copy = menu->addAction(QStringLiteral("Copy"), this, [this] { CopyToClipboard(); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    return menu;
}

void ResultsView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (std::exchange(menuRefused_, false) && event->reason() == QContextMenuEvent::Mouse)
        return;
    const std::unique_ptr<QMenu> menu(CreateContextMenu(this));
    menu->exec(event->globalPos());
}

void ResultsView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    ShowWholeTopRow();
}

void ResultsView::updateGeometries() {
    QTableView::updateGeometries();
    ShowWholeTopRow();
}

// Scrolled to its end, the table view lines the last row up with the bottom edge,
// which cuts the top row when the height is no whole number of rows; the rows then
// move up to the next whole one, leaving room below the last.
void ResultsView::ShowWholeTopRow() {
    QHeaderView* rows = verticalHeader();
    const int top = rows->visualIndexAt(0);
    if (top < 0 || top + 1 >= rows->count())
        return;
    if (rows->sectionViewportPosition(rows->logicalIndex(top)) < 0) {
        rows->setOffsetToSectionPosition(top + 1);
        viewport()->update();
    }
}

void ResultsView::MoveCurrentRowBy(int delta) {
    const int rows = model_->rowCount();
    if (rows == 0 || delta == 0)
        return;
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int column = current.isValid() ? current.column() : 0;
    const QModelIndex target = model_->index(std::clamp(row + delta, 0, rows - 1), column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void ResultsView::ChangeAllSizes(int delta) {
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int width = ColumnWidth(c) + delta;
        if (width > 0)
            SetColumnWidth(c, width);
    }
    for (int r = 0; r < model_->rowCount(); ++r) {
        const int height = rowHeight(r) - kGridLine + delta;
        if (height > 0)
            setRowHeight(r, height + kGridLine);
    }
    const int headerHeight = header_->height() - kGridLine + delta;
    if (headerHeight > 0)
        header_->setFixedHeight(headerHeight + kGridLine);
    updateGeometries();
}

void ResultsView::StopPanning() {
    panTimer_->stop();
}

}  // namespace velmora
