#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "identity/Identity.h"
#include "platform/DirectoryList.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Settings.h"
#include "platform/SystemError.h"
#include "platform/SystemErrorWindows.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstddef>

// Last: windows.h makes MessageBox a macro, which would rename platform::MessageBox in the headers above.
#include "platform/WorkstationWindows.h"

#include <windows.h>

using namespace Qt::StringLiterals;
using testsupport::errorNumber;
using testsupport::writeFile;

// The Windows layer where it differs from the POSIX one: the setting in the registry, the existence test's
// attributes, the listing, starting a program, the address table and the workstation's names.
class TestPlatformWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingInTheRegistry();
    void existenceTest_data();
    void existenceTest();
    void devicesAreNoFiles();
    void listing();
    void startsAProgram();
    void launchesFromTheWindowAndRestores();
    void addressTableOfAnySize_data();
    void addressTableOfAnySize();
    void unsetNamesAreEmpty();
    void answeredOrNot_data();
    void answeredOrNot();
    void unreachableServerIsNoAbsence();
    void insertsIntoSystemText_data();
    void insertsIntoSystemText();
    void systemTextAsTheSystemFillsIt_data();
    void systemTextAsTheSystemFillsIt();
};

void TestPlatformWindows::settingInTheRegistry()
{
    const QString app = u"Vrex\\MarunIzbor"_s;
    testsupport::clearSettings();
    QCOMPARE(platform::getSetting(app, u"LastStarted"_s, u"Putanja"_s, u"<none>"_s), u"<none>"_s);

    platform::saveSetting(app, u"LastStarted"_s, u"Putanja"_s, u"S:/Apps/xa_firma/StarterCS.exe"_s);
    // Where the classic SaveSetting keeps it, as the suite's own launcher wrote it.
    wchar_t value[MAX_PATH];
    DWORD size = sizeof value;
    QCOMPARE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vrex\\MarunIzbor\\LastStarted",
                          L"Putanja", RRF_RT_REG_SZ, nullptr, value, &size),
             LSTATUS(ERROR_SUCCESS));
    QCOMPARE(QString::fromWCharArray(value), u"S:\\Apps\\xa_firma\\StarterCS.exe"_s);
    QCOMPARE(platform::getSetting(app, u"LastStarted"_s, u"Putanja"_s, {}), u"S:/Apps/xa_firma/StarterCS.exe"_s);

    // A value the suite's launcher stored before the switch reads as the same path.
    const std::wstring earlier = L"S:\\Apps\\xa_alfa\\Starter.exe";
    QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vrex\\MarunIzbor\\LastStarted",
                             L"Putanja", REG_SZ, earlier.c_str(), DWORD((earlier.size() + 1) * sizeof(wchar_t))),
             LSTATUS(ERROR_SUCCESS));
    QCOMPARE(platform::getSetting(app, u"LastStarted"_s, u"Putanja"_s, {}), u"S:/Apps/xa_alfa/Starter.exe"_s);
    testsupport::clearSettings();
}

void TestPlatformWindows::existenceTest_data()
{
    QTest::addColumn<DWORD>("attributes"); // 0: a folder instead of a file
    QTest::addColumn<bool>("exists");

    QTest::newRow("normal file") << DWORD(FILE_ATTRIBUTE_NORMAL) << true;
    QTest::newRow("read-only file") << DWORD(FILE_ATTRIBUTE_READONLY) << true;
    QTest::newRow("archived file") << DWORD(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("hidden file") << DWORD(FILE_ATTRIBUTE_HIDDEN) << false;
    QTest::newRow("system file") << DWORD(FILE_ATTRIBUTE_SYSTEM) << false;
    QTest::newRow("folder") << DWORD(0) << false;
}

void TestPlatformWindows::existenceTest()
{
    QFETCH(DWORD, attributes);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.path() + u"/StarterCS.txt"_s;
    if (attributes == 0) {
        QVERIFY(QDir().mkpath(path));
    } else {
        writeFile(path, "OpisBaze=Firma");
        QVERIFY(
            SetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), attributes));
    }
    QCOMPARE(platform::fileExists(path), exists);
    QCOMPARE(testsupport::readTextIfPresent(path), exists ? std::optional(u"OpisBaze=Firma"_s) : std::nullopt);
    // Names match whatever their letter case.
    QCOMPARE(platform::fileExists(dir.path() + u"/STARTERCS.TXT"_s), exists);
    SetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), FILE_ATTRIBUTE_NORMAL);
}

// A name that Windows gives to a device opens the device, in any folder, and no file.
void TestPlatformWindows::devicesAreNoFiles()
{
    QTemporaryDir dir;
    for (const QString& name : {u"NUL"_s, u"nul"_s})
        QCOMPARE(testsupport::readTextIfPresent(dir.path() + u'/' + name), std::nullopt);
}

void TestPlatformWindows::listing()
{
    QTemporaryDir dir;
    for (const QString& name : {u"b"_s, u"C"_s, u"a"_s, u"xa_skrivena"_s, u"Žuto"_s})
        QVERIFY(QDir(dir.path()).mkpath(name));
    writeFile(dir.path() + u"/xa_datoteka"_s, "x");
    const QString hidden = QDir::toNativeSeparators(dir.path() + u"/xa_skrivena"_s);
    QVERIFY(SetFileAttributesW(reinterpret_cast<const wchar_t*>(hidden.utf16()), FILE_ATTRIBUTE_HIDDEN));

    QStringList expected;
    for (const QString& name : {u"a"_s, u"b"_s, u"C"_s, u"Žuto"_s})
        expected.append(dir.path() + u'/' + name);
    QCOMPARE(platform::listSubfolders(dir.path()), expected);
    QCOMPARE(errorNumber([&] { platform::listSubfolders(dir.path() + u"/missing"_s); }), 76);
}

void TestPlatformWindows::startsAProgram()
{
    QTemporaryDir dir;
    const QString launcher = dir.path() + u"/xa_firma/StarterCS.exe"_s;
    QVERIFY(QDir().mkpath(dir.path() + u"/xa_firma"_s));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/test_program.exe"_s, launcher));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    platform::startProgram(launcher);
    QFile record(dir.path() + u"/xa_firma.ran"_s);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > 0, 20000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll().trimmed()), u"0 "_s + dir.path()); // no arguments, here
    record.close();

    QCOMPARE(errorNumber([&] { platform::startProgram(dir.path() + u"/xa_firma/Starter.exe"_s); }), 53);
    QVERIFY(QDir::setCurrent(before));
}

// The whole road of one installation on Windows: listed, shown, started with Enter, stored in the registry
// and selected again at the next start.
void TestPlatformWindows::launchesFromTheWindowAndRestores()
{
    testsupport::clearSettings();
    QTemporaryDir dir;
    const QString program = QCoreApplication::applicationDirPath() + u"/test_program.exe"_s;
    for (const QString& folder : {u"xa_alfa"_s, u"xa_firma"_s, u"XE_FIRMA09"_s}) {
        testsupport::makeInstallation(dir.path(), folder,
                                      folder == u"xa_alfa"        ? u"Alfa"_s
                                          : folder == u"xa_firma" ? u"Firma"_s
                                                                  : u"Firma 2009"_s);
        QVERIFY(QFile::copy(program, dir.path() + u'/' + folder + u"/StarterCS.exe"_s));
    }
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    testsupport::RecordingMessageBox messages;
    auto form = Module1::Main(messages);
    QVERIFY(form->isVisible());
    QCOMPARE(form->catalogue().Names, (QStringList {u"Firma"_s, u"Alfa"_s, u"Firma 2009"_s}));
    platform::TreeView* tree = form->treeView();
    tree->select(tree->node(u"Firma 2009"_s));
    QTest::keyClick(tree, Qt::Key_Return);
    QFile record(dir.path() + u"/XE_FIRMA09.ran"_s);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > 0, 20000);
    QVERIFY(messages.messages.isEmpty());
    const QString launched = dir.path() + u"/XE_FIRMA09/StarterCS.exe"_s;
    QCOMPARE(platform::getSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, {}), launched);

    form.reset();
    form = Module1::Main(messages);
    QCOMPARE(platform::TreeView::key(form->treeView()->selectedItem()), u"Firma 2009"_s);
    form.reset();
    QVERIFY(QDir::setCurrent(before));
    testsupport::clearSettings();
}

// In place of the machine's address table: 10.0.0.1 and on, sorted when asked, one row more after each of
// the first growths answers that a buffer is too small; or failure at every call.
static struct
{
    DWORD rows;
    int growths;
    DWORD failure;
} fakeTable;

static DWORD WINAPI fakeGetIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL order)
{
    if (fakeTable.failure != NO_ERROR)
        return fakeTable.failure;
    const ULONG needed = offsetof(MIB_IPADDRTABLE, table) + fakeTable.rows * sizeof(MIB_IPADDRROW);
    if (*size < needed) {
        *size = needed;
        if (fakeTable.growths-- > 0)
            ++fakeTable.rows;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = fakeTable.rows;
    for (DWORD i = 0; i < fakeTable.rows; ++i) // network byte order: 10 is the first byte
        table->table[i].dwAddr = 10 | (order ? i + 1 : fakeTable.rows - i) << 24;
    return NO_ERROR;
}

// A workstation with 22 addresses or more showed none: the table did not fit one 512-byte buffer.
void TestPlatformWindows::addressTableOfAnySize_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("growths");
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("result");

    QTest::newRow("30 rows, all listed") << 30 << 0 << int(NO_ERROR) << 0;
    QTest::newRow("no rows") << 0 << 0 << int(NO_ERROR) << 0;
    QTest::newRow("grows between asking the size and reading") << 30 << 1 << int(NO_ERROR) << 0;
    QTest::newRow("grows at every call: the platform's code") << 30 << 100 << int(NO_ERROR) << 122;
    QTest::newRow("cannot be read: the platform's code") << 30 << 0 << int(ERROR_NOT_SUPPORTED) << 50;
}

void TestPlatformWindows::addressTableOfAnySize()
{
    QFETCH(int, rows);
    QFETCH(int, growths);
    QFETCH(int, failure);
    QFETCH(int, result);
    fakeTable = {DWORD(rows), growths, DWORD(failure)};
    QList<platform::Ipv4Address> read {{1, 2, 3, 4}};
    QCOMPARE(platform::readAddressTable(fakeGetIpAddrTable, read), result);

    QList<platform::Ipv4Address> expected {{1, 2, 3, 4}}; // untouched when the table cannot be read
    if (result == 0) {
        expected.clear();
        for (DWORD i = 1; i <= fakeTable.rows; ++i)
            expected.append({10, 0, 0, quint8(i)});
    }
    QCOMPARE(read, expected);
}

// COMPUTERNAME, USERDOMAIN and USERNAME are the workstation's own: nothing stands in for an unset one.
void TestPlatformWindows::unsetNamesAreEmpty()
{
    QList<std::pair<const char*, QByteArray>> saved;
    for (const char* name : {"COMPUTERNAME", "USERDOMAIN", "USERNAME"}) {
        if (qEnvironmentVariableIsSet(name))
            saved.append({name, qgetenv(name)});
        qunsetenv(name);
    }
    const identity::Workstation names = identity::workstation(platform::environment(), platform::nameStandIns());
    for (const auto& [name, value] : saved)
        qputenv(name, value);
    QVERIFY2(!saved.isEmpty(), "the process had names to remove");
    QCOMPARE(names.computerName, QString());
    QCOMPARE(names.userDomain, QString());
    QCOMPARE(names.userName, QString());
}

// The twin of the POSIX table in TestFileSystem: what each error code of a failed request gives.
void TestPlatformWindows::answeredOrNot_data()
{
    QTest::addColumn<quint32>("error");
    QTest::addColumn<bool>("answer"); // the file system's answer: the existence test finds nothing
    QTest::addColumn<int>("file"); // the run-time error of a request for a file
    QTest::addColumn<int>("folder"); // and for a folder

    QTest::newRow("no such file") << quint32(ERROR_FILE_NOT_FOUND) << true << 53 << 76;
    QTest::newRow("no such folder on the way") << quint32(ERROR_PATH_NOT_FOUND) << true << 53 << 76;
    QTest::newRow("name that cannot be") << quint32(ERROR_INVALID_NAME) << true << 53 << 76;
    QTest::newRow("bad path") << quint32(ERROR_BAD_PATHNAME) << true << 53 << 76;
    QTest::newRow("no such drive") << quint32(ERROR_INVALID_DRIVE) << true << 53 << 76;
    QTest::newRow("a file on the way") << quint32(ERROR_DIRECTORY) << true << 53 << 76;
    QTest::newRow("refused") << quint32(ERROR_ACCESS_DENIED) << true << 70 << 70;
    QTest::newRow("locked by another program") << quint32(ERROR_SHARING_VIOLATION) << true << 70 << 70;
    QTest::newRow("part locked") << quint32(ERROR_LOCK_VIOLATION) << true << 70 << 70;
    QTest::newRow("name too long") << quint32(ERROR_FILENAME_EXCED_RANGE) << true << 75 << 75;
    QTest::newRow("server not found") << quint32(ERROR_BAD_NETPATH) << false << 75 << 75;
    QTest::newRow("share not found") << quint32(ERROR_BAD_NET_NAME) << false << 75 << 75;
    QTest::newRow("connection dropped") << quint32(ERROR_NETNAME_DELETED) << false << 75 << 75;
    QTest::newRow("network error") << quint32(ERROR_UNEXP_NET_ERR) << false << 75 << 75;
    QTest::newRow("timed out") << quint32(ERROR_SEM_TIMEOUT) << false << 75 << 75;
    QTest::newRow("not ready") << quint32(ERROR_NOT_READY) << false << 75 << 75;
    QTest::newRow("network unreachable") << quint32(ERROR_NETWORK_UNREACHABLE) << false << 75 << 75;
    QTest::newRow("exists") << quint32(ERROR_FILE_EXISTS) << false << 75 << 75;
    QTest::newRow("not a program") << quint32(ERROR_BAD_EXE_FORMAT) << false << 75 << 75;
}

void TestPlatformWindows::answeredOrNot()
{
    QFETCH(quint32, error);
    QFETCH(bool, answer);
    QFETCH(int, file);
    QFETCH(int, folder);

    QCOMPARE(platform::isFileSystemAnswer(error), answer);
    const QString path = u"S:/Apps/QRM.exe"_s;
    const auto target = platform::RequestTarget::File;
    for (const auto& [request, number] :
         {std::pair(target, file), std::pair(platform::RequestTarget::Folder, folder)}) {
        const platform::RuntimeError raised = platform::requestError(error, path, request);
        QCOMPARE(raised.number(), number);
        if (number != 75)
            QCOMPARE(raised.description(), platform::Error::description(number));
        else
            QVERIFY(raised.description() != platform::Error::description(75)); // the system's own words
    }
}

// A server that is gone was taken for a descriptor, a start directory, a launcher or a QRM.exe that is not
// there.
void TestPlatformWindows::unreachableServerIsNoAbsence()
{
    const QString folder = u"//no-such-server.invalid/Apps"_s;
    const QString path = folder + u"/xa_firma/StarterCS.txt"_s;
    QCOMPARE(errorNumber([&] { platform::fileExists(path); }), 75);
    QCOMPARE(errorNumber([&] { testsupport::readTextIfPresent(path); }), 75);
    QCOMPARE(errorNumber([&] { platform::DirectoryList().setPath(folder); }), 75);
    QCOMPARE(errorNumber([&] { platform::listSubfolders(folder); }), 75);
    QCOMPARE(errorNumber([&] { platform::startProgram(folder + u"/xa_firma/StarterCS.exe"_s); }), 75);
    // Where each request is a round trip, the scan reads in parallel from the first folder.
    QVERIFY(platform::isNetworkFileSystem(u"//server/Apps"_s));
    QVERIFY(!platform::isNetworkFileSystem(QDir::tempPath()));
}

void TestPlatformWindows::insertsIntoSystemText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    const QString path = u"S:\\Apps\\QRM.exe"_s;
    QTest::newRow("one insert") << u"%1 is not a valid Win32 application."_s << path
                                << u"S:\\Apps\\QRM.exe is not a valid Win32 application."_s;
    QTest::newRow("two inserts") << u"Insert %2 into drive %1."_s << u"A:"_s << u"Insert A: into drive A:."_s;
    QTest::newRow("insert with a format") << u"%1!s! is locked."_s << u"P"_s << u"P is locked."_s;
    QTest::newRow("format not closed") << u"%1!s is"_s << u"P"_s << u"P!s is"_s;
    QTest::newRow("two-digit insert") << u"%12%1003"_s << u"P"_s << u"PP03"_s;
    QTest::newRow("percent sign") << u"100%% of %1"_s << u"P"_s << u"100% of P"_s;
    QTest::newRow("percent sign before a digit") << u"%%1 stays"_s << u"P"_s << u"%1 stays"_s;
    QTest::newRow("line end, return, tab") << u"a%nb%rc%td"_s << u"P"_s << u"a\r\nb\rc\td"_s;
    QTest::newRow("space, period, exclamation") << u"a% b%.c%!"_s << u"P"_s << u"a b.c!"_s;
    QTest::newRow("end of message") << u"a %1%0 b %1"_s << u"P"_s << u"a P"_s;
    QTest::newRow("percent at the end") << u"50%"_s << u"P"_s << u"50%"_s;
    QTest::newRow("no insert") << u"The system cannot find the file specified."_s << path
                               << u"The system cannot find the file specified."_s;
    QTest::newRow("path with percent signs")
        << u"%1 failed"_s << u"S:\\100%1\\%%\\%n"_s << u"S:\\100%1\\%%\\%n failed"_s;
    QTest::newRow("path with dollar signs") << u"%1 and %2"_s << u"S:\\$1\\$0"_s << u"S:\\$1\\$0 and S:\\$1\\$0"_s;
    QTest::newRow("path with backslashes") << u"%1!s!"_s << u"\\\\server\\share\\1\\"_s << u"\\\\server\\share\\1\\"_s;
}

void TestPlatformWindows::insertsIntoSystemText()
{
    QFETCH(QString, text);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(platform::insertIntoSystemText(text, path), expected);
}

void TestPlatformWindows::systemTextAsTheSystemFillsIt_data()
{
    QTest::addColumn<quint32>("error");
    QTest::addColumn<QString>("path");
    QTest::newRow("not a program") << quint32(ERROR_BAD_EXE_FORMAT) << u"S:/Apps/QRM.exe"_s;
    QTest::newRow("not a program, path with %, $ and \\") << quint32(ERROR_BAD_EXE_FORMAT) << u"S:/100%1/$0/%%.exe"_s;
    QTest::newRow("no insert") << quint32(ERROR_NETNAME_DELETED) << u"S:/Apps/QRM.exe"_s;
}

// The request's text as the system itself inserts the path, with its native separators.
void TestPlatformWindows::systemTextAsTheSystemFillsIt()
{
    QFETCH(quint32, error);
    QFETCH(QString, path);
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD_PTR arguments[] = {DWORD_PTR(native.c_str()), DWORD_PTR(native.c_str())};
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    QVERIFY(length > 0);
    const QString expected = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    QCOMPARE(platform::systemErrorText(error, path), expected);
}

QTEST_MAIN(TestPlatformWindows)
#include "TestPlatformWindows.moc"
