// Descriptor decoding and line splitting on arbitrary bytes: the lines that come piece by piece are those
// of the whole text decoded at once and split, each without the spaces at its ends; a line longer than
// TextLines::LongLine bytes comes as its first LongLine bytes, the last made an "x" where it is a space.

#include "platform/TextDecoding.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <cstdlib>

using platform::TextLines;

// The lines of text, decoded at once from body (the bytes without a leading byte order mark where they
// are UTF-8), each split at a carriage return, line feed or both (a final terminator adds none) and
// trimmed of spaces.
static QStringList wholeLines(QByteArrayView body, const QString& text, bool utf8)
{
    QStringList lines;
    // Where a byte of body starts in text: Windows-1250 makes one character of each byte; UTF-8 one of each
    // sequence, two of a four-byte one.
    qsizetype byteAt = 0;
    qsizetype charAt = 0;
    const auto charOf = [&](qsizetype byte) {
        if (!utf8)
            return byte;
        for (; byteAt < byte; ++byteAt) {
            const auto value = static_cast<unsigned char>(body[byteAt]);
            if ((value & 0xC0) != 0x80)
                charAt += value >= 0xF0 ? 2 : 1;
        }
        return charAt;
    };
    const auto addLine = [&](qsizetype begin, qsizetype end) {
        while (begin < end && body[begin] == ' ')
            ++begin;
        while (end > begin && body[end - 1] == ' ')
            --end;
        if (end - begin <= TextLines::LongLine) {
            const qsizetype first = charOf(begin);
            lines.append(text.sliced(first, charOf(end) - first));
            return;
        }
        QByteArray kept = body.sliced(begin, TextLines::LongLine).toByteArray();
        if (kept.endsWith(' '))
            kept.back() = 'x';
        if (utf8) {
            // A sequence the cut goes through becomes U+FFFD; a U+FEFF at the line's start stays.
            QStringDecoder decoder(QStringDecoder::Utf8,
                                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            lines.append(decoder.decode(kept));
        } else {
            QString line = text.sliced(charOf(begin), TextLines::LongLine);
            if (kept.back() == 'x')
                line.back() = u'x';
            lines.append(line);
        }
        // However a reader trims it, it overflows a name line.
        if (lines.back().size() <= 32767)
            abort();
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\r' && body[i] != '\n')
            continue;
        addLine(start, i);
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < body.size())
        addLine(start, body.size());
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
    const bool utf8 = text.toUtf8() == withoutMark;
    if (!utf8 && text.size() != bytes.size())
        abort();

    QStringList found[2];
    TextLines lines([&](platform::TextEncoding encoding, QStringView line) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            abort();
        found[int(encoding)].append(line.toString());
    });
    for (qsizetype done = 0; done < bytes.size(); done += piece)
        lines.add(bytes.sliced(done, qMin(piece, bytes.size() - done)));
    const platform::TextEncoding encoding = lines.finish();
    if ((encoding == platform::TextEncoding::Utf8) != utf8)
        abort();
    if (found[int(encoding)] != wholeLines(utf8 ? withoutMark : bytes, text, utf8))
        abort();
    return 0;
}
