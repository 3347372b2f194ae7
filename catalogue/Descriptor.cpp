#include "Descriptor.h"

#include "platform/LetterCase.h"
#include "platform/RuntimeError.h"
#include "platform/TextDecoding.h"

#include <algorithm>

namespace catalogue {

namespace {

// Lines as long as this no longer fit the 16-bit positions the suite's readers count with.
constexpr qsizetype OverflowingLength = 32767;

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether the start of a line equals the key, both lower-cased. Most lines are ASCII and are compared as
// they stand; any other character takes the workstation's lower-case mapping.
bool keyMatches(QStringView start, QStringView key)
{
    if (start.size() != key.size())
        return false;
    if (!isAscii(start) || !isAscii(key))
        return platform::toLower(start) == platform::toLower(key);
    return start.compare(key, Qt::CaseInsensitive) == 0;
}

} // namespace

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString ReadStarterTxt(QStringView txtStream, QStringView txtKljuc, const QString& Default)
{
    const qsizetype n = txtKljuc.size();
    if (!keyMatches(txtStream.left(n), txtKljuc))
        return Default;

    if (txtStream.size() >= OverflowingLength)
        throw platform::RuntimeError(platform::Error::Overflow);

    const qsizetype equals = txtStream.indexOf(u'=', n);
    if (equals < 0)
        return Default;

    QString value = trimSpaces(txtStream.sliced(equals + 1)).toString();
    value.remove(u'\t');
    return value;
}

DescriptorReading::DescriptorReading(QStringView key, Value value)
    : m_key(key)
    , m_value(std::move(value))
{
}

platform::TextLines::Line DescriptorReading::lines()
{
    return [this](platform::TextEncoding encoding, QStringView text) { line(encoding, text); };
}

void DescriptorReading::line(platform::TextEncoding encoding, QStringView text)
{
    Reading& reading = m_readings[int(encoding)];
    if (reading.error)
        return;
    const QStringView trimmed = trimSpaces(text);
    if (trimmed.startsWith(u'*'))
        return;
    try {
        QString found = ReadStarterTxt(trimmed, m_key, QString());
        if (!found.isEmpty())
            m_value(reading.kept, std::move(found));
    } catch (...) {
        reading.error = std::current_exception();
    }
}

QString DescriptorReading::kept(platform::TextEncoding encoding) const
{
    const Reading& reading = m_readings[int(encoding)];
    if (reading.error)
        std::rethrow_exception(reading.error);
    return reading.kept;
}

DescriptorReading lastValue(QStringView key)
{
    return DescriptorReading(key, [](QString& kept, QString value) { kept = std::move(value); });
}

} // namespace catalogue
