// Times the catalogue build (scan, grouping and ordering, tree) over generated directories of
// installations, and prints a Markdown table.
//   bench_catalogue [sizes...]   default: 101 1000 10000

#include "catalogue/Catalogue.h"
#include "catalogue/Grouping.h"
#include "catalogue/Scan.h"
#include "catalogue/TreeBuilding.h"
#include "platform/DirectoryList.h"
#include "platform/ImageList.h"
#include "platform/TreeView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A directory as a large office has it: clients with a base installation and a few yearly or test
// variants each.
void generate(const QString& root, int count)
{
    static const char* const suffixes[] = {"", " 2019", " 2020", " test"};
    for (int i = 0; i < count; ++i) {
        const int client = i / 4;
        const QString name = u"Klijent %1"_s.arg(client, 5, 10, QChar(u'0')) + QString::fromLatin1(suffixes[i % 4]);
        const QString folder = root + u"/xa_%1"_s.arg(i, 6, 10, QChar(u'0'));
        QDir().mkpath(folder);
        QFile descriptor(folder + u"/StarterCS.txt"_s);
        descriptor.open(QIODevice::WriteOnly);
        descriptor.write("* StarterCS\r\nServer=SRV-APP01\r\nOpisBaze=" + name.toUtf8()
                         + "\r\nNewFiles=S:\\Apps\\Update\\\r\nVerzija=10.2.1\r\n");
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Timing
{
    double scan = 0, grouping = 0, tree = 0;
    double total() const { return scan + grouping + tree; }
};

Timing buildOnce(const QString& root, const platform::ImageList& images)
{
    Timing timing;
    QElapsedTimer clock;
    platform::DirectoryList dir1;
    catalogue::Catalogue catalogue;
    platform::TreeView tree;

    clock.start();
    catalogue::scanInstallations(dir1, root, catalogue);
    timing.scan = clock.nsecsElapsed() / 1e6;
    clock.restart();
    catalogue::groupAndOrder(catalogue);
    timing.grouping = clock.nsecsElapsed() / 1e6;
    clock.restart();
    catalogue::buildTree(tree, images, catalogue);
    catalogue::restoreSelection(tree, catalogue, catalogue.launchPath(1));
    timing.tree = clock.nsecsElapsed() / 1e6;
    return timing;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(atoi(argv[i]));
    if (sizes.empty())
        sizes = {101, 1000, 10000};

    platform::ImageList images;
    for (const QString& key : {u"Closed"_s, u"Open"_s, u"Leaf"_s}) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::green);
        images.add(key, QIcon(pixmap));
    }

    std::printf("| installations | scan ms | grouping and ordering ms | tree ms | build ms | per installation µs |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (const int size : sizes) {
        QTemporaryDir dir;
        generate(dir.path(), size);
        buildOnce(dir.path(), images); // warm the page cache
        const int rounds = size >= 10000 ? 5 : size >= 1000 ? 11 : 31;
        std::vector<double> scan, grouping, tree, total;
        for (int round = 0; round < rounds; ++round) {
            const Timing timing = buildOnce(dir.path(), images);
            scan.push_back(timing.scan);
            grouping.push_back(timing.grouping);
            tree.push_back(timing.tree);
            total.push_back(timing.total());
        }
        std::printf("| %d | %.2f | %.2f | %.2f | %.2f | %.1f |\n", size, median(scan), median(grouping), median(tree),
                    median(total), median(total) * 1000 / size);
        std::fflush(stdout);
    }
    return 0;
}
