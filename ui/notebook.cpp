#include "ui/notebook.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace velmora {

namespace {
constexpr int kTabPadding = 10;  // each side of a caption
constexpr int kTabLift = 2;      // the current tab stands this much higher
constexpr int kFrameTop = 2;     // frame lines between the strip and the pages
}  // namespace

Notebook::Notebook(QWidget* parent) : QWidget(parent), currentFont_(font()) {
    setFocusPolicy(Qt::ClickFocus);
}

void Notebook::AddPage(QWidget* page, const QString& caption) {
    page->setParent(this);
    pages_.push_back({page, caption});
    if (current_ < 0) {
        current_ = 0;
        page->show();
    } else {
        page->hide();
    }
    LayoutPages();
    update();
}

QWidget* Notebook::Page(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return pages_[static_cast<std::size_t>(index)].page;
}

QString Notebook::Caption(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return pages_[static_cast<std::size_t>(index)].caption;
}

void Notebook::SetCurrentIndex(int index) {
    if (index < 0 || index >= Count() || index == current_)
        return;
    QWidget* next = Page(index);
    next->show();
    Page(current_)->hide();
    current_ = index;
    update();
    emit currentChanged(index);
}

void Notebook::SetCurrentTabFont(const QFont& font, const QColor& colour) {
    currentFont_ = font;
    currentColour_ = colour;
    LayoutPages();
    update();
}

int Notebook::TabStripHeight() const {
    return std::max(QFontMetrics(font()).height(), QFontMetrics(currentFont_).height()) + 4;
}

QRect Notebook::TabRect(int index) const {
    const QFontMetrics plain(font());
    const QFontMetrics bold(currentFont_);
    int x = 0;
    for (int i = 0; i < Count(); ++i) {
        const QString& caption = pages_[static_cast<std::size_t>(i)].caption;
        const int width =
            std::max(plain.horizontalAdvance(caption), bold.horizontalAdvance(caption)) +
            2 * kTabPadding;
        if (i == index) {
            if (i == current_)
                return {x, 0, width, TabStripHeight() + kTabLift + 1};
            return {x, kTabLift, width, TabStripHeight()};
        }
        x += width;
    }
    return {};
}

QRect Notebook::PageRect() const {
    const int top = TabStripHeight() + kTabLift + kFrameTop;
    return QRect(1, top, width() - 3, height() - top - 2);
}

void Notebook::LayoutPages() {
    const QRect area = PageRect();
    for (const Tab& tab : pages_)
        tab.page->setGeometry(area);
}

void Notebook::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPages();
}

void Notebook::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        LayoutPages();
    QWidget::changeEvent(event);
}

void Notebook::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void Notebook::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void Notebook::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Button));
    const QColor light = palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = palette().color(QPalette::Active, QPalette::Dark);
    const QColor shadow = palette().color(QPalette::Active, QPalette::Shadow);

    // The frame round the pages, open under the current tab.
    const int frameTop = TabStripHeight() + kTabLift;
    const QRect frame(0, frameTop, width(), height() - frameTop);
    painter.setPen(light);
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(shadow);
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.setPen(dark);
    painter.drawLine(frame.left() + 1, frame.bottom() - 1, frame.right() - 1, frame.bottom() - 1);
    painter.drawLine(frame.right() - 1, frame.top() + 1, frame.right() - 1, frame.bottom() - 1);

    for (int i = 0; i < Count(); ++i) {
        const QRect tab = TabRect(i);
        const bool isCurrent = i == current_;
        painter.fillRect(tab.adjusted(0, 0, 0, isCurrent ? 0 : -1),
                         palette().color(QPalette::Active, QPalette::Button));
        painter.setPen(light);
        painter.drawLine(tab.left(), tab.top() + 2, tab.left(), tab.bottom());
        painter.drawLine(tab.left() + 1, tab.top() + 1, tab.left() + 1, tab.top() + 1);
        painter.drawLine(tab.left() + 2, tab.top(), tab.right() - 2, tab.top());
        painter.setPen(shadow);
        painter.drawLine(tab.right(), tab.top() + 2, tab.right(),
                         tab.bottom() - (isCurrent ? 1 : 0));
        painter.drawLine(tab.right() - 1, tab.top() + 1, tab.right() - 1, tab.top() + 1);
        painter.setPen(dark);
        painter.drawLine(tab.right() - 1, tab.top() + 2, tab.right() - 1,
                         tab.bottom() - (isCurrent ? 1 : 0));

        const QString& caption = pages_[static_cast<std::size_t>(i)].caption;
        painter.setFont(isCurrent ? currentFont_ : font());
        painter.setPen(isCurrent && currentColour_.isValid()
                           ? currentColour_
                           : palette().color(QPalette::Active, QPalette::WindowText));
        const QRect textRect = tab.adjusted(0, isCurrent ? 1 : 0, 0, 0);
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, caption);
        if (isCurrent && hasFocus()) {
            // A dotted frame round the caption, in the caption's colour.
            painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(
                painter.boundingRect(textRect, Qt::AlignHCenter | Qt::AlignTop, caption)
                    .adjusted(-2, 0, 1, 0));
        }
    }
}

void Notebook::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < Count(); ++i) {
        if (!TabRect(i).contains(event->position().toPoint()))
            continue;
        // The focus has already moved here with the press; a field that refused its
        // content keeps the page from changing.
        if (!mayChangePage || mayChangePage())
            SetCurrentIndex(i);
        return;
    }
}

void Notebook::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left && current_ > 0) {
        SetCurrentIndex(current_ - 1);
    } else if (event->key() == Qt::Key_Right && current_ + 1 < Count()) {
        SetCurrentIndex(current_ + 1);
    } else {
        event->ignore();
    }
}

}  // namespace velmora
