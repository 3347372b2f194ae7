#include "Application.h"

#include <windows.h>

namespace platform {

void restrictLibrarySearch()
{
    // Every DLL that the program loads after this comes from System32: the Windows DLLs it imports, which
    // it loads when it first calls them, the DLLs they import in turn, and those Qt loads by name. The
    // default search would look in the program's folder and the current directory too, both on the share:
    // a request for each name, and a DLL put there loaded in place of Windows' own. Nothing of the program's
    // own is a DLL. Set for this process only: SetDllDirectoryW would be inherited by the programs it starts.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv)
{
    // The library search is restricted already, from the image's TLS callback (ImageLoadWindows.cpp).
    // Qt and its plugins are linked in, and this Qt loads no plugin from a folder (it is built without
    // QLibrary): QT_PLUGIN_PATH and QT_QPA_PLATFORM_PLUGIN_PATH name nothing it reads, and stay as they are
    // for the programs MarunIzbor starts.
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace platform
