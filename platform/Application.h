#pragma once

#include <QApplication>

#include <memory>

namespace platform {

// Makes the program's one QApplication. On Windows, before anything else is loaded, a library loaded by
// bare name is sought only in the program's folder and in System32 (restrictLibrarySearch); Qt's plugins
// are linked into the program, whatever QT_PLUGIN_PATH or QT_QPA_PLATFORM_PLUGIN_PATH say. The
// installations' folder on the share, where the program runs, can then steer neither. The programs it
// starts inherit none of this.
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv);

// The library search of makeApplication on its own: nothing to do where the start directory is never
// searched (POSIX, whose loader takes only the system's folders and the program's own search path).
void restrictLibrarySearch();

} // namespace platform
