#pragma once

#include <QString>
#include <QStringList>

namespace catalogue {

// The installations the window knows, as three parallel lists: entry i is Names[i], LaunchPaths[i] and
// Parents[i], and the three always move together. The scan files entries in descending order of folder
// name; grouping fills Parents and puts the entries in display order. There is no capacity limit.
struct Catalogue
{
    QStringList Names; // display names, never empty
    QStringList LaunchPaths; // full paths of the launchers
    QStringList Parents; // the group head's name, or empty for a group head

    int Count() const { return int(Names.size()); }

    void clear();
    // Appends an entry without a parent.
    void file(const QString& name, const QString& launchPath);

    // The launch path of entry index, or empty for an index past the last entry.
    QString launchPath(int index) const;
};

} // namespace catalogue
