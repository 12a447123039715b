// The window's images as the program is built with them: each the same pixels as its SVG
// drawn now, so that a changed SVG can never leave a stale picture in the window.
#include <gtest/gtest.h>

#include <QSvgRenderer>
#include <set>
#include <string>

#include "ui/glyphbitmaps.h"
#include "ui/glyphdrawing.h"
#include "ui/glyphs.h"

namespace velmora {
namespace {

TEST(GlyphBitmaps, AreTheirSvgsDrawnAtTheirSizes) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < kGlyphBitmapCount; ++i) {
        const GlyphBitmap& glyph = kGlyphBitmaps[i];
        SCOPED_TRACE(std::string(glyph.name) + " at " + std::to_string(glyph.size));
        names.insert(glyph.name);
        QSvgRenderer renderer(QStringLiteral(VELMORA_GLYPH_DIR "/%1.svg").arg(glyph.name));
        ASSERT_TRUE(renderer.isValid());
        const QImage drawn = DrawGlyph(renderer, glyph.size);
        const QImage shown = GlyphIcon(QString::fromLatin1(glyph.name), glyph.size)
                                 .pixmap(glyph.size)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(shown, drawn);
    }
    EXPECT_EQ(names, (std::set<std::string>{"calculator", "clear", "exit", "new", "open", "print",
                                            "save", "velmora"}));
}

TEST(GlyphBitmaps, AnImageNotBuiltIsEmptyAndTransparent) {
    for (const auto& [name, size] : {std::pair{"new", 17}, std::pair{"nothing", 16}}) {
        SCOPED_TRACE(name);
        const QImage image = GlyphIcon(QString::fromLatin1(name), size).pixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixelColor(size / 2, size / 2).alpha(), 0);
    }
}

}  // namespace
}  // namespace velmora
