#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

namespace platform {

// Pictures addressed by key, as the tree takes them for its nodes.
class ImageList
{
public:
    // Adds or replaces the picture under key.
    void add(const QString& key, const QIcon& picture);
    bool contains(const QString& key) const { return m_pictures.contains(key); }
    QIcon picture(const QString& key) const { return m_pictures.value(key); }

private:
    QHash<QString, QIcon> m_pictures;
};

// An icon drawn from an SVG file (a resource path such as ":/pictures/leaf.svg") at whatever size and
// device pixel ratio it is asked for, so it stays crisp on any screen. A missing file gives a null icon;
// a file that is no SVG draws nothing.
//
// rasterSizes names square sizes rendered ahead into files of raw premultiplied ARGB32 pixels beside it
// ("leaf-16.argb" for 16): those are copied rather than drawn, and they are the sizes the icon offers a
// window manager.
QIcon svgIcon(const QString& fileName, const QList<int>& rasterSizes = {});

} // namespace platform
