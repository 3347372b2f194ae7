#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// A system message as FormatMessage gives it without inserts, with path inserted for each of its inserts
// (%1 to %99, with or without a format such as %1!s!) and its other escapes read as FormatMessage reads
// them: %% a percent sign, %n a line end, %r a carriage return, %t a tab, "% ", %. and %! the character
// itself, %0 the end of the message. Path is taken as it stands: neither its "%", "$" nor "\" mean anything.
QString insertIntoSystemText(QStringView text, const QString& path);

} // namespace platform
