#pragma once

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace velmora {

/// An SVG image drawn at size x size px on a transparent background, as the window shows
/// it. Used where the program is built, and by the tests that check the built bitmaps.
inline QImage DrawGlyph(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

}  // namespace velmora
