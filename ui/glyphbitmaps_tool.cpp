// Build-time helper: draws the window's SVG images at the sizes the window shows them and
// writes them as C++ arrays of premultiplied ARGB pixels.
//   velmora_glyphbitmaps OUTPUT.cpp NAME=FILE.svg:SIZE[,SIZE...]...
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

#include "ui/glyphdrawing.h"

int main(int argc, char* argv[]) {
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: velmora_glyphbitmaps OUTPUT.cpp NAME=FILE.svg:SIZE[,SIZE...]...\n",
                   stderr);
        return 2;
    }
    QString arrays;
    QString table;
    int count = 0;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& image = args.at(i);
        const qsizetype equals = image.indexOf(QLatin1Char('='));
        const qsizetype colon = image.lastIndexOf(QLatin1Char(':'));
        if (equals <= 0 || colon <= equals + 1) {
            std::fprintf(stderr, "velmora_glyphbitmaps: bad image %s\n", qPrintable(image));
            return 2;
        }
        const QString name = image.left(equals);
        QSvgRenderer renderer(image.mid(equals + 1, colon - equals - 1));
        if (!renderer.isValid()) {
            std::fprintf(stderr, "velmora_glyphbitmaps: cannot read %s\n", qPrintable(image));
            return 1;
        }
        for (const QString& sizeText : image.mid(colon + 1).split(QLatin1Char(','))) {
            bool ok = false;
            const int size = sizeText.toInt(&ok);
            if (!ok || size <= 0 || size > 256) {
                std::fprintf(stderr, "velmora_glyphbitmaps: bad size in %s\n", qPrintable(image));
                return 2;
            }
            const QImage drawn = velmora::DrawGlyph(renderer, size);
            const QString array = QStringLiteral("k%1_%2").arg(name).arg(size);
            arrays += QStringLiteral("const std::uint32_t %1[] = {").arg(array);
            for (int y = 0; y < size; ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
                arrays += QStringLiteral("\n   ");
                for (int x = 0; x < size; ++x)
                    arrays += QStringLiteral(" 0x%1,").arg(row[x], 8, 16, QLatin1Char('0'));
            }
            arrays += QStringLiteral("\n};\n");
            table += QStringLiteral("    {\"%1\", %2, %3},\n").arg(name).arg(size).arg(array);
            ++count;
        }
    }
    const QString text =
        QStringLiteral(
            "// Drawn by velmora_glyphbitmaps from the window's SVG images when the program "
            "is built.\n#include \"ui/glyphbitmaps.h\"\n\nnamespace velmora {\n\nnamespace "
            "{\n%1}  // namespace\n\nconst GlyphBitmap kGlyphBitmaps[] = {\n%2};\nconst "
            "std::size_t kGlyphBitmapCount = %3;\n\n}  // namespace velmora\n")
            .arg(arrays, table)
            .arg(count);
    QFile out(args.at(1));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0 ||
        !out.flush()) {
        std::fprintf(stderr, "velmora_glyphbitmaps: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
