#include "report/textwrap.h"

namespace velmora {

QStringList WrapAtSpaces(const QString& text, double width,
                         const std::function<double(const QString&)>& measure) {
    QStringList lines;
    if (text.isEmpty())
        return lines;
    QString line;
    bool started = false;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (!started) {
            line = word;
            started = true;
            continue;
        }
        const QString longer = line + QLatin1Char(' ') + word;
        if (measure(longer) <= width) {
            line = longer;
        } else {
            lines.append(line);
            line = word;
        }
    }
    lines.append(line);
    return lines;
}

}  // namespace velmora
