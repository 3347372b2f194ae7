#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace platform {

// Run-time error numbers, as the suite's own tools report them.
namespace Error {
enum : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    ElementNotFound = 35601,
    KeyNotUnique = 35602,
};

// The standard description of a platform error number; empty for numbers it does not know.
QString description(int number);
} // namespace Error

// A run-time error: a number and a description, optionally with the file or key it concerns.
// It travels up the calls until a handler reports it; no handler lets it reach Qt's event loop.
class RuntimeError : public std::exception
{
public:
    explicit RuntimeError(int number, const QString& subject = {});
    RuntimeError(int number, const QString& description, const QString& subject);

    int number() const { return m_number; }
    QString description() const { return m_description; }
    // The path or key the error concerns, in a readable form (see displayFileName), or empty. Shown
    // beside the message, never inside it.
    QString subject() const { return m_subject; }

    const char* what() const noexcept override;

private:
    int m_number;
    QString m_description;
    QString m_subject;
    QByteArray m_what;
};

} // namespace platform
