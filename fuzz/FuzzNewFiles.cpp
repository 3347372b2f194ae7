// The steps from a descriptor's "NewFiles" lines to the support tool's path, on arbitrary text.

#include "launch/SupportTool.h"
#include "platform/RuntimeError.h"
#include "platform/TextDecoding.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    catalogue::DescriptorReading reading = launch::supportToolReading();
    platform::TextLines lines(reading.lines());
    lines.add(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const platform::TextEncoding encoding = lines.finish();
    try {
        const QString tool = launch::supportToolPath(reading, encoding);
        if (!tool.endsWith(QStringLiteral("/QRM.exe")) || tool.contains(u'\\') || tool.contains(u'\r')
            || tool.contains(u'\n'))
            abort();
    } catch (const platform::RuntimeError& error) {
        if (error.number() != platform::Error::InvalidProcedureCall && error.number() != platform::Error::Overflow)
            abort();
    }
    return 0;
}
