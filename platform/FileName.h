#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// File names here are bytes, and folders copied from the suite's Windows shares or made by older tools
// are often named in Windows-1250, which is no UTF-8. Qt's own file-name codec loses such bytes, so paths
// are carried in QString by a mapping that keeps them: valid UTF-8 is decoded as text, and every byte
// that is not part of valid UTF-8 becomes the lone surrogate U+DC00 + byte, which turns back into that
// byte. A path from the listing or the current directory thus reaches the file system again byte for
// byte.
QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(QStringView name);

// Whether name holds bytes that are no text, carried as lone surrogates.
bool holdsRawBytes(QStringView name);

// A readable form of a file name or path for showing to the user: as it stands where it is text, and
// otherwise its bytes decoded as a descriptor's are (UTF-8 where valid, Windows-1250 otherwise); with the
// platform's own separators ("\" on Windows).
QString displayFileName(QStringView name);

} // namespace platform
