#include "platform/DirectoryList.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"
#include "platform/FileSystemPosix.h"
#include "platform/Process.h"
#include "platform/RuntimeError.h"
#include "platform/SystemError.h"
#include "platform/Workstation.h"

#include "../TestSupport.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <csignal>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using testsupport::errorNumber;
using testsupport::writeFile;

namespace {

qsizetype openFiles()
{
    return QDir(u"/proc/self/fd"_s).entryList(QDir::Files | QDir::System).size();
}

// The read calls this process has made so far, as the kernel counts them; -1 where it does not say.
long readCalls()
{
    const int fd = open("/proc/self/io", O_RDONLY);
    char text[1024] = {};
    const ssize_t got = fd < 0 ? -1 : read(fd, text, sizeof text - 1);
    if (fd >= 0)
        close(fd);
    const char* found = got > 0 ? std::strstr(text, "syscr: ") : nullptr;
    return found ? std::atol(found + 7) : -1;
}

} // namespace

class TestFileSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listSubfoldersOrderAndKinds();
    void listSubfoldersOfMissingFolder();
    void directoryList();
    void fileExists_data();
    void fileExists();
    void readTextFile();
    void descriptorReadInOneCall_data();
    void descriptorReadInOneCall();
    void readsInParallelShareOneBound_data();
    void readsInParallelShareOneBound();
    void answeredOrNot_data();
    void answeredOrNot();
    void serverThatFails_data();
    void serverThatFails();
    void networkFileSystemTypes_data();
    void networkFileSystemTypes();
    void networkFileSystems();
    void noFileLeftOpen();
    void readTextFileErrors_data();
    void readTextFileErrors();
    void relativeNames();
    void readWithoutStandardInput_data();
    void readWithoutStandardInput();
    void exactNamesCostNoListing();
    void currentDirectoryRemoved();
    void unknownUserHasNoLoginName();
    void startsWhileSignalsArrive();
    void namesThatAreNoText_data();
    void namesThatAreNoText();

private:
    QTemporaryDir m_dir;
};

void TestFileSystem::listSubfoldersOrderAndKinds()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const QString& name :
         {u"b"_s, u"C"_s, u"a"_s, u"A"_s, u"žuto"_s, u".skriveno"_s, u".k"_s, u"..dva"_s, u"..."_s, u"xa firma"_s})
        QVERIFY(QDir(root).mkpath(name + u"/inside"_s));
    writeFile(root + u"/d"_s, "file");
    QVERIFY(QFile::link(root + u"/b"_s, root + u"/e-link-to-folder"_s));
    QVERIFY(QFile::link(root + u"/d"_s, root + u"/f-link-to-file"_s));
    QVERIFY(QFile::link(root + u"/missing"_s, root + u"/g-broken-link"_s));
    QVERIFY(mkfifo(QFile::encodeName(root + u"/h-fifo"_s).constData(), 0600) == 0);

    QStringList expected;
    for (const QString& name : {u"..."_s, u"..dva"_s, u".k"_s, u".skriveno"_s, u"A"_s, u"a"_s, u"b"_s, u"C"_s,
                                u"e-link-to-folder"_s, u"xa firma"_s, u"žuto"_s})
        expected.append(root + u'/' + name);
    QCOMPARE(platform::listSubfolders(root), expected);
    QCOMPARE(platform::listSubfolders(root + u'/'), expected);
}

void TestFileSystem::listSubfoldersOfMissingFolder()
{
    QCOMPARE(errorNumber([] { platform::listSubfolders(u"/nonexistent/folder"_s); }), 76);
}

void TestFileSystem::directoryList()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"xb"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"xa"_s));

    platform::DirectoryList dir1;
    dir1.setPath(dir.path());
    QCOMPARE(dir1.listCount(), 2);
    QCOMPARE(dir1.list(0), dir.path() + u"/xa"_s);
    QCOMPARE(dir1.list(1), dir.path() + u"/xb"_s);
    QCOMPARE(errorNumber([&] { dir1.list(2); }), 9);
    QCOMPARE(errorNumber([&] { dir1.list(-1); }), 9);

    // Pointing it at a folder again reads the folder again.
    QVERIFY(QDir(dir.path()).mkpath(u"xc"_s));
    dir1.setPath(dir.path());
    QCOMPARE(dir1.listCount(), 3);

    QCOMPARE(errorNumber([&] { dir1.setPath(dir.path() + u"/missing"_s); }), 76);
    writeFile(dir.path() + u"/file"_s, "x");
    QCOMPARE(errorNumber([&] { dir1.setPath(dir.path() + u"/file"_s); }), 76);
}

void TestFileSystem::fileExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");

    const QString root = m_dir.path();
    writeFile(root + u"/regular.txt"_s, "x");
    writeFile(root + u"/empty.txt"_s, QByteArray());
    writeFile(root + u"/.hidden.txt"_s, "x");
    writeFile(root + u"/Šibenik.txt"_s, "x");
    QDir(root).mkpath(u"folder.txt"_s);
    mkfifo(QFile::encodeName(root + u"/fifo.txt"_s).constData(), 0600);
    QFile::link(root + u"/regular.txt"_s, root + u"/link.txt"_s);
    QFile::link(root + u"/missing.txt"_s, root + u"/broken.txt"_s);
    QFile::link(root + u"/folder.txt"_s, root + u"/folderlink.txt"_s);

    QTest::newRow("regular file") << u"regular.txt"_s << true;
    QTest::newRow("empty file") << u"empty.txt"_s << true;
    QTest::newRow("non-ASCII name") << u"Šibenik.txt"_s << true;
    QTest::newRow("link to a file") << u"link.txt"_s << true;
    QTest::newRow("name in other letter case") << u"REGULAR.TXT"_s << true;
    QTest::newRow("folder in other letter case") << u"FOLDER.TXT"_s << false;
    QTest::newRow("hidden file") << u".hidden.txt"_s << false;
    QTest::newRow("folder") << u"folder.txt"_s << false;
    QTest::newRow("link to a folder") << u"folderlink.txt"_s << false;
    QTest::newRow("FIFO") << u"fifo.txt"_s << false;
    QTest::newRow("broken link") << u"broken.txt"_s << false;
    QTest::newRow("missing") << u"missing.txt"_s << false;
    QTest::newRow("device") << u"/dev/null"_s << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestFileSystem::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    const QString path = name.startsWith(u'/') || name.isEmpty() ? name : m_dir.path() + u'/' + name;
    QCOMPARE(platform::fileExists(path), exists);
    QCOMPARE(testsupport::readTextIfPresent(path).has_value(), exists);
}

// A server that could not be asked (the existence test or the descriptor's opening failing with EIO, say)
// was taken for a file that is not there, and its installations vanished from the tree without a word.
void TestFileSystem::answeredOrNot_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("answer"); // the file system's answer: the existence test finds nothing
    QTest::addColumn<int>("file"); // the run-time error of a request for a file
    QTest::addColumn<int>("folder"); // and for a folder

    QTest::newRow("no such file") << ENOENT << true << 53 << 76;
    QTest::newRow("no such folder on the way") << ENOTDIR << true << 53 << 76;
    QTest::newRow("folder that may not be entered") << EACCES << true << 70 << 70;
    QTest::newRow("not permitted") << EPERM << true << 70 << 70;
    QTest::newRow("looping links") << ELOOP << true << 75 << 75;
    QTest::newRow("name too long") << ENAMETOOLONG << true << 75 << 75;
    QTest::newRow("socket") << ENXIO << true << 75 << 75;
    QTest::newRow("device") << ENODEV << true << 75 << 75;
    QTest::newRow("folder where a file was expected") << EISDIR << true << 75 << 75;
    QTest::newRow("I/O error") << EIO << false << 75 << 75;
    QTest::newRow("connection dropped") << ENOTCONN << false << 75 << 75;
    QTest::newRow("server unreachable") << EHOSTUNREACH << false << 75 << 75;
    QTest::newRow("server down") << EHOSTDOWN << false << 75 << 75;
    QTest::newRow("timed out") << ETIMEDOUT << false << 75 << 75;
    QTest::newRow("stale handle") << ESTALE << false << 75 << 75;
    QTest::newRow("busy") << EBUSY << false << 75 << 75;
    QTest::newRow("exists") << EEXIST << false << 75 << 75;
}

void TestFileSystem::answeredOrNot()
{
    QFETCH(int, error);
    QFETCH(bool, answer);
    QFETCH(int, file);
    QFETCH(int, folder);

    QCOMPARE(platform::isFileSystemAnswer(unsigned(error)), answer);
    const QString path = u"/srv/QRM.exe"_s;
    const auto target = platform::RequestTarget::File;
    for (const auto& [request, number] :
         {std::pair(target, file), std::pair(platform::RequestTarget::Folder, folder)}) {
        const platform::RuntimeError raised = platform::requestError(unsigned(error), path, request);
        QCOMPARE(raised.number(), number);
        QCOMPARE(raised.subject(), path);
        // 75 tells the system's own words; the others are the suite's.
        QCOMPARE(raised.description(),
                 number == 75 ? QString::fromLocal8Bit(std::strerror(error)) : platform::Error::description(number));
    }
}

void TestFileSystem::serverThatFails_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("path"); // on the share
    QTest::addColumn<QStringList>("faults"); // the share's options
    QTest::addColumn<int>("number"); // 0: none, and the file is found
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("subject"); // on the share, where the error names another path than the request

    const QString io = QString::fromLocal8Bit(std::strerror(EIO));
    const auto failing = [](const QString& kind, int after = 0) {
        return QStringList {u"--only="_s + kind, u"--fail-after=%1"_s.arg(after)};
    };
    const QString none;
    QTest::newRow("start directory, server failing")
        << u"point at"_s << u"xa_firma"_s << failing(u"lookup"_s) << 75 << io << none;
    QTest::newRow("start directory not there")
        << u"point at"_s << u"xa_nema"_s << QStringList() << 76 << u"Path not found"_s << none;
    QTest::newRow("listing, opening fails") << u"list"_s << none << failing(u"opendir"_s) << 75 << io << none;
    // The 400 folders come in three replies, the last of them empty.
    QTest::newRow("listing fails part-way") << u"list"_s << none << failing(u"readdir"_s, 1) << 75 << io << none;
    QTest::newRow("listing fails at its end") << u"list"_s << none << failing(u"readdir"_s, 2) << 75 << io << none;
    QTest::newRow("a link in the listing, its target not asked")
        << u"list"_s << none << failing(u"readlink"_s) << 75 << io << u"xa_link"_s;
    QTest::newRow("launcher, server failing")
        << u"start"_s << u"xa_firma/StarterCS.exe"_s << failing(u"lookup"_s) << 75 << io << none;
    QTest::newRow("launcher not there") << u"start"_s << u"xa_firma/Nema.exe"_s << QStringList() << 53
                                        << u"File not found"_s << none;
    QTest::newRow("descriptor's reading fails")
        << u"read"_s << u"xa_firma/StarterCS.txt"_s << failing(u"read"_s) << 75 << io << none;
    QTest::newRow("a folder in the descriptor's place, its opening fails")
        << u"read"_s << u"f000"_s << failing(u"opendir"_s) << 75 << io << none;
    QTest::newRow("descriptor opened, its attributes fail")
        << u"read"_s << u"xa_firma/StarterCS.txt"_s << QStringList {u"--no-cache"_s} + failing(u"getattr"_s) << 75 << io
        << none;
    QTest::newRow("other letter case, folder read")
        << u"find"_s << u"xa_firma/STARTERCS.TXT"_s << QStringList() << 0 << none << none;
    QTest::newRow("other letter case, listing fails")
        << u"find"_s << u"xa_firma/STARTERCS.TXT"_s << failing(u"opendir"_s) << 75 << io << none;
    QTest::newRow("other letter case, listing breaks off")
        << u"find"_s << u"xa_firma/STARTERCS.TXT"_s << failing(u"readdir"_s) << 75 << io << none;
    QTest::newRow("other letter case, opening fails")
        << u"read"_s << u"xa_firma/STARTERCS.TXT"_s << failing(u"open"_s) << 75 << io << none;
}

// A file server that stopped answering was taken for a folder or file that is not there: the start
// directory as deleted (76), a broken listing or launcher as "Path/File access error" or "File not found",
// a name in another letter case as absent.
void TestFileSystem::serverThatFails()
{
    QFETCH(QString, request);
    QFETCH(QString, path);
    QFETCH(QStringList, faults);
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, subject);

    QTemporaryDir source;
    writeFile(source.path() + u"/xa_firma/StarterCS.txt"_s, "OpisBaze=Firma\r\n");
    writeFile(source.path() + u"/xa_firma/StarterCS.exe"_s, "#!/bin/sh\n");
    QVERIFY(QFile::setPermissions(source.path() + u"/xa_firma/StarterCS.exe"_s,
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    for (int i = 0; i < 400; ++i)
        QVERIFY(QDir(source.path()).mkdir(u"f%1"_s.arg(i, 3, 10, QChar(u'0'))));
    QVERIFY(QFile::link(u"xa_firma"_s, source.path() + u"/xa_link"_s));
    const testsupport::Share share(source.path(), faults);
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));

    const QString target = path.isEmpty() ? share.path() : share.path() + u'/' + path;
    const qsizetype filesOpen = openFiles();
    bool found = false;
    try {
        if (request == u"point at") {
            platform::DirectoryList dir1;
            dir1.setPath(target);
        } else if (request == u"list") {
            QCOMPARE(platform::listSubfolders(target).size(), 401);
        } else if (request == u"start") {
            platform::startProgram(target);
        } else if (request == u"read") {
            found = testsupport::readTextIfPresent(target).has_value();
        } else {
            found = platform::fileExists(target);
        }
        QCOMPARE(number, 0);
        QVERIFY(found);
    } catch (const platform::RuntimeError& error) {
        QCOMPARE(error.number(), number);
        QCOMPARE(error.description(), description);
        QCOMPARE(error.subject(), subject.isEmpty() ? target : share.path() + u'/' + subject);
    }
    QCOMPARE(openFiles(), filesOpen); // also on the way out of a failure
}

void TestFileSystem::networkFileSystemTypes_data()
{
    QTest::addColumn<quint64>("type"); // of statfs(2)
    QTest::addColumn<bool>("network");

    const QList<std::pair<const char*, quint64>> network {
        {"CIFS", 0xFF534D42}, {"SMB2", 0xFE534D42}, {"SMB", 0x517B},      {"NFS", 0x6969},
        {"FUSE", 0x65735546}, {"Ceph", 0x00C36400}, {"9P", 0x01021997},   {"AFS", 0x5346414F},
        {"Coda", 0x73757245}, {"NCP", 0x564C},      {"GPFS", 0x47504653}, {"Lustre", 0x0BD00BD0}};
    for (const auto& [name, type] : network)
        QTest::newRow(name) << type << true;
    const QList<std::pair<const char*, quint64>> local {
        {"ext4", 0xEF53},        {"XFS", 0x58465342},      {"Btrfs", 0x9123683E}, {"tmpfs", 0x01021994},
        {"overlay", 0x794C7630}, {"procfs", 0x9FA0},       {"none", 0},           {"beside CIFS", 0xFF534D41},
        {"beside NFS", 0x6968},  {"beside 9P", 0x01021996}};
    for (const auto& [name, type] : local)
        QTest::newRow(name) << type << false;
}

void TestFileSystem::networkFileSystemTypes()
{
    QFETCH(quint64, type);
    QFETCH(bool, network);
    QCOMPARE(platform::isNetworkFileSystemType(type), network);
}

// Where each request is a round trip, the scan reads in parallel from the first folder.
void TestFileSystem::networkFileSystems()
{
    QVERIFY(!platform::isNetworkFileSystem(m_dir.path()));
    QVERIFY(!platform::isNetworkFileSystem(m_dir.path() + u"/missing"_s));
    const testsupport::Share share(m_dir.path(), {});
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));
    QVERIFY(platform::isNetworkFileSystem(share.path()));
}

// A file found by its exact name was opened a second time, and the first left open, where an earlier
// request had left errno at "no such file".
void TestFileSystem::noFileLeftOpen()
{
    QTemporaryDir dir;
    writeFile(dir.path() + u"/StarterCS.txt"_s, "OpisBaze=Firma");
    QVERIFY(mkfifo(QFile::encodeName(dir.path() + u"/fifo.txt"_s).constData(), 0600) == 0);
    QVERIFY(QDir(dir.path()).mkdir(u"folder.txt"_s));
    const qsizetype before = openFiles();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(testsupport::readTextIfPresent(dir.path() + u"/Starter.txt"_s), std::nullopt);
        QCOMPARE(testsupport::readTextIfPresent(dir.path() + u"/StarterCS.txt"_s), u"OpisBaze=Firma"_s);
        // Opened, and found to be no file.
        QCOMPARE(testsupport::readTextIfPresent(dir.path() + u"/fifo.txt"_s), std::nullopt);
        QCOMPARE(testsupport::readTextIfPresent(dir.path() + u"/folder.txt"_s), std::nullopt);
    }
    QCOMPARE(openFiles(), before);
}

void TestFileSystem::readTextFile()
{
    QTemporaryDir dir;
    writeFile(dir.path() + u"/a.txt"_s, "OpisBaze=\x8Aibenik\r\n");
    QCOMPARE(testsupport::readText(dir.path() + u"/a.txt"_s), u"OpisBaze=Šibenik"_s);

    // Larger than a read's piece, with a line longer than any that a reader keeps.
    writeFile(dir.path() + u"/big.txt"_s, QByteArray(300000, 'x') + "\nOpisBaze=Kraj");
    QCOMPARE(testsupport::readText(dir.path() + u"/big.txt"_s),
             QString(platform::TextLines::LongLine, u'x') + u"\nOpisBaze=Kraj"_s);
}

void TestFileSystem::descriptorReadInOneCall_data()
{
    QTest::addColumn<bool>("ifPresent"); // the scan's read, or the support tool's
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("calls");
    for (const int size : {1, 4095, 4096, 4097, 100000, int(platform::ReadPiece) - 1})
        QTest::addRow("%d bytes", size) << true << size << 1;
    // One that does not fit a piece, which is all that one read asks for.
    QTest::addRow("%d bytes", int(platform::ReadPiece)) << true << int(platform::ReadPiece) << 2;
    QTest::addRow("support tool's, %d bytes", 4097) << false << 4097 << 1;
    QTest::addRow("support tool's, %d bytes", int(platform::ReadPiece) - 1)
        << false << int(platform::ReadPiece) - 1 << 1;
    QTest::addRow("support tool's, %d bytes", 3 * int(platform::ReadPiece) + 1)
        << false << 3 * int(platform::ReadPiece) + 1 << 4;
}

// Each request is a round trip to the file server: a descriptor is read in one call, whatever its size
// up to a piece, and a larger one in pieces of that size.
void TestFileSystem::descriptorReadInOneCall()
{
    QFETCH(bool, ifPresent);
    QFETCH(int, size);
    QFETCH(int, calls);
    const QString path = m_dir.path() + u"/StarterCS.txt"_s;
    writeFile(path, QByteArray(size, 'x'));
    const long first = readCalls();
    if (first < 0)
        QSKIP("This kernel does not count a process's read calls.");
    const long measuring = readCalls() - first; // the count's own read
    const long before = readCalls();
    const QString text = ifPresent ? *testsupport::readTextIfPresent(path) : testsupport::readText(path);
    QCOMPARE(text.size(), qMin<qsizetype>(size, platform::TextLines::LongLine));
    QCOMPARE(readCalls() - before - measuring, calls);
}

void TestFileSystem::readsInParallelShareOneBound_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("atOnce");
    QTest::addColumn<bool>("afterUntoldSizes");
    QTest::newRow("descriptors of 3 KiB, all at once") << 3072 << 32 << false;
    QTest::newRow("96 KiB, in one piece, ten at once") << int(platform::TextLines::LongLine) + 1 << 10 << false;
    QTest::newRow("four pieces, nine at once") << 4 * int(platform::ReadPiece) << 9 << false;
    QTest::newRow("nine at once after 256 files of untold size") << 4 * int(platform::ReadPiece) << 9 << true;
}

// The scan reads up to 256 descriptors in parallel: what they hold at once is bounded, by letting a large
// file's read wait while others hold their share, never a small one's.
void TestFileSystem::readsInParallelShareOneBound()
{
    QFETCH(int, size);
    QFETCH(int, atOnce);
    QFETCH(bool, afterUntoldSizes);
    constexpr int Threads = 32;
    // Files whose size the system does not tell, as many as the scan reads: each read's first share goes
    // back when it takes a larger one, and the whole budget stays.
    for (int k = 0; afterUntoldSizes && k < 256; ++k) {
        QString name;
        platform::readTextFile(u"/proc/self/status"_s, [&](platform::TextEncoding, QStringView text) {
            if (text.startsWith(u"Name:"))
                name = text.toString();
        });
        QVERIFY(name.startsWith(u"Name:\tTestFileSystem"));
    }
    const QString path = m_dir.path() + u"/StarterCS.txt"_s;
    writeFile(path, QByteArray(size - 4, 'x') + "\nEND");

    // Each read, once it is inside, waits until every read has come in or more than atOnce are inside, or
    // else a fifth of a second after atOnce are.
    std::atomic<int> inside = 0;
    std::atomic<int> entered = 0;
    std::atomic<int> most = 0;
    const auto read = [&] {
        platform::readTextFile(path, [&](platform::TextEncoding encoding, QStringView text) {
            if (encoding != platform::TextEncoding::Utf8)
                return;
            if (text == u"END") {
                --inside;
                return;
            }
            const int now = ++inside;
            ++entered;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) { }
            const QDeadlineTimer giveUp(10000);
            std::optional<QDeadlineTimer> full;
            while (inside <= atOnce && entered < Threads && !giveUp.hasExpired()) {
                if (inside == atOnce && !full)
                    full = QDeadlineTimer(200);
                if (full && full->hasExpired())
                    break;
                QThread::msleep(1);
            }
        });
    };
    std::vector<std::thread> threads;
    for (int k = 0; k < Threads; ++k)
        threads.emplace_back(read);
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(entered.load(), Threads);
    QCOMPARE(most.load(), atOnce);
}

void TestFileSystem::readTextFileErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");

    const QString root = m_dir.path();
    QDir(root).mkpath(u"folder"_s);
    writeFile(root + u"/locked.txt"_s, "x");
    QFile::setPermissions(root + u"/locked.txt"_s, QFileDevice::WriteOwner);

    QTest::newRow("missing file") << u"missing.txt"_s << 53;
    QTest::newRow("missing folder") << u"missing/file.txt"_s << 53;
    QTest::newRow("folder") << u"folder"_s << 75;
    if (geteuid() != 0)
        QTest::newRow("unreadable file") << u"locked.txt"_s << 70;
}

void TestFileSystem::readTextFileErrors()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(errorNumber([&] { testsupport::readText(m_dir.path() + u'/' + name); }), number);
}

// A name without a folder, or in a folder of one letter, is looked for in another letter case where it is.
void TestFileSystem::relativeNames()
{
    QTemporaryDir dir;
    writeFile(dir.path() + u"/regular.txt"_s, "x");
    writeFile(dir.path() + u"/d/inner.txt"_s, "y");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const bool plain = platform::fileExists(u"REGULAR.TXT"_s);
    const bool inFolder = platform::fileExists(u"d/INNER.TXT"_s);
    const std::optional<QString> read = testsupport::readTextIfPresent(u"d/Inner.Txt"_s);
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(plain);
    QVERIFY(inFolder);
    QCOMPARE(read, u"y"_s);
}

// A program started without standard input gets descriptor 0 for the first file it opens: that is a
// file like any other.
void TestFileSystem::readWithoutStandardInput_data()
{
    QTest::addColumn<bool>("ifPresent"); // the scan's read, or the support tool's
    QTest::newRow("the scan's read") << true;
    QTest::newRow("the support tool's read") << false;
}

void TestFileSystem::readWithoutStandardInput()
{
    QFETCH(bool, ifPresent);
    QTemporaryDir dir;
    const QString path = dir.path() + u"/StarterCS.txt"_s;
    writeFile(path, "OpisBaze=Firma");
    const int input = dup(0);
    QVERIFY(input > 0);
    close(0);
    std::optional<QString> read;
    try {
        read = ifPresent ? testsupport::readTextIfPresent(path) : testsupport::readText(path);
    } catch (const platform::RuntimeError& error) {
        read = QString::fromUtf8(error.what());
    }
    const bool leftOpen = fcntl(0, F_GETFD) != -1; // and closed again, as any other
    QCOMPARE(dup2(input, 0), 0);
    close(input);
    QCOMPARE(read, u"OpisBaze=Firma"_s);
    QVERIFY(!leftOpen);
}

// Every request to a file server is a round trip: a name found as it is written costs no listing of its
// folder, even right after a name that was not.
void TestFileSystem::exactNamesCostNoListing()
{
    QTemporaryDir source;
    writeFile(source.path() + u"/xa_firma/StarterCS.txt"_s, "OpisBaze=Firma");
    testsupport::Share share(source.path(), {});
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));
    const QString folder = share.path() + u"/xa_firma"_s;
    QCOMPARE(testsupport::readTextIfPresent(folder + u"/Starter.txt"_s), std::nullopt); // lists the folder once
    QCOMPARE(testsupport::readTextIfPresent(folder + u"/StarterCS.txt"_s), u"OpisBaze=Firma"_s);
    QVERIFY(platform::fileExists(folder + u"/StarterCS.txt"_s));
    const QMap<QString, long> requests = share.requests();
    QCOMPARE(requests.value(u"opendir"_s), 1);
    QCOMPARE(requests.value(u"open"_s), 1);
    QCOMPARE(requests.value(u"read"_s), 1);
}

void TestFileSystem::currentDirectoryRemoved()
{
    const QString before = platform::currentDirectory();
    QCOMPARE(before, QDir::currentPath());
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QCOMPARE(platform::currentDirectory(), dir.path());
    }
    QCOMPARE(errorNumber([] { platform::currentDirectory(); }), 76);
    QVERIFY(QDir::setCurrent(before));
}

// A user that the user database does not know (an account from the network, say) has no login name to
// stand in for USERNAME, and asking for it is no crash.
void TestFileSystem::unknownUserHasNoLoginName()
{
    if (geteuid() != 0)
        QSKIP("Only root can become a user that the user database does not know.");
    const uid_t unknown = 54321;
    QVERIFY(!getpwuid(unknown));
    const platform::NameStandIns standIns = platform::nameStandIns();
    const pid_t child = fork();
    if (child == 0)
        _exit(setuid(unknown) == 0 && standIns.userName().isEmpty() ? 0 : 1);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
}

// Signals that arrive while a program is started (a timer's here) interrupt the waits for its start, which
// must neither fail nor hang for it; and every start leaves nothing behind: no descriptor open, no child
// process unreaped, no signal ignored in the program started.
void TestFileSystem::startsWhileSignalsArrive()
{
    QTemporaryDir dir;
    const QString program = dir.path() + u"/xa_firma/StarterCS.exe"_s;
    writeFile(program,
              "#!/bin/sh\nsed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status > \"$(dirname \"$0\")/ignored\"\n");
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    struct sigaction interrupting
    {
    };
    interrupting.sa_handler = [](int) {}; // without SA_RESTART: a wait it interrupts fails with EINTR
    struct sigaction timerBefore
    {
    };
    struct sigaction pipeBefore
    {
    };
    QCOMPARE(sigaction(SIGALRM, &interrupting, &timerBefore), 0);
    signal(SIGPIPE, SIG_IGN); // as a program that writes to sockets has it
    sigaction(SIGPIPE, nullptr, &pipeBefore);
    const qsizetype filesOpen = openFiles();
    const itimerval often {{0, 100}, {0, 100}};
    QCOMPARE(setitimer(ITIMER_REAL, &often, nullptr), 0);
    int failures = 0;
    for (int i = 0; i < 30; ++i)
        failures += testsupport::errorNumber([&] { platform::startProgram(program); }) != 0;
    const itimerval stopped {};
    setitimer(ITIMER_REAL, &stopped, nullptr);
    sigaction(SIGALRM, &timerBefore, nullptr);
    signal(SIGPIPE, SIG_DFL);
    QCOMPARE(failures, 0);
    QCOMPARE(openFiles(), filesOpen);

    int zombies = 0;
    const QByteArray parent = QByteArray::number(getpid());
    for (const QString& process : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/"_s + process + u"/stat"_s);
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
        zombies += fields.value(1) == "Z" && fields.value(2) == parent;
    }
    QCOMPARE(zombies, 0);
    const auto ignored = [&] {
        QFile file(dir.path() + u"/xa_firma/ignored"_s);
        const QByteArray mask = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return mask.endsWith('\n') ? mask.trimmed().toULongLong(nullptr, 16) : ~0ull;
    };
    QTRY_VERIFY(ignored() != ~0ull);
    QCOMPARE(ignored() & (1u << (SIGPIPE - 1)), 0u);
}

void TestFileSystem::namesThatAreNoText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ASCII") << QByteArray("xa_firma") << u"xa_firma"_s;
    QTest::newRow("UTF-8") << QByteArray("xa_\xC5\xA0ibenik") << u"xa_Šibenik"_s;
    QTest::newRow("UTF-8, three bytes") << QByteArray("xa_\xE2\x82\xAC") << u"xa_€"_s;
    QTest::newRow("UTF-8, four bytes") << QByteArray("xa_\xF0\x90\x90\x80") << u"xa_\U00010400"_s;
    QTest::newRow("UTF-8, first two-byte letter") << QByteArray("xa_\xC2\x80") << u"xa_\u0080"_s;
    QTest::newRow("UTF-8, first three-byte letter") << QByteArray("xa_\xE0\xA0\x80") << u"xa_\u0800"_s;
    QTest::newRow("UTF-8, first four-byte letter") << QByteArray("xa_\xF0\x90\x80\x80") << u"xa_\U00010000"_s;
    QTest::newRow("UTF-8, last letter") << QByteArray("xa_\xF4\x8F\xBF\xBF") << u"xa_\U0010FFFF"_s;
    QTest::newRow("Windows-1250, first and last byte") << QByteArray("xa_\x80\xFF") << u"xa_€˙"_s;
    QTest::newRow("continuation bytes alone") << QByteArray("xa_\x8F\xBF\xBF") << u"xa_Źżż"_s;
    QTest::newRow("Windows-1250") << QByteArray("xa_\x8Aibenik \xE8\x9A") << u"xa_Šibenik čš"_s;
    QTest::newRow("UTF-8 and Windows-1250 mixed") << QByteArray("\xC5\xA0\x8A") << u"Ĺ\u00A0Š"_s;
    QTest::newRow("sequence cut short") << QByteArray("xa_\xC5") << u"xa_Ĺ"_s;
    QTest::newRow("overlong slash") << QByteArray("xa_\xC0\xAF") << u"xa_ŔŻ"_s;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << u"í\u00A0€"_s;
    QTest::newRow("last encoded surrogate") << QByteArray("\xED\xBF\xBF") << u"íżż"_s;
}

// A folder named in bytes that are no UTF-8 is listed, entered, read from and shown readably.
void TestFileSystem::namesThatAreNoText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);

    const QString name = platform::decodeFileName(bytes);
    QCOMPARE(platform::encodeFileName(name), bytes);
    QCOMPARE(platform::displayFileName(name), shown);
    // Valid UTF-8 is read as the text it is; only other bytes are kept as bytes.
    QCOMPARE(platform::holdsRawBytes(name), !QUtf8StringView(bytes).isValidUtf8());

    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/' + bytes;
    QCOMPARE(mkdir(folder.constData(), 0700), 0);
    writeFile(dir.path() + u"/plain.txt"_s, "OpisBaze=Firma");
    QCOMPARE(symlink("../plain.txt", (folder + "/StarterCS.txt").constData()), 0);

    const QStringList listed = platform::listSubfolders(dir.path());
    QCOMPARE(listed, QStringList {dir.path() + u'/' + name});
    QCOMPARE(testsupport::readTextIfPresent(listed[0] + u"/StarterCS.txt"_s), u"OpisBaze=Firma"_s);
    const QString before = platform::currentDirectory();
    QCOMPARE(chdir(folder.constData()), 0);
    QCOMPARE(platform::currentDirectory(), listed[0]);
    QCOMPARE(chdir(QFile::encodeName(before).constData()), 0);
}

QTEST_GUILESS_MAIN(TestFileSystem)
#include "TestFileSystem.moc"
