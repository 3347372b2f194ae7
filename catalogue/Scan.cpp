#include "Scan.h"

#include "Catalogue.h"
#include "Descriptor.h"

#include "platform/DirectoryList.h"
#include "platform/FileSystem.h"

using namespace Qt::StringLiterals;

namespace catalogue {

bool hasInstallationPrefix(QStringView folderName)
{
    const QString prefix = folderName.left(2).toString().toLower();
    return prefix == u"xa" || prefix == u"xe";
}

void scanInstallations(platform::DirectoryList& dir1, const QString& startDir, Catalogue& catalogue)
{
    dir1.setPath(startDir);
    catalogue.clear();

    for (int i = dir1.listCount(); i != 0;) {
        --i;
        const QString folder = dir1.list(i);
        if (!hasInstallationPrefix(QStringView(folder).sliced(folder.lastIndexOf(u'/') + 1)))
            continue;

        QString descriptor = folder + u"/StarterCS.txt"_s;
        QString launchPath = folder + u"/StarterCS.exe"_s;
        if (!platform::fileExists(descriptor)) {
            descriptor = folder + u"/Starter.txt"_s;
            launchPath = folder + u"/Starter.exe"_s;
            if (!platform::fileExists(descriptor))
                continue;
        }

        const QString name = readDescriptorValue(descriptor, DisplayNameKey);
        if (!name.isEmpty())
            catalogue.file(name, launchPath);
    }
}

} // namespace catalogue
