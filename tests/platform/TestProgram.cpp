// A small Windows program for the tests to start, as launcher or support tool: writes "<folder>.ran" in its
// current directory, where <folder> is the name of the folder it lies in, holding the number of arguments
// it was given and its current directory with "/" as separator.

#include <cstdio>
#include <string>

#include <windows.h>

int main(int argc, char*[])
{
    char program[MAX_PATH];
    char directory[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, program, MAX_PATH) || !GetCurrentDirectoryA(MAX_PATH, directory))
        return 1;
    std::string folder(program);
    folder = folder.substr(0, folder.find_last_of('\\'));
    folder = folder.substr(folder.find_last_of('\\') + 1);
    std::string current(directory);
    for (char& c : current) {
        if (c == '\\')
            c = '/';
    }
    if (std::FILE* record = std::fopen((folder + ".ran").c_str(), "w")) {
        std::fprintf(record, "%d %s\n", argc - 1, current.c_str());
        std::fclose(record);
    }
    return 0;
}
