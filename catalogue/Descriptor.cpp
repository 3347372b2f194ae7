#include "Descriptor.h"

#include "platform/FileSystem.h"
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

void forEachDescriptorValue(QStringView text, QStringView key, const std::function<void(QString)>& value)
{
    platform::forEachLine(text, [&](QStringView line) {
        const QStringView trimmed = trimSpaces(line);
        if (trimmed.startsWith(u'*'))
            return;
        QString found = ReadStarterTxt(trimmed, key, QString());
        if (!found.isEmpty())
            value(std::move(found));
    });
}

QStringList descriptorValues(QStringView text, QStringView key)
{
    QStringList values;
    forEachDescriptorValue(text, key, [&](QString value) { values.append(std::move(value)); });
    return values;
}

QString descriptorValue(QStringView text, QStringView key)
{
    const QStringList values = descriptorValues(text, key);
    return values.isEmpty() ? QString() : values.last();
}

} // namespace catalogue
