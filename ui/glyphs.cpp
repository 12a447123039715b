#include "ui/glyphs.h"

#include <QImage>
#include <QPixmap>
#include <cstring>

#include "ui/glyphbitmaps.h"

namespace velmora {

QIcon GlyphIcon(const QString& name, int size) {
    const QByteArray wanted = name.toLatin1();
    for (std::size_t i = 0; i < kGlyphBitmapCount; ++i) {
        const GlyphBitmap& glyph = kGlyphBitmaps[i];
        if (glyph.size == size && wanted == glyph.name) {
            // The pixels stay where they are; the pixmap takes its own copy.
            const QImage image(reinterpret_cast<const uchar*>(glyph.pixels), size, size, size * 4,
                               QImage::Format_ARGB32_Premultiplied);
            return QIcon(QPixmap::fromImage(image));
        }
    }
    // A size the program is not built with: an empty image, as for an unknown name.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

}  // namespace velmora
