// Renders an SVG picture at build time.
//   render_pictures INPUT.svg OUTPUT_PREFIX SIZE...
//       raw premultiplied ARGB32 pixels (native byte order) at each square size, OUTPUT_PREFIX-SIZE.argb:
//       the window icon's common sizes are then copied, not drawn or decoded, while the window comes up.
//   render_pictures --png INPUT.svg OUTPUT_PREFIX WIDTHxHEIGHT
//       PNG files at that size times each scale factor Windows offers, OUTPUT_PREFIX-100.png, -125, -150,
//       -200 and -300, for a build without an SVG renderer.
//   render_pictures --ico INPUT.svg OUTPUT.ico SIZE...
//       a Windows icon with one image at each square size: 32-bit bitmaps below 64 px, PNG from 64 px on
//       (a tenth of a bitmap's bytes, which every start from the share reads), as Explorer, shortcuts and
//       the task bar read them.

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <algorithm>
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

void appendLittleEndian(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

// One icon image as Windows keeps it: a BITMAPINFOHEADER of twice the height, the colour rows bottom-up in
// BGRA, then the transparency mask, one bit a pixel, rows padded to four bytes.
QByteArray iconBitmap(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRow = (width + 31) / 32 * 4;
    QByteArray bytes;
    for (const quint32 value : {40u, quint32(width), quint32(2 * height)})
        appendLittleEndian(bytes, value, 4);
    appendLittleEndian(bytes, 1, 2); // planes
    appendLittleEndian(bytes, 32, 2); // bits a pixel
    for (const quint32 value : {0u, quint32(height * (width * 4 + maskRow)), 0u, 0u, 0u, 0u})
        appendLittleEndian(bytes, value, 4);
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            appendLittleEndian(bytes, line[x], 4); // 0xAARRGGBB, little-endian: B, G, R, A
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        bytes += row;
    }
    return bytes;
}

int renderIco(const char* input, const QString& output, const QList<int>& sizes)
{
    QSvgRenderer renderer(QString::fromLocal8Bit(input));
    if (!renderer.isValid() || sizes.isEmpty() || sizes.contains(0) || sizes.last() > 256) {
        std::fprintf(stderr, "render_pictures: %s is no SVG, or the sizes are not 1 to 256\n", input);
        return 1;
    }
    QList<QByteArray> images;
    for (const int size : sizes) {
        const QImage image = render(renderer, QSize(size, size));
        if (size < 64) {
            images.append(iconBitmap(image));
        } else {
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            image.save(&png, "PNG");
            images.append(png.data());
        }
    }
    QByteArray icon;
    appendLittleEndian(icon, 0, 2);
    appendLittleEndian(icon, 1, 2); // an icon, not a cursor
    appendLittleEndian(icon, quint32(sizes.size()), 2);
    quint32 offset = quint32(6 + 16 * sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const quint32 side = sizes[i] < 256 ? quint32(sizes[i]) : 0; // 0 stands for 256
        appendLittleEndian(icon, side, 1);
        appendLittleEndian(icon, side, 1);
        appendLittleEndian(icon, 0, 2); // no palette, reserved
        appendLittleEndian(icon, 1, 2);
        appendLittleEndian(icon, 32, 2);
        appendLittleEndian(icon, quint32(images[i].size()), 4);
        appendLittleEndian(icon, offset, 4);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        icon += image;
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size()) {
        std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--png") == 0)
        return renderPng(argv[2], QString::fromLocal8Bit(argv[3]), argv[4]);
    if (argc >= 5 && qstrcmp(argv[1], "--ico") == 0) {
        QList<int> sizes;
        for (int i = 4; i < argc; ++i)
            sizes.append(std::atoi(argv[i]));
        std::sort(sizes.begin(), sizes.end());
        return renderIco(argv[2], QString::fromLocal8Bit(argv[3]), sizes);
    }
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
