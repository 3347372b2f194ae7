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

QString supportToolPath(QStringView descriptorText)
{
    QString serverFolder;
    // Line by line, as the suite's reader does: a value without "\" stops the reading before a later line
    // is looked at.
    catalogue::forEachDescriptorValue(descriptorText, catalogue::NewFilesKey, [&](QString value) {
        value.replace(u'/', u'\\');
        if (value.endsWith(u'\\'))
            value.chop(1);
        const qsizetype lastSeparator = value.lastIndexOf(u'\\');
        if (lastSeparator < 0)
            throw platform::RuntimeError(platform::Error::InvalidProcedureCall, value);
        serverFolder = value.left(lastSeparator);
    });
    if (!serverFolder.endsWith(u'\\'))
        serverFolder += u'\\';
    QString toolPath = serverFolder + u"QRM.exe"_s;
    return toolPath.replace(u'\\', u'/');
}

} // namespace launch
