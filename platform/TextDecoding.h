#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// Decodes the bytes of a descriptor: UTF-8 when they are valid UTF-8 (a leading byte order mark dropped),
// Windows-1250 otherwise, the code page the suite writes its own files in. Bytes that Windows-1250 leaves
// undefined become U+FFFD.
QString decodeText(QByteArrayView bytes);

// Calls line(QStringView) for each line of text, in order. A carriage return, a carriage return with a line
// feed, and a lone line feed each end a line; the terminator is not part of the line. A terminator at the
// very end adds no empty line.
template <typename LineFunction>
void forEachLine(QStringView text, LineFunction&& line)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        line(text.sliced(start, i - start));
        if (c == u'\r' && text.mid(i + 1).startsWith(u'\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(text.sliced(start));
}

} // namespace platform
