#include "ui/resultscellpainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStyle>

#include "report/textwrap.h"
#include "ui/resultsview.h"

namespace velmora {

namespace {
// Room between the grid lines and the text.
constexpr int kTextMargin = 2;
}  // namespace

void PaintCellText(QPainter& painter, const QRect& cell, const QString& text,
                   Qt::Alignment alignment, const QFont& font, const QColor& colour) {
    if (text.isEmpty())
        return;
    const QFontMetrics metrics(font);
    const QRect area = cell.adjusted(kTextMargin, kTextMargin, -kTextMargin, 0);
    const QStringList lines = WrapAtSpaces(
        text, area.width(),
        [&metrics](const QString& s) -> double { return metrics.horizontalAdvance(s); });
    painter.save();
    painter.setClipRect(cell);
    painter.setFont(font);
    painter.setPen(colour);
    const Qt::Alignment flags = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    int y = area.top();
    for (const QString& line : lines) {
        if (y > cell.bottom())
            break;
        painter.drawText(QRect(area.left(), y, area.width(), metrics.height()),
                         static_cast<int>(flags) | Qt::TextSingleLine, line);
        y += metrics.lineSpacing();
    }
    painter.restore();
}

void ResultsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const QWidget* view = option.widget;
    const QPalette palette = view != nullptr ? view->palette() : option.palette;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const int gridRow = index.row() + 1;
    const QColor background = palette.color(
        QPalette::Active, selected ? QPalette::Highlight : ResultsView::BandRole(gridRow));
    const QColor text = palette.color(QPalette::Active,
                                      selected ? QPalette::HighlightedText : QPalette::WindowText);
    painter->fillRect(option.rect, background);
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    PaintCellText(*painter, option.rect, index.data(Qt::DisplayRole).toString(), alignment,
                  option.font, text);
    if ((option.state & QStyle::State_HasFocus) != 0) {
        // A dotted frame just inside the current cell, in the text colour.
        painter->save();
        painter->setPen(QPen(text, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

}  // namespace velmora
