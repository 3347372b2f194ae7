// How Windows' loader finds the DLLs that MarunIzbor.exe imports: in System32 alone, never first in the
// program's own folder. Started from the share, each look-up in that folder would be a request to the
// server for a file that is not there, and a DLL put there would be loaded in place of Windows' own.
// lld makes this the image's load configuration (the PE header's LOAD_CONFIG entry) by its name. The field
// that Windows' newer headers call DependentLoadFlags is Reserved1 in mingw-w64's; the loader reads it
// from Windows 10 on.
#include <windows.h>

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,
};
