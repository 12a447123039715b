#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

/// Breaks text into lines at spaces so that each line fits into width, as measured.
/// A word wider than the width stands alone on its line (the cell cuts it off);
/// an empty text gives no lines.
QStringList WrapAtSpaces(const QString& text, int width,
                         const std::function<int(const QString&)>& measure);

}  // namespace velmora
