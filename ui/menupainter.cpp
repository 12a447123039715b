#include "ui/menupainter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyleOptionMenuItem>

namespace velmora {

namespace {
int LightenComponent(int x, int percent) {
    const int scaled = (255 - x) * percent;
    int step = scaled / 100;
    const int rest = scaled % 100;
    if (rest > 50 || (rest == 50 && step % 2 != 0))
        ++step;
    return x + step;
}

constexpr int kTextIndent = 8;
constexpr int kShortcutGap = 24;

void FillWithFrame(QPainter* painter, const QRect& rect, const QColor& fill, const QColor& frame) {
    painter->fillRect(rect, fill);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}
}  // namespace

QColor Lighten(const QColor& colour, int percent) {
    return QColor(LightenComponent(colour.red(), percent),
                  LightenComponent(colour.green(), percent),
                  LightenComponent(colour.blue(), percent));
}

MenuColours ComputeMenuColours(const QPalette& desktop, int displayDepth) {
    const QColor face = desktop.color(QPalette::Active, QPalette::Button);
    const QColor shadow = desktop.color(QPalette::Active, QPalette::Dark);
    const QColor highlight = desktop.color(QPalette::Active, QPalette::Highlight);
    MenuColours c;
    c.text = desktop.color(QPalette::Active, QPalette::WindowText);
    c.menuBar = desktop.color(QPalette::Active, QPalette::Window);
    c.highlightFrame = highlight;
    if (displayDepth < 16) {
        c.background = Qt::white;
        c.highlightFill = Qt::white;
        c.iconColumn = face;
        c.separator = shadow;
        c.disabledText = shadow;
        c.pressedFill = Qt::white;
        return c;
    }
    c.background = Lighten(face, 86);
    c.iconColumn = Lighten(face, 16);
    c.highlightFill = Lighten(highlight, 68);
    c.pressedFill = Lighten(highlight, 50);
    c.separator = Lighten(shadow, 25);
    c.disabledText = Lighten(shadow, 10);
    return c;
}

MenuColours DesktopMenuColours() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ComputeMenuColours(QGuiApplication::palette(), screen != nullptr ? screen->depth() : 32);
}

QFont MenuFontFor(const QFont& desktopMenuFont) {
    QFont font = desktopMenuFont;
    if (font.family() == QLatin1String("MS Sans Serif"))
        font.setFamily(QStringLiteral("Tahoma"));
    return font;
}

MenuPainterStyle::MenuPainterStyle(const MenuColours& colours) : colours_(colours) {}

void MenuPainterStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelMenu: {
            // The desktop's own frame, our colour inside it.
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            const int frame = pixelMetric(PM_MenuPanelWidth, option, widget);
            painter->fillRect(option->rect.adjusted(frame, frame, -frame, -frame),
                              colours_.background);
            return;
        }
        case PE_PanelButtonTool: {
            const bool enabled = (option->state & State_Enabled) != 0;
            if (!enabled)
                return;
            if ((option->state & (State_Sunken | State_On)) != 0) {
                FillWithFrame(painter, option->rect, colours_.pressedFill, colours_.highlightFrame);
            } else if ((option->state & State_MouseOver) != 0) {
                FillWithFrame(painter, option->rect, colours_.highlightFill,
                              colours_.highlightFrame);
            }
            return;
        }
        case PE_FrameButtonTool:
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MenuPainterStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case CE_MenuEmptyArea:
            painter->fillRect(option->rect, colours_.background);
            return;
        case CE_MenuItem: {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (item == nullptr)
                break;
            const QRect r = item->rect;
            painter->fillRect(r, colours_.background);
            painter->fillRect(QRect(r.left(), r.top(), kIconColumnWidth, r.height()),
                              colours_.iconColumn);
            const int textLeft = r.left() + kIconColumnWidth + kTextIndent;
            if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                painter->setPen(colours_.separator);
                painter->drawLine(textLeft, r.center().y(), r.right(), r.center().y());
                return;
            }
            const bool enabled = (item->state & State_Enabled) != 0;
            if (enabled && (item->state & State_Selected) != 0) {
                FillWithFrame(painter, r, colours_.highlightFill, colours_.highlightFrame);
            }
            QString text = item->text;
            QString shortcut;
            if (const auto tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
                shortcut = text.mid(tab + 1);
                text.truncate(tab);
            }
            painter->setFont(item->font);
            painter->setPen(enabled ? colours_.text : colours_.disabledText);
            const QRect textRect(textLeft, r.top(), r.right() - textLeft - kTextIndent, r.height());
            painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                              text);
            if (!shortcut.isEmpty()) {
                painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, shortcut);
            }
            return;
        }
        case CE_MenuBarEmptyArea:
            painter->fillRect(option->rect, colours_.menuBar);
            return;
        case CE_MenuBarItem: {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (item == nullptr)
                break;
            painter->fillRect(item->rect, colours_.menuBar);
            const bool enabled = (item->state & State_Enabled) != 0;
            if (enabled && (item->state & (State_Selected | State_Sunken)) != 0) {
                FillWithFrame(painter, item->rect, colours_.highlightFill, colours_.highlightFrame);
            }
            painter->setFont(item->font);
            painter->setPen(enabled ? colours_.text : colours_.disabledText);
            painter->drawText(item->rect, Qt::AlignCenter | Qt::TextShowMnemonic, item->text);
            return;
        }
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MenuPainterStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    if (type == CT_MenuItem) {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item != nullptr) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator)
                return {size.width(), 5};
            const QFontMetrics metrics(item->font);
            QString text = item->text;
            int shortcutWidth = 0;
            if (const auto tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
                shortcutWidth = kShortcutGap + metrics.horizontalAdvance(text.mid(tab + 1));
                text.truncate(tab);
            }
            const int width = kIconColumnWidth + kTextIndent +
                              metrics.horizontalAdvance(QString(text).remove(QLatin1Char('&'))) +
                              shortcutWidth + 3 * kTextIndent;
            return {width, metrics.height() + 8};
        }
    }
    if (type == CT_MenuBarItem) {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item != nullptr) {
            const QFontMetrics metrics(item->font);
            return {metrics.horizontalAdvance(QString(item->text).remove(QLatin1Char('&'))) + 14,
                    metrics.height() + 6};
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

}  // namespace velmora
