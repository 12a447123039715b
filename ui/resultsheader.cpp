#include "ui/resultsheader.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include "ui/resultscellpainter.h"

namespace velmora {

namespace {
QColor GridLineColour(const QWidget* widget) {
    QStyleOption option;
    option.initFrom(widget);
    return QColor::fromRgba(static_cast<QRgb>(
        widget->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
}
}  // namespace

ResultsHeader::ResultsHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionResizeMode(QHeaderView::Interactive);
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setStretchLastSection(false);
    setMinimumSectionSize(1);
}

QSize ResultsHeader::sizeHint() const {
    // The grid gives the header a fixed height, and the table asks for this on every change
    // of its geometry: measuring every title for a height that is not used took longer than
    // building the rest of the page.
    if (minimumHeight() == maximumHeight())
        return {length(), maximumHeight()};
    return QHeaderView::sizeHint();
}

void ResultsHeader::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    for (int i = 0; i < count(); ++i) {
        const QRect section(sectionViewportPosition(i), 0, sectionSize(i), viewport()->height());
        if (section.intersects(event->rect()))
            paintSection(&painter, section, i);
    }
}

void ResultsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QRect cell = rect.adjusted(0, 0, -1, -1);
    painter->fillRect(cell, kHeaderRowColour);
    painter->setPen(GridLineColour(this));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (model() == nullptr)
        return;
    const QString text = model()->headerData(logicalIndex, Qt::Horizontal).toString();
    const auto alignment = model()
                               ->headerData(logicalIndex, Qt::Horizontal, Qt::TextAlignmentRole)
                               .value<Qt::Alignment>();
    PaintCellText(*painter, cell, text, alignment, font(),
                  palette().color(QPalette::Active, QPalette::WindowText));
}

}  // namespace velmora
