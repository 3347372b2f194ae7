#include "Catalogue.h"

namespace catalogue {

void Catalogue::clear()
{
    Names.clear();
    LaunchPaths.clear();
    Parents.clear();
}

void Catalogue::file(const QString& name, const QString& launchPath)
{
    Names.append(name);
    LaunchPaths.append(launchPath);
    Parents.append(QString());
}

QString Catalogue::launchPath(int index) const
{
    return LaunchPaths.value(index);
}

} // namespace catalogue
