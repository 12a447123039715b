// Readable GoogleTest output for Qt values.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            *os << ", ";
        PrintTo(list[i], os);
    }
    *os << '}';
}

inline void PrintTo(const QColor& c, std::ostream* os) {
    *os << "rgb(" << c.red() << ',' << c.green() << ',' << c.blue() << ')';
}

inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}
