// Renders an SVG picture at build time.
//   render_pictures INPUT.svg OUTPUT_PREFIX SIZE...
//       raw premultiplied ARGB32 pixels (native byte order) at each square size, OUTPUT_PREFIX-SIZE.argb:
//       the window icon's common sizes are then copied, not drawn or decoded, while the window comes up.
//   render_pictures --png INPUT.svg OUTPUT_PREFIX WIDTHxHEIGHT
//       PNG files at that size times each scale factor Windows offers, OUTPUT_PREFIX-100.png, -125, -150,
//       -200 and -300, for a build without an SVG renderer.

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

namespace {

QImage render(QSvgRenderer& renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, image.rect());
    return image;
}

int renderPng(const char* input, const QString& prefix, const char* size)
{
    QSvgRenderer renderer(QString::fromLocal8Bit(input));
    const QStringList parts = QString::fromLatin1(size).split(u'x');
    if (!renderer.isValid() || parts.size() != 2) {
        std::fprintf(stderr, "render_pictures: %s is no SVG, or %s no size\n", input, size);
        return 1;
    }
    for (const int scale : {100, 125, 150, 200, 300}) {
        const QSize scaled(qRound(parts[0].toInt() * scale / 100.0), qRound(parts[1].toInt() * scale / 100.0));
        const QString output = prefix + QStringLiteral("-%1.png").arg(scale);
        if (!render(renderer, scaled).save(output, "PNG")) {
            std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--png") == 0)
        return renderPng(argv[2], QString::fromLocal8Bit(argv[3]), argv[4]);
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
        const QImage image = render(renderer, QSize(size, size));
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
