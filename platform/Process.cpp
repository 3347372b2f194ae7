#include "Process.h"

#include "RuntimeError.h"

#include <QFile>
#include <QProcess>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void startProgram(const QString& path)
{
    // QProcess reports only that a start failed, not why; the checks below tell the user which it was.
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (stat(name.constData(), &status) != 0)
        throw RuntimeError(errno == ENOENT || errno == ENOTDIR ? Error::FileNotFound : Error::PathFileAccess, path);
    if (!S_ISREG(status.st_mode))
        throw RuntimeError(Error::PathFileAccess, path);
    if (access(name.constData(), X_OK) != 0)
        throw RuntimeError(Error::PermissionDenied, path);

    QProcess process;
    process.setProgram(path);
    process.setArguments({});
    if (!process.startDetached())
        throw RuntimeError(Error::PathFileAccess, path);
}

} // namespace platform
