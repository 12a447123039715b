// Build-time helper: renders the program's SVG icon into the PNG sizes of the hicolor
// icon theme, so the installed bitmaps always match the vector icon.
//   velmora_iconpng SOURCE.svg OUTPUT_DIR SIZE...
// writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/velmora.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: velmora_iconpng SOURCE.svg OUTPUT_DIR SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "velmora_iconpng: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "velmora_iconpng: bad size %s\n", qPrintable(args.at(i)));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        const QString file = folder + QStringLiteral("/velmora.png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "velmora_iconpng: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
