// The key lookup, and the reading loop over a whole descriptor, on arbitrary text.

#include "catalogue/Descriptor.h"
#include "platform/RuntimeError.h"
#include "platform/TextDecoding.h"

#include <QString>

#include <cstdlib>

// Tabs are removed; spaces are trimmed before that, so one that stood beside a tab at an end stays.
static void checkValue(const QString& value)
{
    if (value.contains(u'\t'))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the key; the rest is the descriptor.
    static const QString keys[] = {QStringLiteral("OpisBaze"), QStringLiteral("NewFiles"), QStringLiteral("K"),
                                   QStringLiteral("\u212Aljuc")};
    const QString& key = keys[data[0] % 4];
    // The reading loop, with every value it gives.
    catalogue::DescriptorReading reading(key, [](QString& kept, QString value) {
        if (value.isEmpty())
            abort();
        checkValue(value);
        kept += u'\n' + value;
    });
    const platform::TextLines::Line read = reading.lines();
    platform::TextLines lines([&](platform::TextEncoding encoding, QStringView line) {
        // The key lookup alone, on every line.
        try {
            const QString value = catalogue::ReadStarterTxt(line, key, QStringLiteral("\x01"));
            if (value != QStringLiteral("\x01"))
                checkValue(value);
        } catch (const platform::RuntimeError& error) {
            if (error.number() != platform::Error::Overflow || line.size() < 32767)
                abort();
        }
        read(encoding, line);
    });
    lines.add(QByteArrayView(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    try {
        reading.kept(lines.finish());
    } catch (const platform::RuntimeError& error) {
        if (error.number() != platform::Error::Overflow)
            abort();
    }
    return 0;
}
