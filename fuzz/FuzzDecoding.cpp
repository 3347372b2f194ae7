// Descriptor decoding and line splitting on arbitrary bytes: the lines that come piece by piece are those
// of the whole text decoded at once and split, each without the spaces at its ends.

#include "platform/TextDecoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdlib>

// The whole text's lines, split at each carriage return, line feed or both; a final terminator adds none.
static QStringList wholeLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    for (QString& line : lines) {
        qsizetype begin = 0;
        qsizetype end = line.size();
        while (begin < end && line[begin] == u' ')
            ++begin;
        while (end > begin && line[end - 1] == u' ')
            --end;
        line = line.sliced(begin, end - begin);
    }
    return lines;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte is the size of the pieces; the rest is the text.
    const qsizetype piece = data[0] + 1;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString text = platform::decodeText(bytes);
    // Either the bytes were UTF-8 and come back unchanged, or every byte became one character.
    const QByteArrayView withoutMark = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    if (text.toUtf8() != withoutMark && text.size() != bytes.size())
        abort();

    QStringList found[2];
    platform::TextLines lines([&](platform::TextEncoding encoding, QStringView line) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            abort();
        found[int(encoding)].append(line.toString());
    });
    for (qsizetype done = 0; done < bytes.size(); done += piece)
        lines.add(bytes.sliced(done, qMin(piece, bytes.size() - done)));
    const platform::TextEncoding encoding = lines.finish();
    if ((encoding == platform::TextEncoding::Utf8) != (text.toUtf8() == withoutMark))
        abort();
    // The inputs are shorter than a line that is cut off.
    if (found[int(encoding)] != wholeLines(text))
        abort();
    return 0;
}
