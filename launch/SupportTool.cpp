#include "SupportTool.h"

#include "catalogue/Descriptor.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

namespace launch {

QString supportDescriptorPath(const QString& launchPath)
{
    if (launchPath.size() < 3)
        throw platform::RuntimeError(platform::Error::InvalidProcedureCall);
    return launchPath.left(launchPath.size() - 3) + u"txt"_s;
}

catalogue::DescriptorReading supportToolReading()
{
    // What is kept is the server's folder of the last value.
    return catalogue::DescriptorReading(catalogue::NewFilesKey, [](QString& serverFolder, QString value) {
        value.replace(u'/', u'\\');
        if (value.endsWith(u'\\'))
            value.chop(1);
        const qsizetype lastSeparator = value.lastIndexOf(u'\\');
        if (lastSeparator < 0)
            throw platform::RuntimeError(platform::Error::InvalidProcedureCall, value);
        serverFolder = value.left(lastSeparator);
    });
}

QString supportToolPath(const catalogue::DescriptorReading& reading, platform::TextEncoding encoding)
{
    QString serverFolder = reading.kept(encoding);
    if (!serverFolder.endsWith(u'\\'))
        serverFolder += u'\\';
    QString toolPath = serverFolder + u"QRM.exe"_s;
    return toolPath.replace(u'\\', u'/');
}

} // namespace launch
