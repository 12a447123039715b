#pragma once

#include <QAbstractTableModel>
#include <string>

#include "ui/cellalignment.h"
#include "ui/resultcells.h"

namespace velmora {

/// Shows ResultCells to a table view: model row i is year row i + 1, and the header row
/// (row 0) is the horizontal header, so it stays in place whatever the row count.
class ResultsModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ResultsModel(QObject* parent = nullptr);

    const ResultCells& cells() const { return cells_; }
    void SetRowCount(int rows);
    void SetCellText(int column, int row, const std::string& text);
    void Clear();

    void SetAlignmentCallback(AlignmentCallback callback);
    /// Alignment of the cell at a grid row (0 = header row) and column.
    CellAlignment AlignmentOf(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    ResultCells cells_;
    AlignmentCallback alignment_;
};

/// Qt's flag for an alignment, always top-aligned.
Qt::Alignment ToQtAlignment(CellAlignment alignment);

}  // namespace velmora
