#include "DirectoryList.h"

#include "FileName.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include <sys/stat.h>

namespace platform {

void DirectoryList::setPath(const QString& path)
{
    struct stat status;
    if (stat(encodeFileName(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
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
