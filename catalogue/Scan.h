#pragma once

#include "platform/FileSystem.h"

#include <QString>

#include <functional>
#include <optional>

namespace platform {
class DirectoryList;
}

namespace catalogue {

struct Catalogue;

// Files every installation among the direct subfolders of startDir in catalogue, emptied first.
// An installation is a folder whose name begins with "xa" or "xe" in any letter case and which holds
// "StarterCS.txt" (preferred) or "Starter.txt" with a non-empty "OpisBaze" value; its launch path is
// the folder followed by "/StarterCS.exe" or "/Starter.exe". Folders are visited from the last in the
// listing to the first, so entries are filed in descending order of folder name.
//
// The listing is taken through dir1, which is pointed at startDir. Errors pass on; the entries filed
// before an error stay in catalogue. Where reading is slow the descriptors are read side by side, with the
// same result.
//
// readDescriptor is the existence test and the read of one descriptor in one (see
// platform::readTextFileIfPresent); it is called from several threads at once.
using ReadDescriptor = std::function<std::optional<QString>(const QString& path)>;
void scanInstallations(platform::DirectoryList& dir1, const QString& startDir, Catalogue& catalogue,
                       const ReadDescriptor& readDescriptor = platform::readTextFileIfPresent);

// Whether a folder of this name may hold an installation.
bool hasInstallationPrefix(QStringView folderName);

} // namespace catalogue
