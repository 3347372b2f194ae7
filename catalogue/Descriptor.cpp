#include "Descriptor.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/TextDecoding.h"

namespace catalogue {

namespace {

// Lines as long as this no longer fit the 16-bit positions the suite's readers count with.
constexpr qsizetype OverflowingLength = 32767;

} // namespace

QString trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString ReadStarterTxt(QStringView txtStream, QStringView txtKljuc, const QString& Default)
{
    const qsizetype n = txtKljuc.size();
    if (txtStream.left(n).toString().toLower() != txtKljuc.toString().toLower())
        return Default;

    if (txtStream.size() >= OverflowingLength)
        throw platform::RuntimeError(platform::Error::Overflow);

    const qsizetype equals = txtStream.indexOf(u'=', n);
    if (equals < 0)
        return Default;

    QString value = trimSpaces(txtStream.sliced(equals + 1));
    value.remove(u'\t');
    return value;
}

QStringList descriptorValues(const QStringList& lines, QStringView key)
{
    QStringList values;
    for (const QString& line : lines) {
        const QString trimmed = trimSpaces(line);
        if (trimmed.startsWith(u'*'))
            continue;
        QString value = ReadStarterTxt(trimmed, key, QString());
        if (!value.isEmpty())
            values.append(std::move(value));
    }
    return values;
}

QString descriptorValue(const QStringList& lines, QStringView key)
{
    const QStringList values = descriptorValues(lines, key);
    return values.isEmpty() ? QString() : values.last();
}

QString readDescriptorValue(const QString& path, QStringView key)
{
    return descriptorValue(platform::splitLines(platform::readTextFile(path)), key);
}

} // namespace catalogue
