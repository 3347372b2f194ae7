// Descriptor decoding and line splitting on arbitrary bytes.

#include "platform/TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = platform::decodeText(bytes);

    // Either the bytes were UTF-8 and come back unchanged, or every byte became one character.
    const QByteArrayView withoutMark = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    if (text.toUtf8() != withoutMark && text.size() != bytes.size())
        abort();

    qsizetype characters = 0;
    qsizetype lines = 0;
    platform::forEachLine(text, [&](QStringView line) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            abort();
        characters += line.size();
        ++lines;
    });
    // The lines and their terminators make up the whole text; a final terminator adds no line.
    const qsizetype breakCharacters = text.count(u'\n') + text.count(u'\r');
    const qsizetype terminators = breakCharacters - text.count(QStringLiteral("\r\n"));
    if (characters + breakCharacters != text.size())
        abort();
    if (lines != terminators && lines != terminators + 1)
        abort();
    return 0;
}
