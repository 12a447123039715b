#pragma once

#include <QHeaderView>

namespace velmora {

/// The grid's header row: the column titles on the header colour, wrapped and
/// top-aligned; dragging a boundary widens the column to its left.
class ResultsHeader final : public QHeaderView {
    Q_OBJECT
  public:
    explicit ResultsHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace velmora
