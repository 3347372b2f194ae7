// The pictures rendered at build time, read back as their readers read them: the window icon's raw pixels,
// the PNG files of the Windows build at each scale factor, and the Windows icon with its bitmaps and masks.

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

class TestRenderPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rawPixels();
    void pngAtEachScale();
    void windowsIcon();
    void refused_data();
    void refused();

private:
    // The exit status; what the program said on its error output goes to said.
    static int render(const QStringList& arguments, QString* said = nullptr);
    static QImage expected(const QString& svg, QSize size);

    QTemporaryDir m_dir;
};

namespace {

const QString Leaf = QStringLiteral(MARUN_PICTURES "/leaf.svg");
const QString Banner = QStringLiteral(MARUN_PICTURES "/banner.svg");

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes.at(at + i));
    return value;
}

} // namespace

int TestRenderPictures::render(const QStringList& arguments, QString* said)
{
    QProcess program;
    program.setStandardOutputFile(QProcess::nullDevice());
    program.start(QStringLiteral(MARUN_RENDER_PICTURES), arguments);
    if (!program.waitForFinished(30000) || program.exitStatus() != QProcess::NormalExit)
        return -1;
    if (said)
        *said = QString::fromLocal8Bit(program.readAllStandardError()).section(u'\n', -2, -2);
    return program.exitCode();
}

QImage TestRenderPictures::expected(const QString& svg, QSize size)
{
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, image.rect());
    return image;
}

void TestRenderPictures::rawPixels()
{
    QCOMPARE(render({Leaf, m_dir.filePath(u"leaf"_s), u"16"_s, u"48"_s}), 0);
    for (const int size : {16, 48}) {
        QFile file(m_dir.filePath(u"leaf-%1.argb"_s.arg(size)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage image = expected(Leaf, {size, size});
        QCOMPARE(file.readAll(), QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
}

void TestRenderPictures::pngAtEachScale()
{
    QCOMPARE(render({u"--png"_s, Banner, m_dir.filePath(u"banner"_s), u"399x162"_s}), 0);
    const QList<std::pair<int, QSize>> scales {
        {100, {399, 162}}, {125, {499, 203}}, {150, {599, 243}}, {200, {798, 324}}, {300, {1197, 486}}};
    for (const auto& [scale, size] : scales) {
        const QImage png(m_dir.filePath(u"banner-%1.png"_s.arg(scale)));
        QCOMPARE(png.size(), size);
        QCOMPARE(png.convertToFormat(QImage::Format_ARGB32),
                 expected(Banner, size).convertToFormat(QImage::Format_ARGB32));
    }
}

// Every image as Windows reads it: the directory entry, then a bitmap of twice the height with the colour
// rows bottom-up in BGRA and a one-bit mask that marks the transparent pixels, or from 64 px a PNG.
void TestRenderPictures::windowsIcon()
{
    const QList<int> sizes {16, 20, 24, 32, 48, 63, 64, 256};
    const QString path = m_dir.filePath(u"leaf.ico"_s);
    // Given in any order, the images come smallest first.
    QCOMPARE(render({u"--ico"_s, Leaf, path, u"256"_s, u"48"_s, u"64"_s, u"63"_s, u"32"_s, u"24"_s, u"20"_s, u"16"_s}),
             0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray icon = file.readAll();

    QCOMPARE(littleEndian(icon, 0, 2), 0u);
    QCOMPARE(littleEndian(icon, 2, 2), 1u); // an icon
    QCOMPARE(littleEndian(icon, 4, 2), quint32(sizes.size()));
    quint32 next = quint32(6 + 16 * sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const int size = sizes[i];
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(littleEndian(icon, entry, 1), quint32(size % 256));
        QCOMPARE(littleEndian(icon, entry + 1, 1), quint32(size % 256));
        QCOMPARE(littleEndian(icon, entry + 2, 2), 0u);
        QCOMPARE(littleEndian(icon, entry + 4, 2), 1u); // planes
        QCOMPARE(littleEndian(icon, entry + 6, 2), 32u); // bits a pixel
        const quint32 length = littleEndian(icon, entry + 8, 4);
        QCOMPARE(littleEndian(icon, entry + 12, 4), next);
        const QByteArray image = icon.mid(next, length);
        next += length;
        const QImage wanted = expected(Leaf, {size, size}).convertToFormat(QImage::Format_ARGB32);
        if (size >= 64) {
            QCOMPARE(QImage::fromData(image, "PNG").convertToFormat(QImage::Format_ARGB32), wanted);
            continue;
        }
        const int maskRow = (size + 31) / 32 * 4;
        QCOMPARE(length, quint32(40 + size * size * 4 + size * maskRow));
        const QList<quint32> header {40, quint32(size), quint32(2 * size)};
        for (qsizetype field = 0; field < header.size(); ++field)
            QCOMPARE(littleEndian(image, 4 * field, 4), header[field]);
        QCOMPARE(littleEndian(image, 12, 2), 1u);
        QCOMPARE(littleEndian(image, 14, 2), 32u);
        QCOMPARE(littleEndian(image, 20, 4), quint32(size * (size * 4 + maskRow)));
        bool transparent = false;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = wanted.pixel(x, y);
                const int row = size - 1 - y;
                QCOMPARE(littleEndian(image, 40 + (row * size + x) * 4, 4), quint32(pixel));
                const bool masked = image.at(40 + size * size * 4 + row * maskRow + x / 8) & (0x80 >> (x % 8));
                QCOMPARE(masked, qAlpha(pixel) == 0);
                transparent = transparent || masked;
            }
        }
        QVERIFY(transparent); // the leaf's corners
    }
    QCOMPARE(qsizetype(next), icon.size());
}

void TestRenderPictures::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // the last line on the error output

    const QString out = m_dir.filePath(u"out"_s);
    const QString missing = m_dir.filePath(u"missing.svg"_s);
    const QString sizes = u"render_pictures: %1 is no SVG, or the sizes are not 1 to 256"_s;
    QTest::newRow("no SVG") << QStringList {missing, out, u"16"_s} << 1
                            << u"render_pictures: %1 is no SVG"_s.arg(missing);
    QTest::newRow("too few arguments") << QStringList {Leaf, out} << 2
                                       << u"usage: render_pictures INPUT.svg OUTPUT_PREFIX SIZE..."_s;
    QTest::newRow("PNG, no size") << QStringList {u"--png"_s, Leaf, out, u"16"_s} << 1
                                  << u"render_pictures: %1 is no SVG, or 16 no size"_s.arg(Leaf);
    QTest::newRow("PNG, no SVG") << QStringList {u"--png"_s, missing, out, u"16x16"_s} << 1
                                 << u"render_pictures: %1 is no SVG, or 16x16 no size"_s.arg(missing);
    QTest::newRow("icon of 0 px") << QStringList {u"--ico"_s, Leaf, out, u"0"_s, u"16"_s} << 1 << sizes.arg(Leaf);
    QTest::newRow("icon of 257 px") << QStringList {u"--ico"_s, Leaf, out, u"16"_s, u"257"_s} << 1 << sizes.arg(Leaf);
    QTest::newRow("icon of 1 px") << QStringList {u"--ico"_s, Leaf, out, u"1"_s} << 0 << QString();
    QTest::newRow("icon, no SVG") << QStringList {u"--ico"_s, missing, out, u"16"_s} << 1 << sizes.arg(missing);
    const QString unwritable = m_dir.filePath(u"missing/out"_s);
    QTest::newRow("icon, folder that is not there") << QStringList {u"--ico"_s, Leaf, unwritable + u".ico"_s, u"16"_s}
                                                    << 1 << u"render_pictures: cannot write %1.ico"_s.arg(unwritable);
    QTest::newRow("PNG, folder that is not there") << QStringList {u"--png"_s, Leaf, unwritable, u"16x16"_s} << 1
                                                   << u"render_pictures: cannot write %1-100.png"_s.arg(unwritable);
    QTest::newRow("pixels, folder that is not there") << QStringList {Leaf, unwritable, u"16"_s} << 1
                                                      << u"render_pictures: cannot write %1-16.argb"_s.arg(unwritable);
}

void TestRenderPictures::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QString output;
    QCOMPARE(render(arguments, &output), status);
    QCOMPARE(output, said);
}

QTEST_GUILESS_MAIN(TestRenderPictures)
#include "TestRenderPictures.moc"
