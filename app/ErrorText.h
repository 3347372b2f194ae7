#pragma once

#include "platform/RuntimeError.h"

#include <QString>

// How run-time errors read in the program's messages.
namespace ErrorText {

// "N: description"
inline QString handled(const platform::RuntimeError& error)
{
    return QString::number(error.number()) + QStringLiteral(": ") + error.description();
}

// "N: description: path", for errors whose file the user must be told.
inline QString handledWithSubject(const platform::RuntimeError& error)
{
    return error.subject().isEmpty() ? handled(error) : handled(error) + QStringLiteral(": ") + error.subject();
}

// "Run-time error 'N':", a blank line and the description: an error that no handler took.
inline QString unhandled(const platform::RuntimeError& error)
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(QString::number(error.number()), error.description());
}

} // namespace ErrorText
