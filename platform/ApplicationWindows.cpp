#include "Application.h"

#include <windows.h>

namespace platform {

void restrictLibrarySearch()
{
    // Qt loads some libraries by bare name (thai.dll when it first breaks Thai text into lines), and the
    // default search reaches the current directory, the installations' folder, after the system's. Set for
    // this process only: SetDllDirectoryW would be inherited by the programs it starts.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv)
{
    restrictLibrarySearch();
    // Qt and its plugins are linked in, and this Qt loads no plugin from a folder (it is built without
    // QLibrary): QT_PLUGIN_PATH and QT_QPA_PLATFORM_PLUGIN_PATH name nothing it reads, and stay as they are
    // for the programs MarunIzbor starts.
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace platform
