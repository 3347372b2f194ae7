#pragma once

#include <QByteArray>

#include <sys/stat.h>

namespace platform {

// stat() of the file name's bytes, or where they name nothing of the entry in another letter case (see
// FileSystem.h), with name set to that entry; errno as stat() sets it, or the failed listing's. What the POSIX layer's
// process start shares with its file system.
int statIgnoringCase(QByteArray& name, struct stat& status);

} // namespace platform
