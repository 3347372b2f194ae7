#include "FileName.h"

#include "TextDecoding.h"

#include <QDir>

namespace platform {

namespace {

constexpr char16_t RawByteBase = 0xDC00;

// The length of the valid UTF-8 sequence at the start of bytes and its code point, or 0 where the bytes
// there are no valid UTF-8 (overlong forms, surrogates and code points past U+10FFFF included).
int utf8Sequence(QByteArrayView bytes, char32_t& codePoint)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char first = byte(0);
    int length = 0;
    char32_t minimum = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4, minimum = 0x10000, codePoint = first & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

// The UTF-8 form of a code point from U+0080 on.
void appendUtf8(QByteArray& bytes, char32_t codePoint)
{
    if (codePoint < 0x800) {
        bytes.append(char(0xC0 | (codePoint >> 6)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        bytes.append(char(0xE0 | (codePoint >> 12)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        bytes.append(char(0xF0 | (codePoint >> 18)));
        bytes.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    }
}

bool isRawByte(char16_t unit)
{
    return unit >= RawByteBase + 0x80 && unit <= RawByteBase + 0xFF;
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        if (first < 0x80) {
            name.append(QChar(char16_t(first)));
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        if (const int length = utf8Sequence(bytes.sliced(i), codePoint)) {
            name.append(QStringView(QChar::fromUcs4(codePoint)));
            i += length;
        } else {
            name.append(QChar(char16_t(RawByteBase + first)));
            ++i;
        }
    }
    return name;
}

QByteArray encodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (unit < 0x80) {
            bytes.append(char(unit));
        } else if (isRawByte(unit)) {
            bytes.append(char(unit - RawByteBase));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
            ++i;
        } else {
            appendUtf8(bytes, unit); // any other lone surrogate: as its three bytes, as it came
        }
    }
    return bytes;
}

bool holdsRawBytes(QStringView name)
{
    for (const QChar c : name) {
        if (isRawByte(c.unicode()))
            return true;
    }
    return false;
}

QString displayFileName(QStringView name)
{
    return QDir::toNativeSeparators(holdsRawBytes(name) ? decodeText(encodeFileName(name)) : name.toString());
}

} // namespace platform
