#pragma once

#include <QAbstractTableModel>
#include <string>

#include "engine/resultcells.h"
#include "ui/cellalignment.h"

namespace velmora {

/// Shows a ResultCells to a table view and follows its changes: model row i is year row
/// i + 1, and the header row (row 0) is the horizontal header, so it stays in place
/// whatever the row count. Until it is given a table it shows an empty one of its own.
class ResultsModel final : public QAbstractTableModel, private ResultCellsObserver {
    Q_OBJECT
  public:
    explicit ResultsModel(QObject* parent = nullptr);
    ~ResultsModel() override;

    /// Shows cells from now on; they must outlive the model or tell it when they go.
    void Observe(ResultCells& cells);
    ResultCells& cells() { return *cells_; }
    const ResultCells& cells() const { return *cells_; }

    void SetAlignmentCallback(AlignmentCallback callback);
    /// Alignment of the cell at a grid row (0 = header row) and column.
    CellAlignment AlignmentOf(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void RowCountChanging(int before, int after) override;
    void RowCountChanged() override;
    void CellChanged(int column, int row) override;
    void AllCellsChanged() override;
    void CellsDestroyed() override;

    ResultCells own_;
    ResultCells* cells_;
    bool inserting_ = false;
    AlignmentCallback alignment_;
};

/// Qt's flag for an alignment, always top-aligned.
Qt::Alignment ToQtAlignment(CellAlignment alignment);

}  // namespace velmora
