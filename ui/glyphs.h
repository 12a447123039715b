#pragma once

#include <QIcon>
#include <QString>

namespace velmora {

/// One of the window's own images (calculator, clear, exit, new, open, save, print,
/// velmora), drawn at size x size px on a transparent background. The disabled twin is
/// made from it by greying.
QIcon GlyphIcon(const QString& name, int size);

}  // namespace velmora
