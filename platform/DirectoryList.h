#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// The hidden directory list of the main window: pointed at a folder, it tells that folder's direct
// subfolders by index, in the order of listSubfolders(). The folder is read once, at the first question
// after the path was set.
class DirectoryList
{
public:
    // Error 76 when the path is not a folder; 70 or 75 where the file system refuses or cannot answer.
    void setPath(const QString& path);

    int listCount();
    // The full path of subfolder index, counted from 0. Error 9 outside 0 to listCount() - 1.
    QString list(int index);

private:
    const QStringList& entries();

    QString m_path;
    std::optional<QStringList> m_entries;
};

} // namespace platform
