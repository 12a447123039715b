#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class QFont;
class QPainter;
class QRect;

namespace velmora {

/// The header row's background colour.
inline const QColor kHeaderRowColour(0, 191, 191);

/// Draws a cell's text top-aligned, wrapped at spaces within the cell and cut off at its
/// edges, horizontally aligned as given.
void PaintCellText(QPainter& painter, const QRect& cell, const QString& text,
                   Qt::Alignment alignment, const QFont& font, const QColor& colour);

/// Draws the year rows: band colours, selection colours and the wrapped text.
class ResultsDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace velmora
