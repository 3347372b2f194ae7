#include "ImageList.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <memory>

namespace platform {

namespace {

class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(std::shared_ptr<QSvgRenderer> renderer)
        : m_renderer(std::move(renderer))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        m_renderer->render(painter, rect);
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

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64), QSize(128, 128)};
    }

    bool isNull() override { return !m_renderer->isValid(); }

    QIconEngine* clone() const override { return new SvgIconEngine(m_renderer); }

private:
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
    auto renderer = std::make_shared<QSvgRenderer>(fileName);
    if (!renderer->isValid())
        return {};
    return QIcon(new SvgIconEngine(std::move(renderer)));
}

} // namespace platform
