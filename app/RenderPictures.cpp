// Renders an SVG picture at given square sizes at build time, as raw premultiplied ARGB32 pixels (native
// byte order): the window icon's common sizes are then copied, not drawn or decoded, while the window
// comes up.
//   render_pictures INPUT.svg OUTPUT_PREFIX SIZE...   writes OUTPUT_PREFIX-SIZE.argb for each size

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_pictures INPUT.svg OUTPUT_PREFIX SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_pictures: %s is no SVG\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            renderer.render(&painter, image.rect());
        }
        const QString output = QString::fromLocal8Bit(argv[2]) + QStringLiteral("-%1.argb").arg(size);
        QFile file(output);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())
                != image.sizeInBytes()) {
            std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output));
            return 1;
        }
    }
    return 0;
}
