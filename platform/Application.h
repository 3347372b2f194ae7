#pragma once

#include <QApplication>

#include <memory>

namespace platform {

// Makes the program's one QApplication. On Windows, Qt's plugins are linked into the program, whatever
// QT_PLUGIN_PATH or QT_QPA_PLATFORM_PLUGIN_PATH say: the installations' folder on the share, where the
// program runs, cannot steer them. The programs it starts inherit none of this.
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv);

// Where the DLLs that the program loads by name come from: on Windows System32 alone, never the program's
// folder or the current directory. MarunIzbor.exe calls it as its image loads (ImageLoadWindows.cpp),
// before anything of its own or of Qt's runs. Nothing to do on POSIX, whose loader takes only the
// system's folders and the program's own search path.
void restrictLibrarySearch();

} // namespace platform
