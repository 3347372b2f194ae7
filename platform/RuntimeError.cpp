#include "RuntimeError.h"

#include "FileName.h"

using namespace Qt::StringLiterals;

namespace platform {

QString Error::description(int number)
{
    switch (number) {
    case InvalidProcedureCall:
        return u"Invalid procedure call or argument"_s;
    case Overflow:
        return u"Overflow"_s;
    case SubscriptOutOfRange:
        return u"Subscript out of range"_s;
    case FileNotFound:
        return u"File not found"_s;
    case PermissionDenied:
        return u"Permission denied"_s;
    case PathFileAccess:
        return u"Path/File access error"_s;
    case PathNotFound:
        return u"Path not found"_s;
    case ElementNotFound:
        return u"Element not found"_s;
    case KeyNotUnique:
        return u"Key is not unique in collection"_s;
    }
    return {};
}

RuntimeError::RuntimeError(int number, const QString& subject)
    : RuntimeError(number, Error::description(number), subject)
{
}

RuntimeError::RuntimeError(int number, const QString& description, const QString& subject)
    : m_number(number)
    , m_description(description)
    , m_subject(displayFileName(subject))
{
    QString text = QString::number(number) + u": "_s + description;
    if (!subject.isEmpty())
        text += u" ("_s + subject + u')';
    m_what = text.toUtf8();
}

const char* RuntimeError::what() const noexcept
{
    return m_what.constData();
}

} // namespace platform
