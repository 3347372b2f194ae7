#pragma once

#include <QByteArray>

#include <sys/stat.h>

namespace platform {

// stat() of the file name's bytes, or where they name nothing of the entry that otherCaseOf() finds for
// them, with name set to that entry. What the POSIX layer's process start shares with its file system.
int statIgnoringCase(QByteArray& name, struct stat& status);

} // namespace platform
