#pragma once

#include "platform/FileSystem.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace platform {
class DirectoryList;
}

namespace catalogue {

struct Catalogue;

// How far a scan is, for another thread to show: the number of folders to read once the listing is in
// (-1 while it is outstanding), and how many of them are read, in the order of the visit.
struct ScanProgress
{
    std::atomic<qsizetype> folders = -1;
    std::atomic<qsizetype> read = 0;
};

// The existence test and the read of one descriptor in one (see platform::readTextFileIfPresent), with
// the listing of its folder for every descriptor name that the scan looks up there.
using ReadDescriptor = std::function<std::optional<platform::TextEncoding>(
    const QString& path, const platform::TextLines::Line& line, platform::FolderListing& listing)>;

struct ScanOptions
{
    // Called from several threads at once.
    ReadDescriptor readDescriptor = [](const QString& path, const platform::TextLines::Line& line,
                                       platform::FolderListing& listing) {
        return platform::readTextFileIfPresent(path, line, listing);
    };
    // Whether the start directory lies on a file share, where every folder costs round trips: the
    // descriptors are then read in parallel from the first.
    std::function<bool(const QString& startDir)> onShare = platform::isNetworkFileSystem;
    // The most descriptors read at once. At 10 ms a request, 1,000 installations took 770 ms with 64,
    // 450 ms with 128 and 345 ms with 256 (then the share served no more at once); 101 took 143, 107 and
    // 111 ms. A file server's client keeps far more requests in flight than that.
    int maxReads = 256;
    ScanProgress* progress = nullptr;
};

// Files every installation among the direct subfolders of startDir in catalogue, emptied first.
// An installation is a folder whose name begins with "xa" or "xe" in any letter case and which holds
// "StarterCS.txt" (preferred) or "Starter.txt" with a non-empty "OpisBaze" value; its launch path is
// the folder followed by "/StarterCS.exe" or "/Starter.exe". Folders are visited from the last in the
// listing to the first, so entries are filed in descending order of folder name.
//
// The listing is taken through dir1, which is pointed at startDir. Errors pass on; the entries filed
// before an error stay in catalogue. On a file share, or where reading turns out to be slow, the
// descriptors are read in parallel, with the same result.
void scanInstallations(platform::DirectoryList& dir1, const QString& startDir, Catalogue& catalogue,
                       const ScanOptions& options = {});

// Whether a folder of this name may hold an installation.
bool hasInstallationPrefix(QStringView folderName);

} // namespace catalogue
