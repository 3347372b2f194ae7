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
    explicit SvgIconEngine(const QString& fileName)
        : m_fileName(fileName)
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
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
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

    QString m_fileName;
    std::shared_ptr<QSvgRenderer> m_renderer;
};

} // namespace

void ImageList::add(const QString& key, const QIcon& picture)
{
    if (!m_pictures.contains(key))
        m_keys.append(key);
    m_pictures.insert(key, picture);
}

QIcon svgIcon(const QString& fileName)
{
    if (!QFile::exists(fileName))
        return {};
    return QIcon(new SvgIconEngine(fileName));
}

} // namespace platform
