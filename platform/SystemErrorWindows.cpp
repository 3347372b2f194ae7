#include "SystemErrorWindows.h"
#include "SystemError.h"

#include <QDir>

#include <windows.h>

namespace platform {

QString insertIntoSystemText(QStringView text, const QString& path)
{
    QString message;
    message.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%' || i + 1 == text.size()) {
            message += text[i];
            continue;
        }
        const QChar escape = text[++i];
        if (escape >= u'1' && escape <= u'9') {
            if (i + 1 < text.size() && text[i + 1] >= u'0' && text[i + 1] <= u'9')
                ++i;
            if (i + 1 < text.size() && text[i + 1] == u'!') {
                const qsizetype formatEnd = text.indexOf(u'!', i + 2);
                if (formatEnd > 0)
                    i = formatEnd;
            }
            message += path;
        } else if (escape == u'0') {
            break;
        } else if (escape == u'n') {
            message += u"\r\n";
        } else if (escape == u'r') {
            message += u'\r';
        } else if (escape == u't') {
            message += u'\t';
        } else {
            message += escape; // %%, "% ", %. and %!, and what FormatMessage does not know
        }
    }
    return message;
}

QString systemErrorText(unsigned long code, const QString& path)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // Asked without inserts, the system leaves them as they stand (%1, %2, %1!s! and the like): the
    // request's path is inserted for every one.
    const QString message = length
        ? insertIntoSystemText(QStringView(text, qsizetype(length)).trimmed(), QDir::toNativeSeparators(path))
        : QString();
    LocalFree(text);
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
