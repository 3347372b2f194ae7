// How MarunIzbor.exe finds the DLLs that it loads: in System32 alone, never in the program's own folder or
// the current directory. Started from the share, both are the installations' folder on the server: each
// look-up there would be a request for a file that is not there, and a DLL put there would be loaded in
// place of Windows' own.
#include "Application.h"

#include <windows.h>

// The DLLs that the image imports, which the loader finds before the program runs: lld makes this the
// image's load configuration (the PE header's LOAD_CONFIG entry) by its name. The field that Windows' newer
// headers call DependentLoadFlags is Reserved1 in mingw-w64's; the loader reads it from Windows 10 on.
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,
};

namespace {

// Those that it loads later, when it first calls into them (the build loads Windows' DLLs, but kernel32
// and the C runtime, that way), and those that Qt loads by name: the search is restricted from a TLS
// callback, which the loader calls before the C runtime starts, before any constructor and before Qt's
// WinMain, each of which calls into such a DLL.
void NTAPI restrictSearchAtLoad(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        platform::restrictLibrarySearch();
}

} // namespace

// After the C runtime's own callback (.CRT$XLC); the linker keeps the .CRT$ sections in their order.
extern "C" __attribute__((section(".CRT$XLD"), used)) const PIMAGE_TLS_CALLBACK marunRestrictSearchAtLoad =
    restrictSearchAtLoad;
