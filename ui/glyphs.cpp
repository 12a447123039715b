#include "ui/glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace velmora {

QIcon GlyphIcon(const QString& name, int size) {
    QSvgRenderer renderer(QStringLiteral(":/velmora/glyphs/%1.svg").arg(name));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    return QIcon(pixmap);
}

}  // namespace velmora
