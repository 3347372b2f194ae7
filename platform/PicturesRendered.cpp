#include "ImageList.h"

#include <QFile>

namespace platform {

// Where no SVG renderer is at hand (the Windows build has no Qt SVG), each picture comes as PNG files
// rendered from its SVG at build time, one per scale factor that the platform offers: "leaf-150.png"
// for ":/pictures/leaf.svg" at 150 %. The icon takes the one that fits the size and pixel density asked.
QIcon svgIcon(const QString& fileName, const QList<int>&)
{
    QIcon icon;
    for (const int scale : {100, 125, 150, 200, 300}) {
        const QString rendered = fileName.chopped(4) + QStringLiteral("-%1.png").arg(scale);
        if (QFile::exists(rendered))
            icon.addFile(rendered);
    }
    return icon;
}

} // namespace platform
