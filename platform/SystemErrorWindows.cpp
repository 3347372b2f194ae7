#include "SystemError.h"

#include <QDir>
#include <QRegularExpression>

#include <windows.h>

namespace platform {

QString systemErrorText(unsigned long code, const QString& path)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString found = length ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    // Asked without inserts, the system leaves its places (%1, %2 and the like, with a format such as
    // %1!s!) as they stand: the request's path fills every one. (QString::replace() would read the
    // path's backslashes as references to the pattern's groups.)
    static const QRegularExpression insert(QStringLiteral("%[1-9][0-9]?(![^!]*!)?"));
    const QString filling = QDir::toNativeSeparators(path);
    QString message;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator places = insert.globalMatch(found); places.hasNext();) {
        const QRegularExpressionMatch place = places.next();
        message += QStringView(found).sliced(done, place.capturedStart() - done);
        message += filling;
        done = place.capturedEnd();
    }
    message += QStringView(found).sliced(done);
    return message.isEmpty() ? Error::description(Error::PathFileAccess) : message;
}

RequestFailure requestFailure(unsigned long code)
{
    // A server that is gone answers ERROR_BAD_NETPATH or ERROR_NETNAME_DELETED: no answer about the path.
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY: // a file where a folder was expected on the way
        return RequestFailure::NothingThere;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return RequestFailure::Refused;
    case ERROR_FILENAME_EXCED_RANGE:
        return RequestFailure::Unusable;
    }
    return RequestFailure::Unanswered;
}

} // namespace platform
