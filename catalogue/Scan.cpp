#include "Scan.h"

#include "Catalogue.h"
#include "Descriptor.h"
#include "InOrder.h"

#include "platform/DirectoryList.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {

// What a folder holds: an installation's name and launch path, or an empty name.
struct Installation
{
    QString name;
    QString launchPath;
};

// Chooses and reads the descriptor of a folder that passed the prefix test: "StarterCS.txt" where that
// file exists, "Starter.txt" otherwise. Where neither is there by its exact name, one listing of the
// folder answers for both.
Installation readInstallation(const QString& folder, const ReadDescriptor& readDescriptor)
{
    platform::FolderListing listing;
    for (const auto& [descriptor, launcher] :
         {std::pair(u"/StarterCS.txt"_s, u"/StarterCS.exe"_s), std::pair(u"/Starter.txt"_s, u"/Starter.exe"_s)}) {
        DescriptorReading name = lastValue(DisplayNameKey);
        if (const std::optional<platform::TextEncoding> encoding =
                readDescriptor(folder + descriptor, name.lines(), listing))
            return {name.kept(*encoding), folder + launcher};
    }
    return {};
}

} // namespace

bool hasInstallationPrefix(QStringView folderName)
{
    const QString prefix = platform::toLower(folderName.left(2));
    return prefix == u"xa" || prefix == u"xe";
}

void scanInstallations(platform::DirectoryList& dir1, const QString& startDir, Catalogue& catalogue,
                       const ScanOptions& options)
{
    dir1.setPath(startDir);
    catalogue.clear();

    QStringList folders; // in the order they are visited: from the last in the listing to the first
    for (int i = dir1.listCount(); i != 0;) {
        --i;
        QString folder = dir1.list(i);
        if (hasInstallationPrefix(QStringView(folder).sliced(folder.lastIndexOf(u'/') + 1)))
            folders.append(std::move(folder));
    }

    if (options.progress)
        options.progress->folders = folders.size();

    // On a file share every folder costs several round trips: the folders are read in parallel there,
    // and taken in the order of the visit, so that what is filed and which error stops the scan are
    // exactly those of reading them one after another.
    InOrder<Installation>::Options order;
    order.maxWorkers = options.maxReads;
    order.inParallel = folders.size() > 1 && options.onShare && options.onShare(startDir);
    InOrder<Installation> readings(
        folders.size(), [&](qsizetype k) { return readInstallation(folders.at(k), options.readDescriptor); }, order);
    for (qsizetype k = 0; k < folders.size(); ++k) {
        const Installation found = readings.take(k);
        if (!found.name.isEmpty())
            catalogue.file(found.name, found.launchPath);
        if (options.progress)
            options.progress->read = k + 1;
    }
}

} // namespace catalogue
