#include "TextDecoding.h"

#include <QStringDecoder>

#include <algorithm>

namespace platform {

namespace {

// Windows-1250 for the bytes 0x80 to 0xFF; the bytes below are ASCII.
// clang-format off
constexpr char16_t windows1250High[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

QString decodeWindows1250(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = value < 0x80 ? char16_t(value) : windows1250High[value - 0x80];
    }
    return text;
}

} // namespace

QString decodeText(QByteArrayView bytes)
{
    // Stateless, so that a sequence cut off at the end counts as invalid instead of waiting for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1250(bytes);
}

} // namespace platform

namespace platform {

namespace {

constexpr QByteArrayView ByteOrderMark = "\xEF\xBB\xBF";

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

// Whether bytes, the last of a text, end in the middle of a UTF-8 sequence.
bool endsInsideSequence(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return bytes.size() - i < length;
    }
    return false;
}

} // namespace

TextLines::TextLines(Line line)
    : m_line(std::move(line))
{
}

void TextLines::add(QByteArrayView bytes)
{
    if (!m_started) {
        const qsizetype wanted = qMin(ByteOrderMark.size() - m_head.size(), bytes.size());
        m_head.append(bytes.first(wanted));
        bytes = bytes.sliced(wanted);
        if (m_head.size() < ByteOrderMark.size())
            return;
        start();
    }
    process(bytes);
}

TextEncoding TextLines::finish()
{
    if (!m_started)
        start();
    if (m_inLine)
        endLine();
    if (endsInsideSequence(m_lastBytes))
        m_utf8Valid = false;
    return m_utf8Valid ? TextEncoding::Utf8 : TextEncoding::Windows1250;
}

void TextLines::start()
{
    m_started = true;
    // A byte order mark belongs to the UTF-8 text, not to its first line.
    m_byteOrderMark = m_head == ByteOrderMark;
    if (m_byteOrderMark)
        m_lastBytes = m_head;
    else
        process(m_head);
    m_head = QByteArray();
}

void TextLines::process(QByteArrayView bytes)
{
    checkUtf8(bytes);
    m_lastBytes.append(bytes.last(qMin<qsizetype>(3, bytes.size())));
    m_lastBytes = m_lastBytes.right(3);
    const char* next = bytes.begin();
    while (next != bytes.end()) {
        if (m_content.size() < LongLine) {
            take(*next++);
            continue;
        }
        // A line cut off: only where it ends matters, and whether anything but spaces came.
        const char* end = std::find_if(next, bytes.end(), [](char byte) { return byte == '\r' || byte == '\n'; });
        if (end != next) {
            m_inLine = true;
            m_afterCarriageReturn = false;
            m_cut = m_cut || std::any_of(next, end, [](char byte) { return byte != ' '; });
        }
        next = end;
        if (next != bytes.end())
            take(*next++);
    }
}

void TextLines::checkUtf8(QByteArrayView bytes)
{
    // In slices, so that what the check decodes is never more than a slice.
    constexpr qsizetype Slice = 16384;
    for (qsizetype done = 0; m_utf8Valid && done < bytes.size(); done += Slice) {
        const QByteArrayView slice = bytes.sliced(done, qMin(Slice, bytes.size() - done));
        m_scratch.resize(m_utf8.requiredSpace(slice.size()));
        m_utf8.appendToBuffer(m_scratch.data(), slice);
        m_utf8Valid = !m_utf8.hasError();
    }
}

void TextLines::take(char byte)
{
    if (byte == '\n' && m_afterCarriageReturn) {
        m_afterCarriageReturn = false;
        return;
    }
    m_afterCarriageReturn = byte == '\r';
    if (byte == '\r' || byte == '\n') {
        endLine();
        return;
    }
    m_inLine = true;
    if (byte == ' ') {
        ++(m_content.isEmpty() ? m_leadingSpaces : m_pendingSpaces);
        return;
    }
    if (m_pendingSpaces > 0)
        m_content.append(qMin(m_pendingSpaces, LongLine - m_content.size()), ' ');
    m_pendingSpaces = 0;
    if (m_content.size() < LongLine) {
        // A long line gets room for all that is kept of it at once: the fewer sizes a read asks for, the
        // less of the memory it gave back the process still holds.
        if (m_content.size() == LongLineRoomFrom)
            m_content.reserve(LongLine);
        m_content.append(byte);
    } else {
        m_cut = true;
    }
}

void TextLines::endLine()
{
    // A line cut off goes on past its spaces: it must stay as long however it is trimmed.
    if (m_cut && m_content.endsWith(' '))
        m_content.back() = 'x';
    const bool markedLine = m_firstLine && m_byteOrderMark;
    if (!markedLine && isAscii(m_content)) {
        const QString text = QString::fromLatin1(m_content);
        if (m_utf8Valid)
            m_line(TextEncoding::Utf8, text);
        m_line(TextEncoding::Windows1250, text);
    } else {
        if (m_utf8Valid) {
            // A U+FEFF at a line's start is a character of that line, as in the whole text.
            QStringDecoder utf8(QStringDecoder::Utf8,
                                QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            const QString text = utf8.decode(m_content);
            m_line(TextEncoding::Utf8, text);
        }
        QString text = decodeWindows1250(m_content);
        if (markedLine) {
            // Where the text is no UTF-8 its mark is three characters of the first line, and the spaces
            // after them are inside it where more follows.
            if (!m_content.isEmpty())
                text.prepend(QString(qMin(m_leadingSpaces, LongLine), u' '));
            text.prepend(decodeWindows1250(ByteOrderMark));
            if (text.size() > LongLine) {
                // Cut off with them, it too goes on past its spaces.
                text.truncate(LongLine);
                if (text.back() == u' ')
                    text.back() = u'x';
            }
        }
        m_line(TextEncoding::Windows1250, text);
    }
    m_content.resize(0);
    m_leadingSpaces = 0;
    m_pendingSpaces = 0;
    m_cut = false;
    m_inLine = false;
    m_firstLine = false;
}

} // namespace platform
