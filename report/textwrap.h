#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

/// Breaks text into lines at spaces so that each line fits into width, as measured (the
/// report's text boxes and the results grid's header cells break alike). A word wider
/// than the width stands alone on its line; an empty text gives no lines.
QStringList WrapAtSpaces(const QString& text, double width,
                         const std::function<double(const QString&)>& measure);

}  // namespace velmora
