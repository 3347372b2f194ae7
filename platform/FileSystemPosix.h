#pragma once

#include <QByteArray>

#include <sys/stat.h>

namespace platform {

// stat() of the file name's bytes, or where they name nothing of the entry in another letter case (see
// FileSystem.h), with name set to that entry; errno as stat() sets it, or the failed listing's. What the
// POSIX layer's process start shares with its file system.
int statIgnoringCase(QByteArray& name, struct stat& status);

// Whether a file system type of statfs(2) is a network file system's: SMB/CIFS, NFS, FUSE and the like.
bool isNetworkFileSystemType(unsigned long type);

} // namespace platform
