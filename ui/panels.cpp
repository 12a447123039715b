#include "ui/panels.h"

#include <QPainter>
#include <algorithm>

namespace velmora {

namespace {
// A 1-px bevel: light on the top and left edges, dark on the bottom and right for a raised
// one, the other way round for a lowered one.
void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}
}  // namespace

BevelPanel::BevelPanel(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {
    setContentsMargins(kInset, kInset, kInset, kInset);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    const QColor light = palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = palette().color(QPalette::Active, QPalette::Dark);
    const QRect outer = rect();
    DrawBevel(painter, outer, light, dark);
    const int inner = 1 + kBorderWidth;
    DrawBevel(painter, outer.adjusted(inner, inner, -inner, -inner), dark, light);
}

ShapeWidget::ShapeWidget(Kind kind, const QColor& fill, const QColor& outline, QWidget* parent)
    : QWidget(parent), kind_(kind), fill_(fill), outline_(outline) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(outline_, 1));
    painter.setBrush(fill_);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (kind_ == Kind::Rectangle) {
        painter.drawRect(box);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = std::min(width(), height()) / 4.0;
    painter.drawRoundedRect(box, radius, radius);
}

FacePanel::FacePanel(QWidget* parent) : QWidget(parent) {}

void FacePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Button));
}

ToolBarStrip::ToolBarStrip(QWidget* parent) : QWidget(parent) {}

void ToolBarStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Button));
    painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Active, QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace velmora
