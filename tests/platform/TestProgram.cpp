// A small program for the tests to start: writes "program.ran" in its current directory, holding the
// number of arguments it was given.

#include <cstdio>

int main(int argc, char*[])
{
    if (std::FILE* record = std::fopen("program.ran", "w")) {
        std::fprintf(record, "%d\n", argc - 1);
        std::fclose(record);
    }
    return 0;
}
