#include "SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {

QString systemErrorText(unsigned long code)
{
    const QString text = QString::fromLocal8Bit(std::strerror(int(code)));
    return text.isEmpty() ? Error::description(Error::PathFileAccess) : text;
}

bool isFileSystemAnswer(unsigned long code)
{
    switch (int(code)) {
    case ENOENT:
    case ENOTDIR:
    case EACCES:
    case EPERM:
    case ELOOP:
    case ENAMETOOLONG:
    case ENXIO: // a socket or a device where a file was expected
    case ENODEV:
    case EISDIR:
        return true;
    }
    return false;
}

} // namespace platform
