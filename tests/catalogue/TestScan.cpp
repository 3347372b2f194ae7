#include "catalogue/Catalogue.h"
#include "catalogue/InOrder.h"
#include "catalogue/Scan.h"
#include "platform/DirectoryList.h"

#include "../TestSupport.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>

using namespace Qt::StringLiterals;
using testsupport::errorNumber;
using testsupport::makeInstallation;
using testsupport::writeFile;

namespace {

// Reads in flight: how many now, and the most there were at once.
struct InFlight
{
    std::atomic<int> now = 0;
    std::atomic<int> most = 0;

    void enter()
    {
        for (int n = ++now, m = most; n > m && !most.compare_exchange_weak(m, n);) { }
    }
    void leave() { --now; }
};

// Holds a read until the others it must overlap with have started, so that a busy machine's slow thread
// starts cannot decide a test; a scan that never starts them lets it go after ten seconds.
void waitUntil(const std::function<bool()>& ready)
{
    const QDeadlineTimer deadline(10000);
    while (!ready() && !deadline.hasExpired())
        QThread::msleep(1);
}

} // namespace

class TestScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void folderPrefix_data();
    void folderPrefix();
    void descriptorChoice_data();
    void descriptorChoice();
    void descriptorNameInOtherLetterCase_data();
    void descriptorNameInOtherLetterCase();
    void descriptorEncodingsAndLineEnds_data();
    void descriptorEncodingsAndLineEnds();
    void onlyDirectSubfolders();
    void noCapacityLimit();
    void emptyAndMissingStartDirectory();
    void overflowStopsTheScanKeepingWhatWasFiled();
    void parallelReadingChangesNothing_data();
    void parallelReadingChangesNothing();
    void inParallelAfterTwoSlowFolders_data();
    void inParallelAfterTwoSlowFolders();
    void readsInFlightOnAShare();
    void folderWithoutDescriptorOnAShare_data();
    void folderWithoutDescriptorOnAShare();

private:
    static catalogue::Catalogue scan(const QString& startDir);
};

catalogue::Catalogue TestScan::scan(const QString& startDir)
{
    platform::DirectoryList dir1;
    catalogue::Catalogue result;
    catalogue::scanInstallations(dir1, startDir, result);
    return result;
}

void TestScan::workedExample()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    makeInstallation(root, u"xa_alfa"_s, u"Alfa"_s);
    makeInstallation(root, u"xa_alfa_t"_s, u"Alfa test"_s);
    makeInstallation(root, u"xa_firma"_s, u"Firma"_s);
    makeInstallation(root, u"xa_firma09"_s, u"Firma 2009"_s);
    makeInstallation(root, u"xa_firma10"_s, u"Firma 2010"_s);

    const catalogue::Catalogue found = scan(root);
    QCOMPARE(found.Names, (QStringList {u"Firma 2010"_s, u"Firma 2009"_s, u"Firma"_s, u"Alfa test"_s, u"Alfa"_s}));
    QCOMPARE(found.LaunchPaths.first(), root + u"/xa_firma10/StarterCS.exe"_s);
    QCOMPARE(found.LaunchPaths.last(), root + u"/xa_alfa/StarterCS.exe"_s);
    QCOMPARE(found.Parents, QStringList(5, QString()));
    QCOMPARE(found.Count(), 5);
}

void TestScan::folderPrefix_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("filed");

    QTest::newRow("xa") << u"xa_firma"_s << true;
    QTest::newRow("XA") << u"XA_FIRMA"_s << true;
    QTest::newRow("Xa") << u"Xa firma"_s << true;
    QTest::newRow("xE") << u"xE"_s << true;
    QTest::newRow("xe with non-ASCII") << u"xešibenik"_s << true;
    QTest::newRow("x alone") << u"x"_s << false;
    QTest::newRow("other pair") << u"ya_firma"_s << false;
    QTest::newRow("prefix later in the name") << u"a_xa_firma"_s << false;
    QTest::newRow("xb") << u"xb_firma"_s << false;
}

void TestScan::folderPrefix()
{
    QFETCH(QString, folder);
    QFETCH(bool, filed);
    QTemporaryDir dir;
    makeInstallation(dir.path(), folder, u"Firma"_s);
    QCOMPARE(scan(dir.path()).Count(), filed ? 1 : 0);
}

void TestScan::descriptorChoice_data()
{
    QTest::addColumn<QByteArray>("starterCs"); // "-" for no file, "<folder>" or "<fifo>" for those
    QTest::addColumn<QByteArray>("starter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("launcher");

    QTest::newRow("StarterCS.txt") << QByteArray("OpisBaze=CS") << QByteArray("-") << u"CS"_s << u"StarterCS.exe"_s;
    QTest::newRow("Starter.txt") << QByteArray("-") << QByteArray("OpisBaze=S") << u"S"_s << u"Starter.exe"_s;
    QTest::newRow("both: StarterCS.txt wins")
        << QByteArray("OpisBaze=CS") << QByteArray("OpisBaze=S") << u"CS"_s << u"StarterCS.exe"_s;
    QTest::newRow("StarterCS.txt without a name is not passed over")
        << QByteArray("Server=X") << QByteArray("OpisBaze=S") << QString() << QString();
    QTest::newRow("neither") << QByteArray("-") << QByteArray("-") << QString() << QString();
    QTest::newRow("no OpisBaze line") << QByteArray("Server=X\r\nNewFiles=S:\\") << QByteArray("-") << QString()
                                      << QString();
    QTest::newRow("only empty values") << QByteArray("OpisBaze=\r\nOpisBaze=  ") << QByteArray("-") << QString()
                                       << QString();
    QTest::newRow("empty file") << QByteArray("") << QByteArray("-") << QString() << QString();
    QTest::newRow("commented name") << QByteArray("*OpisBaze=Stara") << QByteArray("-") << QString() << QString();
    QTest::newRow("last of two names") << QByteArray("OpisBaze=Stara\r\n\r\nOpisBaze=Nova\r\nOpisBaze=")
                                       << QByteArray("-") << u"Nova"_s << u"StarterCS.exe"_s;
    QTest::newRow("folder named like the descriptor")
        << QByteArray("<folder>") << QByteArray("OpisBaze=S") << u"S"_s << u"Starter.exe"_s;
    QTest::newRow("FIFO named like the descriptor")
        << QByteArray("<fifo>") << QByteArray("OpisBaze=S") << u"S"_s << u"Starter.exe"_s;
    QTest::newRow("FIFOs only") << QByteArray("<fifo>") << QByteArray("<fifo>") << QString() << QString();
}

void TestScan::descriptorChoice()
{
    QFETCH(QByteArray, starterCs);
    QFETCH(QByteArray, starter);
    QFETCH(QString, name);
    QFETCH(QString, launcher);
    if ((starterCs == "<fifo>" || starter == "<fifo>") && !testsupport::makeFifo(QString()))
        QSKIP("This platform has no FIFOs.");

    QTemporaryDir dir;
    const QString folder = dir.path() + u"/xa_firma"_s;
    QVERIFY(QDir().mkpath(folder));
    const auto place = [&](const QString& file, const QByteArray& content) {
        const QString path = folder + u'/' + file;
        if (content == "<folder>")
            QVERIFY(QDir().mkpath(path));
        else if (content == "<fifo>")
            QVERIFY(testsupport::makeFifo(path));
        else if (content != "-")
            writeFile(path, content);
    };
    place(u"StarterCS.txt"_s, starterCs);
    place(u"Starter.txt"_s, starter);

    const catalogue::Catalogue found = scan(dir.path());
    if (name.isEmpty()) {
        QCOMPARE(found.Count(), 0);
        return;
    }
    QCOMPARE(found.Names, QStringList {name});
    // The launcher itself need not exist.
    QCOMPARE(found.LaunchPaths, QStringList {folder + u'/' + launcher});
}

void TestScan::descriptorNameInOtherLetterCase_data()
{
    QTest::addColumn<QStringList>("files"); // "file name=OpisBaze value"
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("launcher");

    QTest::newRow("upper case") << QStringList {u"STARTERCS.TXT=Velika"_s} << u"Velika"_s << u"StarterCS.exe"_s;
    QTest::newRow("the exact name wins") << QStringList {u"startercs.txt=Mala"_s, u"StarterCS.txt=Točna"_s}
                                         << u"Točna"_s << u"StarterCS.exe"_s;
    QTest::newRow("else the first in ordinal order")
        << QStringList {u"startercs.txt=Mala"_s, u"STARTERCS.TXT=Velika"_s} << u"Velika"_s << u"StarterCS.exe"_s;
    QTest::newRow("Starter.txt in lower case")
        << QStringList {u"starter.txt=Stari"_s} << u"Stari"_s << u"Starter.exe"_s;
    QTest::newRow("StarterCS.txt in any case before Starter.txt")
        << QStringList {u"Starter.txt=Stari"_s, u"startercs.TXT=Novi"_s} << u"Novi"_s << u"StarterCS.exe"_s;
}

void TestScan::descriptorNameInOtherLetterCase()
{
    QFETCH(QStringList, files);
    QFETCH(QString, name);
    QFETCH(QString, launcher);
    QTemporaryDir dir;
    for (const QString& file : files)
        writeFile(dir.path() + u"/xa_a/"_s + file.section(u'=', 0, 0), "OpisBaze=" + file.section(u'=', 1).toUtf8());
    const catalogue::Catalogue found = scan(dir.path());
    QCOMPARE(found.Names, QStringList {name});
    QCOMPARE(found.LaunchPaths, QStringList {dir.path() + u"/xa_a/"_s + launcher});
}

void TestScan::descriptorEncodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");

    QTest::newRow("Windows-1250, CRLF") << QByteArray("OpisBaze=\x8Aibenik \xE8\x9A\r\nX=1\r\n") << u"Šibenik čš"_s;
    QTest::newRow("UTF-8, LF") << QByteArray("X=1\nOpisBaze=\xC5\xA0ibenik\n") << u"Šibenik"_s;
    QTest::newRow("UTF-8 with BOM on the key line") << QByteArray("\xEF\xBB\xBFOpisBaze=Firma\r\n") << u"Firma"_s;
    QTest::newRow("CR only") << QByteArray("X=1\rOpisBaze=Firma\rY=2") << u"Firma"_s;
    QTest::newRow("no final line end") << QByteArray("X=1\r\nOpisBaze=Firma") << u"Firma"_s;
    QTest::newRow("tabs removed") << QByteArray("OpisBaze=\tFirma\t2009\t") << u"Firma2009"_s;
    QTest::newRow("NUL byte on another line")
        << QByteArray("X=") + QByteArray(2, '\0') + "\r\nOpisBaze=Firma" << u"Firma"_s;
}

void TestScan::descriptorEncodingsAndLineEnds()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QTemporaryDir dir;
    writeFile(dir.path() + u"/xa_x/StarterCS.txt"_s, content);
    QCOMPARE(scan(dir.path()).Names, QStringList {name});
}

void TestScan::onlyDirectSubfolders()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    makeInstallation(root, u"xa_deeper/inner"_s, u"Dublje"_s);
    makeInstallation(root, u"xa_deeper/xa_inner"_s, u"Dublje"_s);
    makeInstallation(root, u"other/xa_firma"_s, u"Firma"_s);
    writeFile(root + u"/StarterCS.txt"_s, "OpisBaze=Korijen");
    writeFile(root + u"/xa_file"_s, "OpisBaze=Datoteka");
    QCOMPARE(scan(root).Count(), 0);

    // A link to an installation folder counts as a folder, where the platform has such links.
    QTemporaryDir elsewhere;
    makeInstallation(elsewhere.path(), u"real"_s, u"Povezana"_s);
    if (!QFile::link(elsewhere.path() + u"/real"_s, root + u"/xa_link"_s) || !QFileInfo(root + u"/xa_link"_s).isDir())
        QSKIP("This platform's links are no folders.");
    QCOMPARE(scan(root).Names, QStringList {u"Povezana"_s});
    QCOMPARE(scan(root).LaunchPaths, QStringList {root + u"/xa_link/StarterCS.exe"_s});
}

void TestScan::noCapacityLimit()
{
    QTemporaryDir dir;
    for (int i = 0; i < 150; ++i)
        makeInstallation(dir.path(), u"xa_%1"_s.arg(i, 3, 10, QChar(u'0')), u"Firma %1"_s.arg(i));
    const catalogue::Catalogue found = scan(dir.path());
    QCOMPARE(found.Count(), 150);
    QCOMPARE(found.Names.first(), u"Firma 149"_s);
    QCOMPARE(found.Names.last(), u"Firma 0"_s);
}

void TestScan::emptyAndMissingStartDirectory()
{
    QTemporaryDir dir;
    QCOMPARE(scan(dir.path()).Count(), 0);
    QCOMPARE(errorNumber([&] { scan(dir.path() + u"/missing"_s); }), 76);
}

void TestScan::overflowStopsTheScanKeepingWhatWasFiled()
{
    QTemporaryDir dir;
    makeInstallation(dir.path(), u"xa_b"_s, u"Bez greške"_s);
    writeFile(dir.path() + u"/xa_a/StarterCS.txt"_s, "OpisBaze=" + QByteArray(40000, 'x'));

    platform::DirectoryList dir1;
    catalogue::Catalogue found;
    found.file(u"Stari"_s, u"/stari"_s);
    QCOMPARE(errorNumber([&] { catalogue::scanInstallations(dir1, dir.path(), found); }), 6);
    QCOMPARE(found.Names, QStringList {u"Bez greške"_s});
    QCOMPARE(found.Parents, QStringList {QString()}); // the three lists move together, emptied first
    QCOMPARE(dir1.list(0), dir.path() + u"/xa_a"_s); // the listing is the start directory's
}

void TestScan::parallelReadingChangesNothing_data()
{
    QTest::addColumn<int>("folders");
    QTest::addColumn<int>("overflowing"); // the folder, in the order of the visit, whose name overflows
    QTest::addColumn<int>("alsoFailing"); // a folder whose read fails at once: its server did not answer
    QTest::addColumn<bool>("share"); // known to be on a file share: in parallel from the first folder

    QTest::newRow("later folders finish first") << 40 << -1 << -1 << false;
    QTest::newRow("an error in the middle, good folders after it") << 40 << 12 << -1 << false;
    QTest::newRow("a later folder fails sooner") << 40 << 12 << 30 << false;
    QTest::newRow("many folders") << 600 << -1 << -1 << false;
    QTest::newRow("a folder the server does not answer for") << 40 << -1 << 12 << false;
    QTest::newRow("a server failure before an overflow") << 40 << 30 << 12 << false;
    QTest::newRow("on a share") << 40 << -1 << -1 << true;
    QTest::newRow("on a share, a server failure before an overflow") << 40 << 30 << 12 << true;
}

// Reads that wait the longer the earlier their folder is visited, as on a slow file share, so that the
// later folders finish first once the scan reads in parallel.
void TestScan::parallelReadingChangesNothing()
{
    QFETCH(int, folders);
    QFETCH(int, overflowing);
    QFETCH(int, alsoFailing);
    QFETCH(bool, share);

    QTemporaryDir dir;
    QStringList expected; // as one read after another files them, up to the first error
    for (int k = 0; k < folders; ++k) {
        const QString folder = u"xa_%1"_s.arg(folders - 1 - k, 3, 10, QChar(u'0')); // visited last to first
        const QString name = u"Klijent %1"_s.arg(k);
        if (k == overflowing)
            writeFile(dir.path() + u'/' + folder + u"/StarterCS.txt"_s, "OpisBaze=" + QByteArray(40000, 'x'));
        else if (k % 7 == 3)
            writeFile(dir.path() + u'/' + folder + u"/StarterCS.txt"_s, "Server=SRV01"); // no installation
        else
            makeInstallation(dir.path(), folder, name, k % 5 == 1 ? u"Starter.txt"_s : u"StarterCS.txt"_s);
        if ((overflowing < 0 || k < overflowing) && (alsoFailing < 0 || k < alsoFailing) && k % 7 != 3)
            expected.append(name);
    }

    InFlight reading;
    std::atomic<int> reads = 0;
    std::atomic<int> startedWhenTheFirstEnded = 0;
    const auto slowRead = [&](const QString& path, const platform::TextLines::Line& line,
                              platform::FolderListing& listing) {
        reading.enter();
        ++reads;
        const int k = folders - 1 - path.section(u'/', -2, -2).mid(3).toInt();
        if (k == alsoFailing) {
            reading.leave();
            throw platform::RuntimeError(platform::Error::PathFileAccess, u"Input/output error"_s, path);
        }
        if (share)
            waitUntil([&] { return reads >= qMin(folders, 9); });
        QThread::usleep(qMax(0, 50 - k) * 200);
        const auto text = platform::readTextFileIfPresent(path, line, listing);
        if (k == 0)
            startedWhenTheFirstEnded = reads.load();
        reading.leave();
        return text;
    };

    platform::DirectoryList dir1;
    catalogue::Catalogue found;
    int firstError = overflowing >= 0 ? 6 : 0;
    if (alsoFailing >= 0 && (overflowing < 0 || alsoFailing < overflowing))
        firstError = 75;
    catalogue::ScanProgress progress;
    const catalogue::ScanOptions options {slowRead, [&](const QString&) { return share; }, 64, &progress};
    QCOMPARE(errorNumber([&] { catalogue::scanInstallations(dir1, dir.path(), found, options); }), firstError);
    QCOMPARE(progress.folders.load(), qsizetype(folders));
    QCOMPARE(progress.read.load(), qsizetype(firstError ? qMin(uint(overflowing), uint(alsoFailing)) : folders));
    // On a share the folders after the first are read while it is; elsewhere the first is read alone.
    QCOMPARE(startedWhenTheFirstEnded > 1, share);
    // In parallel means many at once: up to the 64 reads the scan was given.
    if (share && firstError == 0)
        QVERIFY2(reading.most > 8, qPrintable(QString::number(reading.most)));
    QCOMPARE(found.Names, expected);
    // No read goes on, or starts, once the scan is over.
    QCOMPARE(reading.now.load(), 0);
    const int readsAtTheEnd = reads;
    QThread::msleep(50);
    QCOMPARE(reads.load(), readsAtTheEnd);
}

void TestScan::inParallelAfterTwoSlowFolders_data()
{
    QTest::addColumn<QString>("folders"); // each folder's read: "s" slow, "f" fast
    QTest::addColumn<bool>("share");
    QTest::addColumn<int>("inParallelFrom"); // the first folder read by another thread, or -1
    QTest::addColumn<bool>("defaults"); // the options as the scan leaves them, fast reads taking no time

    QTest::newRow("all fast") << u"ffffffff"_s << false << -1 << false;
    QTest::newRow("all fast, as the scan reads") << u"ffffffff"_s << false << -1 << true;
    QTest::newRow("on a share") << u"ffffffff"_s << true << 0 << false;
    QTest::newRow("one slow") << u"sfffffff"_s << false << -1 << false;
    QTest::newRow("slow ones apart") << u"sfsfsfff"_s << false << -1 << false;
    QTest::newRow("two slow first") << u"ssffffff"_s << false << 2 << false;
    QTest::newRow("two slow first, as the scan reads") << u"ssffffff"_s << false << 2 << true;
    QTest::newRow("two slow after a fast one") << u"fssfffff"_s << false << 3 << false;
    QTest::newRow("two slow, the last deciding") << u"ffssffff"_s << false << 4 << false;
    QTest::newRow("two slow, one after the deciding folders") << u"fffssfff"_s << false << -1 << false;
    QTest::newRow("slow after the deciding folders") << u"ffffssss"_s << false << -1 << false;
}

// A local disk's pause (or a tracer) is no file share: only two slow folders in a row among the first four
// start the reading in parallel, for the folders after them.
void TestScan::inParallelAfterTwoSlowFolders()
{
    QFETCH(QString, folders);
    QFETCH(bool, share);
    QFETCH(int, inParallelFrom);
    QFETCH(bool, defaults);

    using Reads = catalogue::InOrder<bool>;
    Reads::Options options;
    if (!defaults) {
        options.slowItem = std::chrono::milliseconds(20);
        options.inParallel = share;
    }
    QThread* const caller = QThread::currentThread();
    Reads reads(
        folders.size(),
        [&](qsizetype k) {
            if (folders[k] == u's')
                QThread::msleep(60);
            return QThread::currentThread() != caller;
        },
        options);
    for (qsizetype k = 0; k < folders.size(); ++k)
        QCOMPARE(reads.take(k), inParallelFrom >= 0 && k >= inParallelFrom);
}

// On a file share the scan keeps as many reads in flight as the share's client serves at once, and no more.
void TestScan::readsInFlightOnAShare()
{
    QTemporaryDir dir;
    for (int k = 0; k < 300; ++k)
        QVERIFY(QDir(dir.path()).mkdir(u"xa_%1"_s.arg(k)));
    InFlight reading;
    std::atomic<int> started = 0;
    catalogue::ScanOptions options;
    options.onShare = [](const QString&) { return true; };
    options.readDescriptor = [&](const QString&, const platform::TextLines::Line&,
                                 platform::FolderListing&) -> std::optional<platform::TextEncoding> {
        reading.enter();
        ++started;
        // Once the share's client is full, time for one read too many to come in.
        waitUntil([&] { return reading.now >= 256 || started >= 300; });
        QThread::msleep(300);
        reading.leave();
        return platform::TextEncoding::Utf8; // a descriptor without a name: one read per folder
    };
    platform::DirectoryList dir1;
    catalogue::Catalogue found;
    catalogue::scanInstallations(dir1, dir.path(), found, options);
    QCOMPARE(reading.most.load(), 256);
}

void TestScan::folderWithoutDescriptorOnAShare_data()
{
    QTest::addColumn<QString>("file"); // in each folder, or none
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("lookups"); // at the share, per folder (a name that a listing gave is no lookup)
    QTest::addColumn<int>("listings");
    QTest::addColumn<int>("opens");
    // An old copy, a folder being filled: the exact names and the folder's listing, once for both names.
    QTest::newRow("no descriptor") << QString() << QStringList() << 1 << 1 << 0;
    QTest::newRow("another file") << u"readme.txt"_s << QStringList() << 1 << 1 << 0;
    QTest::newRow("Starter.txt") << u"Starter.txt"_s << QStringList {u"F"_s, u"F"_s} << 1 << 1 << 1;
    QTest::newRow("Starter.txt in another letter case")
        << u"STARTER.TXT"_s << QStringList {u"F"_s, u"F"_s} << 1 << 1 << 1;
    QTest::newRow("StarterCS.txt in another letter case")
        << u"startercs.TXT"_s << QStringList {u"F"_s, u"F"_s} << 1 << 1 << 1;
}

// A folder with the prefix but no descriptor asked for every descriptor name, in every letter case, twice:
// each name's open, a listing for each, and a look at each name after its listing had found nothing.
void TestScan::folderWithoutDescriptorOnAShare()
{
    QFETCH(QString, file);
    QFETCH(QStringList, names);
    QFETCH(int, lookups);
    QFETCH(int, listings);
    QFETCH(int, opens);

    QTemporaryDir dir;
    for (const QString& folder : {u"xa_1"_s, u"xa_2"_s}) {
        QVERIFY(QDir(dir.path()).mkdir(folder));
        if (!file.isEmpty())
            writeFile(dir.path() + u'/' + folder + u'/' + file, "OpisBaze=F\r\n");
    }
    testsupport::Share share(dir.path(), {u"--detail"_s});
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));
    platform::DirectoryList dir1;
    catalogue::Catalogue found;
    catalogue::scanInstallations(dir1, share.path(), found);
    QCOMPARE(found.Names, names);
    const QMap<QString, long> requests = share.requests();
    QCOMPARE(requests.value(u"lookup"_s), 2 * lookups);
    // Each look-up is of the exact name StarterCS.txt, which is not there (a Starter.txt comes with the listing).
    QCOMPARE(requests.value(u"missing StarterCS.txt"_s), 2 * lookups);
    QCOMPARE(requests.value(u"opendir"_s), 1 + 2 * listings); // the start directory's, then the folders'
    QCOMPARE(requests.value(u"open"_s), 2 * opens);
}

QTEST_GUILESS_MAIN(TestScan)
#include "TestScan.moc"
