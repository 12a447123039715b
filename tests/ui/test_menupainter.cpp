#include <gtest/gtest.h>

#include <QPalette>

#include "support/qtprint.h"
#include "ui/menupainter.h"

namespace velmora {
namespace {

TEST(Lighten, MovesEachComponentTowards255AndRoundsToNearest) {
    const struct {
        QColor colour;
        int percent;
        QColor lightened;
    } cases[] = {
        {{240, 240, 240}, 86, {253, 253, 253}},  // 12.9 up
        {{240, 240, 240}, 16, {242, 242, 242}},  // 2.4 down
        {{0, 120, 215}, 68, {173, 212, 242}},
        {{160, 160, 160}, 25, {184, 184, 184}},  // 23.75
        {{0, 0, 0}, 0, {0, 0, 0}},
        {{10, 20, 30}, 100, {255, 255, 255}},
        // Halves go to the even neighbour: 127.5, 126.5, 9.5.
        {{0, 2, 160}, 50, {128, 128, 208}},
        {{160, 1, 255}, 10, {170, 26, 255}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.percent);
        EXPECT_EQ(Lighten(test.colour, test.percent), test.lightened);
    }
}

QPalette Desktop() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(240, 240, 240));
    palette.setColor(QPalette::Dark, QColor(160, 160, 160));
    palette.setColor(QPalette::Highlight, QColor(0, 120, 215));
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    palette.setColor(QPalette::Window, QColor(236, 236, 236));
    return palette;
}

TEST(MenuColours, LightenedFromTheDesktopColours) {
    const MenuColours c = ComputeMenuColours(Desktop(), 24);
    EXPECT_EQ(c.background, QColor(253, 253, 253));
    EXPECT_EQ(c.iconColumn, QColor(242, 242, 242));
    EXPECT_EQ(c.highlightFill, QColor(173, 212, 242));
    EXPECT_EQ(c.highlightFrame, QColor(0, 120, 215));
    EXPECT_EQ(c.pressedFill, QColor(128, 188, 235));
    EXPECT_EQ(c.separator, QColor(184, 184, 184));
    EXPECT_EQ(c.disabledText, QColor(170, 170, 170));
    EXPECT_EQ(c.text, QColor(0, 0, 0));
    EXPECT_EQ(c.menuBar, QColor(236, 236, 236));
}

TEST(MenuColours, PlainColoursBelowSixteenBitsPerPixel) {
    for (const int depth : {8, 15}) {
        SCOPED_TRACE(depth);
        const MenuColours c = ComputeMenuColours(Desktop(), depth);
        EXPECT_EQ(c.background, QColor(Qt::white));
        EXPECT_EQ(c.highlightFill, QColor(Qt::white));
        EXPECT_EQ(c.iconColumn, QColor(240, 240, 240));
        EXPECT_EQ(c.separator, QColor(160, 160, 160));
        EXPECT_EQ(c.disabledText, QColor(160, 160, 160));
        EXPECT_EQ(c.highlightFrame, QColor(0, 120, 215));
    }
    EXPECT_EQ(ComputeMenuColours(Desktop(), 16).background, QColor(253, 253, 253));
}

TEST(MenuFont, MsSansSerifBecomesTahomaOfTheSameSize) {
    QFont old(QStringLiteral("MS Sans Serif"));
    old.setPixelSize(11);
    const QFont replaced = MenuFontFor(old);
    EXPECT_EQ(replaced.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(replaced.pixelSize(), 11);

    QFont other(QStringLiteral("DejaVu Sans"));
    other.setPointSize(9);
    EXPECT_EQ(MenuFontFor(other).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(MenuFontFor(other).pointSize(), 9);
}

}  // namespace
}  // namespace velmora
