// A small Windows program for the tests to start, as launcher or support tool: writes "<folder>.ran" in its
// current directory, where <folder> is the name of the folder it lies in, holding the number of arguments
// it was given and its current directory with "/" as separator, in UTF-8, and " probe" after them when a
// bare-name load of probe.dll succeeds (the ordinary search reaches the current directory).

#include <cstdio>
#include <string>

#include <windows.h>

int main(int argc, char*[])
{
    wchar_t program[MAX_PATH];
    wchar_t directory[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, program, MAX_PATH) || !GetCurrentDirectoryW(MAX_PATH, directory))
        return 1;
    std::wstring folder(program);
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    folder = folder.substr(folder.find_last_of(L'\\') + 1);
    std::wstring current(directory);
    for (wchar_t& c : current) {
        if (c == L'\\')
            c = L'/';
    }
    char text[4 * MAX_PATH];
    const int size = WideCharToMultiByte(CP_UTF8, 0, current.c_str(), -1, text, sizeof text, nullptr, nullptr);
    if (size <= 0)
        return 1;
    if (std::FILE* record = _wfopen((folder + L".ran").c_str(), L"w")) {
        const bool probe = LoadLibraryW(L"probe.dll") != nullptr;
        std::fprintf(record, "%d %s%s\n", argc - 1, text, probe ? " probe" : "");
        std::fclose(record);
    }
    return 0;
}
