// SPDX-License-Identifier: GPL-3.0-or-later
// Renders an SVG drawing at its stated size into a PNG file: the screens' layout pictures are drawn
// from SVG sources once, at build time, so that the program only decodes a small bitmap at start.
// With a size, a square drawing is drawn that many pixels wide and high (the application icon's
// sizes for the desktop's icon theme).
//
//   quill-render-svg SOURCE.svg DEST.png [SIZE]
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quill-render-svg SOURCE.svg DEST.png [SIZE]\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    QSize size = renderer.defaultSize();
    if (argc == 4) {
        const int side = QByteArray(argv[3]).toInt();
        if (side <= 0) {
            std::fprintf(stderr, "%s: not a size\n", argv[3]);
            return 2;
        }
        size = QSize(side, side);
    }
    if (!renderer.isValid() || size.isEmpty()) {
        std::fprintf(stderr, "%s: not a drawing with a size\n", argv[1]);
        return 1;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    // Opaque drawings are stored without an alpha channel.
    bool opaque = true;
    for (int y = 0; y < image.height() && opaque; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width() && opaque; ++x)
            opaque = qAlpha(line[x]) == 255;
    }
    if (opaque)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
