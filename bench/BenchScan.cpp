// Scans one directory for installations, nothing else: run under `strace -c` to count the system calls
// that the scan makes per installation, or through the latency share to time the scan alone with a given
// number of reads at once (printed, in milliseconds, after the number of installations).
//   bench_scan DIRECTORY [READS_AT_ONCE]

#include "catalogue/Catalogue.h"
#include "catalogue/Scan.h"
#include "platform/DirectoryList.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 3)
        return 2;
    catalogue::ScanOptions options;
    if (argc == 3)
        options.maxReads = std::atoi(argv[2]);
    platform::DirectoryList dir1;
    catalogue::Catalogue catalogue;
    QElapsedTimer clock;
    clock.start();
    catalogue::scanInstallations(dir1, QString::fromLocal8Bit(argv[1]), catalogue, options);
    if (argc == 3)
        std::printf("%d %lld\n", catalogue.Count(), clock.elapsed());
    else
        std::printf("%d\n", catalogue.Count());
    return 0;
}
