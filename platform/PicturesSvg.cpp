#include "ImageList.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <memory>

namespace platform {

namespace {

// Parses its file at the first drawing, not when the icon is made: most pictures are first drawn after
// the window is on screen, so start-up does not wait for them.
class SvgIconEngine : public QIconEngine
{
public:
    SvgIconEngine(const QString& fileName, const QList<int>& rasterSizes)
        : m_fileName(fileName)
        , m_rasterSizes(rasterSizes)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        renderer().render(painter, rect);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels already; scale only labels the result.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        if (size.width() == size.height() && m_rasterSizes.contains(size.width())) {
            QImage rendered = rasterImage(size.width());
            if (!rendered.isNull()) {
                rendered.setDevicePixelRatio(scale);
                return QPixmap::fromImage(std::move(rendered));
            }
        }
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            paint(&painter, image.rect(), mode, state);
        }
        image.setDevicePixelRatio(scale);
        return QPixmap::fromImage(std::move(image));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    // The sizes a window manager is offered for the window icon; anything else is drawn on demand.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : m_rasterSizes)
            sizes.append(QSize(size, size));
        return sizes.isEmpty() ? QList<QSize> {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)} : sizes;
    }

    // Asked while a view lays out its rows; answering it must not parse the file.
    bool isNull() override { return m_fileName.isEmpty(); }

    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

private:
    QSvgRenderer& renderer()
    {
        if (!m_renderer)
            m_renderer = std::make_shared<QSvgRenderer>(m_fileName);
        return *m_renderer;
    }

    // The picture rendered ahead at size, or a null image where there is none.
    QImage rasterImage(int size) const
    {
        QFile file(m_fileName.chopped(4) + QStringLiteral("-%1.argb").arg(size));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        if (file.read(reinterpret_cast<char*>(image.bits()), image.sizeInBytes()) != image.sizeInBytes())
            return {};
        return image;
    }

    QString m_fileName;
    QList<int> m_rasterSizes;
    std::shared_ptr<QSvgRenderer> m_renderer;
};

} // namespace

QIcon svgIcon(const QString& fileName, const QList<int>& rasterSizes)
{
    if (!QFile::exists(fileName))
        return {};
    return QIcon(new SvgIconEngine(fileName, rasterSizes));
}

} // namespace platform
