#include "FileSystem.h"

#include <algorithm>

namespace platform {

QStringList folderPaths(const QString& folder, QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (QString& name : names)
        name.prepend(prefix);
    return names;
}

} // namespace platform
