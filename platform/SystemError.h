#pragma once

#include "RuntimeError.h"

#include <QString>

namespace platform {

// The platform's own text for a system error code (errno, or a Windows error code) of a request about
// path, without its line end; the description of error 75 where the platform has none. Where the text has
// places for what the request was about ("%1 is not a valid Win32 application."), path fills them.
QString systemErrorText(unsigned long code, const QString& path);

// What the error code of a failed file-system request says. The first three are the file system's answer;
// anything else is a failure to ask at all: an I/O error, a dropped connection, a server that cannot be
// reached or does not answer in time, a stale handle.
enum class RequestFailure {
    NothingThere, // no such file or folder
    Refused, // it may not be done: no permission, a file locked by another program
    Unusable, // what is there is not what was asked for: a loop of links, a name too long, a socket
    Unanswered,
};
RequestFailure requestFailure(unsigned long code);

// Whether the error code is the file system's answer: nothing usable is at the path.
inline bool isFileSystemAnswer(unsigned long code)
{
    return requestFailure(code) != RequestFailure::Unanswered;
}

// The run-time error 75, with the platform's text for the code as its description, so that whoever
// supports the user sees what failed: for a request that the file system could not answer, and for any
// failure but "nothing there" and a refusal.
inline RuntimeError unansweredRequest(unsigned long code, const QString& path)
{
    return RuntimeError(Error::PathFileAccess, systemErrorText(code, path), path);
}

enum class RequestTarget { File, Folder };

// The run-time error for a request on path that failed with code, the one rule for every request: 53 for
// a file and 76 for a folder where nothing is there, 70 where it was refused, and unansweredRequest()
// for everything else.
inline RuntimeError requestError(unsigned long code, const QString& path, RequestTarget target)
{
    switch (requestFailure(code)) {
    case RequestFailure::NothingThere:
        return RuntimeError(target == RequestTarget::Folder ? Error::PathNotFound : Error::FileNotFound, path);
    case RequestFailure::Refused:
        return RuntimeError(Error::PermissionDenied, path);
    default:
        return unansweredRequest(code, path);
    }
}

// Raises unansweredRequest() for a failed request's code unless the file system answered it.
inline void raiseUnlessAnswered(unsigned long code, const QString& path)
{
    if (!isFileSystemAnswer(code))
        throw unansweredRequest(code, path);
}

} // namespace platform
