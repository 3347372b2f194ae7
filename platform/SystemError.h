#pragma once

#include "RuntimeError.h"

#include <QString>

namespace platform {

// The platform's own text for a system error code (errno, or a Windows error code), without its line end;
// the description of error 75 where the platform has none.
QString systemErrorText(unsigned long code);

// Whether the error code of a failed file-system request is the file system's answer that nothing usable
// is at the path: no such file or folder, a folder that may not be entered, a loop of links, a name too
// long, a file locked by another program. Anything else is a failure to ask at all: an I/O error, a
// dropped connection, a server that cannot be reached or does not answer in time, a stale handle.
bool isFileSystemAnswer(unsigned long code);

// The run-time error for a request that the file system could not answer: 75, with the platform's text
// for the code as its description, so that whoever supports the user sees what failed.
inline RuntimeError unansweredRequest(unsigned long code, const QString& path)
{
    return RuntimeError(Error::PathFileAccess, systemErrorText(code), path);
}

// Raises unansweredRequest() for a failed request's code unless the file system answered it.
inline void raiseUnlessAnswered(unsigned long code, const QString& path)
{
    if (!isFileSystemAnswer(code))
        throw unansweredRequest(code, path);
}

} // namespace platform
