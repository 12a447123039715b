#include "ui/resultsmodel.h"

namespace velmora {

ResultsModel::ResultsModel(QObject* parent) : QAbstractTableModel(parent), cells_(&own_) {
    cells_->SetObserver(this);
}

ResultsModel::~ResultsModel() {
    cells_->SetObserver(nullptr);
}

void ResultsModel::Observe(ResultCells& cells) {
    beginResetModel();
    cells_->SetObserver(nullptr);
    cells_ = &cells;
    cells_->SetObserver(this);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumns - 1);
}

void ResultsModel::RowCountChanging(int before, int after) {
    inserting_ = after > before;
    if (inserting_) {
        beginInsertRows({}, before - 1, after - 2);
    } else {
        beginRemoveRows({}, after - 1, before - 2);
    }
}

void ResultsModel::RowCountChanged() {
    if (inserting_) {
        endInsertRows();
    } else {
        endRemoveRows();
    }
}

void ResultsModel::CellChanged(int column, int row) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
    } else {
        const QModelIndex cell = index(row - 1, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

void ResultsModel::AllCellsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumns - 1);
    if (cells_->RowCount() > 1) {
        emit dataChanged(index(0, 0), index(cells_->RowCount() - 2, kResultColumns - 1),
                         {Qt::DisplayRole});
    }
}

void ResultsModel::CellsDestroyed() {
    // The window's table goes before the grid: show the model's own empty table until then.
    beginResetModel();
    cells_ = &own_;
    cells_->SetObserver(this);
    endResetModel();
}

void ResultsModel::SetAlignmentCallback(AlignmentCallback callback) {
    alignment_ = std::move(callback);
    if (cells_->RowCount() > 1) {
        emit dataChanged(index(0, 0), index(cells_->RowCount() - 2, kResultColumns - 1),
                         {Qt::TextAlignmentRole});
    }
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumns - 1);
}

CellAlignment ResultsModel::AlignmentOf(int row, int column) const {
    CellAlignment alignment = CellAlignment::Left;
    if (alignment_)
        alignment_(row, column, alignment);
    return alignment;
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cells_->RowCount() - 1;
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResultColumns;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cells_->GetCellText(index.column(), row));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ToQtAlignment(AlignmentOf(row, index.column())));
        default:
            return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cells_->GetCellText(section, 0));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ToQtAlignment(AlignmentOf(0, section)));
        default:
            return {};
    }
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

Qt::Alignment ToQtAlignment(CellAlignment alignment) {
    switch (alignment) {
        case CellAlignment::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case CellAlignment::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case CellAlignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace velmora
