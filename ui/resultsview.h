#pragma once

#include <QPalette>
#include <QPoint>
#include <QTableView>
#include <string>

#include "engine/schedule.h"
#include "ui/cellalignment.h"
#include "ui/resultscopy.h"

class QMenu;
class QTimer;

namespace velmora {

class ResultsModel;
class ResultsHeader;

/// The results grid: a read-only table whose header row stays in view, and the cell
/// store of the result table. Sizes are those of the cells, without the 1-px grid lines.
class ResultsView final : public QTableView, public TCellStore {
    Q_OBJECT
  public:
    static constexpr int kHeaderRowHeight = 70;
    static constexpr int kYearRowHeight = 20;
    /// How far Ctrl+wheel may move the sizes away from where they started, either way.
    static constexpr int kMaxSizeChange = 10;

    explicit ResultsView(QWidget* parent = nullptr);
    ~ResultsView() override;

    void SetRowCount(int rows) override;
    int RowCount() const override;
    void SetCellText(int column, int row, const std::string& text) override;
    std::string GetCellText(int column, int row) const override;
    /// Empties every cell of the current rows and writes the titles back into row 0;
    /// row count, sizes, selection and scroll position stay.
    void Clear();

    void SetAlignmentCallback(AlignmentCallback callback);
    CellAlignment AlignmentOf(int row, int column) const;

    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    /// Row 0 is the header row.
    int RowHeight(int row) const;
    /// The desktop colour a grid row is drawn in; the header row has its own colour.
    static QPalette::ColorRole BandRole(int row);

    /// The grid row (0 = header row) of the current cell, or -1 when there is none.
    int CurrentRow() const;
    bool IsPanning() const;
    /// One step of middle-button panning: moves the current row one row towards the
    /// pointer when it is more than 5 px above or below where panning started.
    void PanStep(const QPoint& pointerInViewport);

    /// The cells Ctrl+C and "Copy" take: the selected block, or the whole table when no
    /// more than the current cell is selected (the grid always marks one cell).
    CellBlock CopyBlock() const;
    /// Puts the copy block on the clipboard as tab-separated text with the header row.
    void CopyToClipboard() const;
    /// The right-click menu with its one item, "Copy"; the caller owns it.
    QMenu* CreateContextMenu(QWidget* parent);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

  private:
    /// Moves the rows up to the next whole row when the top one is cut.
    void ShowWholeTopRow();
    void MoveCurrentRowBy(int delta);
    void ChangeAllSizes(int delta);
    void StopPanning();

    ResultsModel* model_;
    ResultsHeader* header_;
    QTimer* panTimer_;
    QPoint panOrigin_;
    int sizeChange_ = 0;
    int wheelRemainder_ = 0;
    bool menuRefused_ = false;
};

}  // namespace velmora
