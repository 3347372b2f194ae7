#include "DirectoryList.h"

#include "FileSystem.h"
#include "RuntimeError.h"

namespace platform {

void DirectoryList::setPath(const QString& path)
{
    if (!folderExists(path))
        throw RuntimeError(Error::PathNotFound, path);
    m_path = path;
    m_entries.reset();
}

int DirectoryList::listCount()
{
    return int(entries().size());
}

QString DirectoryList::list(int index)
{
    const QStringList& all = entries();
    if (index < 0 || index >= all.size())
        throw RuntimeError(Error::SubscriptOutOfRange);
    return all.at(index);
}

const QStringList& DirectoryList::entries()
{
    if (!m_entries)
        m_entries = listSubfolders(m_path);
    return *m_entries;
}

} // namespace platform
