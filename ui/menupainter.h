#pragma once

#include <QColor>
#include <QFont>
#include <QProxyStyle>

class QPalette;

namespace velmora {

/// A colour with each of red, green and blue moved percent % of the way to 255,
/// rounded to the nearest integer (ties to even).
QColor Lighten(const QColor& colour, int percent);

/// The flat menu and toolbar look, derived from the desktop's colours.
struct MenuColours {
    QColor background;      // menus
    QColor iconColumn;      // the 24-px column at the left of the items
    QColor highlightFill;   // highlighted item, toolbar button under the mouse
    QColor highlightFrame;  // its 1-px frame
    QColor pressedFill;     // toolbar button being pressed
    QColor separator;
    QColor disabledText;
    QColor text;
    QColor menuBar;
};

/// Colours from the desktop palette; a display of fewer than 16 bits per pixel gets
/// plain colours instead of lightened ones.
MenuColours ComputeMenuColours(const QPalette& desktop, int displayDepth);

/// ComputeMenuColours for the application palette and the primary screen's depth.
MenuColours DesktopMenuColours();

/// The desktop's menu font, with "MS Sans Serif" replaced by "Tahoma" of the same size.
QFont MenuFontFor(const QFont& desktopMenuFont);

/// Draws the menu bar, the menus and flat toolbar buttons in MenuColours.
class MenuPainterStyle final : public QProxyStyle {
    Q_OBJECT
  public:
    static constexpr int kIconColumnWidth = 24;

    explicit MenuPainterStyle(const MenuColours& colours);
    const MenuColours& colours() const { return colours_; }
    void SetColours(const MenuColours& colours) { colours_ = colours; }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

  private:
    MenuColours colours_;
};

}  // namespace velmora
