// Scans one directory for installations, nothing else: run under `strace -c` to count the system calls
// that the scan makes per installation.
//   bench_scan DIRECTORY

#include "catalogue/Catalogue.h"
#include "catalogue/Scan.h"
#include "platform/DirectoryList.h"

#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    platform::DirectoryList dir1;
    catalogue::Catalogue catalogue;
    catalogue::scanInstallations(dir1, QString::fromLocal8Bit(argv[1]), catalogue);
    std::printf("%d\n", catalogue.Count());
    return 0;
}
