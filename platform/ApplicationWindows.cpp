#include "Application.h"

#include <QList>

#include <cstdlib>
#include <optional>
#include <string>

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

    // Qt takes these folders into its plugin search while it sets up, and loads the platform plugin then:
    // they are set aside for that time, and put back for the programs MarunIzbor starts. The embedded
    // qt.conf makes the program's folder Qt's own plugin folder.
    struct Variable
    {
        const wchar_t* name;
        std::optional<std::wstring> value;
    };
    QList<Variable> setAside = {{L"QT_PLUGIN_PATH", {}}, {L"QT_QPA_PLATFORM_PLUGIN_PATH", {}}};
    for (Variable& variable : setAside) {
        if (const wchar_t* value = _wgetenv(variable.name)) {
            variable.value = value;
            _wputenv((std::wstring(variable.name) + L'=').c_str());
        }
    }
    auto application = std::make_unique<QApplication>(argc, argv);
    for (const Variable& variable : setAside) {
        if (variable.value)
            _wputenv((std::wstring(variable.name) + L'=' + *variable.value).c_str());
    }
    QCoreApplication::setLibraryPaths({QCoreApplication::applicationDirPath()});
    return application;
}

} // namespace platform
