#include "SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {

QString systemErrorText(unsigned long code, const QString&)
{
    const QString text = QString::fromLocal8Bit(std::strerror(int(code)));
    return text.isEmpty() ? Error::description(Error::PathFileAccess) : text;
}

RequestFailure requestFailure(unsigned long code)
{
    switch (int(code)) {
    case ENOENT:
    case ENOTDIR:
        return RequestFailure::NothingThere;
    case EACCES:
    case EPERM:
        return RequestFailure::Refused;
    case ELOOP:
    case ENAMETOOLONG:
    case ENXIO: // a socket or a device where a file was expected
    case ENODEV:
    case EISDIR:
        return RequestFailure::Unusable;
    }
    return RequestFailure::Unanswered;
}

} // namespace platform
