#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <functional>

namespace platform {

// Decodes the bytes of a descriptor: UTF-8 when they are valid UTF-8 (a leading byte order mark dropped),
// Windows-1250 otherwise, the code page the suite writes its own files in. Bytes that Windows-1250 leaves
// undefined become U+FFFD.
QString decodeText(QByteArrayView bytes);

// The two encodings that decodeText() tells apart.
enum class TextEncoding { Utf8, Windows1250 };

// A text's lines as its bytes come, in pieces of any size, for a reader that keeps only what it needs of
// them: the text itself is never kept. Which encoding the text has (decodeText()'s rule over all of it) is
// known only at its end, so each line is given in both: line(encoding, text), in order. A carriage
// return, a carriage return with a line feed, and a lone line feed each end a line; a terminator at the
// very end adds no empty line. A line is given without its terminator and without the spaces (U+0020) at
// its ends, which no reader of the lines keeps; one longer than LongLine bytes without them as its first
// LongLine bytes, the last made an "x" where it is a space, which decode to more than 32,767 characters in
// either encoding however they are trimmed.
class TextLines
{
public:
    using Line = std::function<void(TextEncoding encoding, QStringView text)>;
    static constexpr qsizetype LongLine = 3 * 32768;
    // A line that grows past this many bytes gets room for LongLine of them at once.
    static constexpr qsizetype LongLineRoomFrom = 4096;

    explicit TextLines(Line line);
    void add(QByteArrayView bytes);
    // The end of the text: its last line, and the encoding of the whole.
    TextEncoding finish();

private:
    void start();
    void process(QByteArrayView bytes);
    void checkUtf8(QByteArrayView bytes);
    void take(char byte);
    void endLine();

    Line m_line;
    QByteArray m_head; // the text's first bytes, until they are known to be a byte order mark or not
    bool m_started = false;
    bool m_byteOrderMark = false;
    bool m_firstLine = true;
    bool m_afterCarriageReturn = false;
    bool m_inLine = false; // bytes came since the last terminator
    QByteArray m_content; // the line from its first byte that is no space, at most LongLine bytes of it
    qsizetype m_leadingSpaces = 0;
    qsizetype m_pendingSpaces = 0; // spaces after the content, added only where more content follows
    bool m_cut = false; // content came after the first LongLine bytes
    QStringDecoder m_utf8 {QStringDecoder::Utf8}; // the check that the whole text is UTF-8
    QString m_scratch;
    QByteArray m_lastBytes; // the text's last three bytes: a sequence they begin may be cut off
    bool m_utf8Valid = true;
};
} // namespace platform
