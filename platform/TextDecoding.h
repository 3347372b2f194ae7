#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace platform {

// Decodes the bytes of a descriptor: UTF-8 when they are valid UTF-8 (a leading byte order mark dropped),
// Windows-1250 otherwise, the code page the suite writes its own files in. Bytes that Windows-1250 leaves
// undefined become U+FFFD.
QString decodeText(QByteArrayView bytes);

// Splits text into lines. A carriage return, a carriage return with a line feed, and a lone line feed each
// end a line; the terminator is not part of the line. A terminator at the very end adds no empty line.
QStringList splitLines(QStringView text);

} // namespace platform
