#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "platform/Settings.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;
using testsupport::makeInstallation;
using testsupport::RecordingMessageBox;
using testsupport::writeFile;

// Directories that a real workstation or a careless administrator can produce, and what each must give:
// the specified result or a clear message, never a hang, a crash or a lost setting.
//
// Some cases need an unprivileged user, since root reads and writes everything: they are skipped as root,
// and ctest runs them alone a second time as the user nobody (TestHostileInputUnprivileged). Others need
// POSIX files (FIFOs, sockets, links, devices, permission bits, names that Windows refuses): they are left
// out on Windows.
class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void directory_data();
    void directory();
    void launchersWithAwkwardNames();
    void launcherWithoutExecuteBit();
    void corruptSettingsFile();
    void unreadableSettingsFile();
    void settingsInReadOnlyFolder();
    void settingsFolderThatIsAFile();
    void twoWindowsLaunchingAtOnce();

private:
public:
    using Prepare = std::function<void(const QString& root)>;
    struct Case
    {
        const char* name;
        Prepare prepare;
        QStringList names; // the catalogue afterwards
        QString message; // the one message, or empty for none
        bool unprivileged = false; // only meaningful for a user that permissions stop
        bool posixOnly = false; // needs POSIX files
    };
    static QList<Case> cases();

private:
    std::unique_ptr<IzborAplikacije> start(RecordingMessageBox& messages);
    QString configHome() const;
    QString settingsFile() const;
    QString storedPath() const;
    void makeRecordingLauncher(const QString& folder, const QString& name);
    bool waitForRun(const QString& marker) const;

    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_dir;
};

static const bool Root = testsupport::isRoot();
// The run as the user nobody, which takes only the cases that need an unprivileged user.
static const bool UnprivilegedCasesOnly = qEnvironmentVariableIsSet("MARUN_UNPRIVILEGED_CASES_ONLY");

// A case that only POSIX files can produce.
static TestHostileInput::Case posix(TestHostileInput::Case hostile)
{
    hostile.posixOnly = true;
    return hostile;
}

void TestHostileInput::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
}

void TestHostileInput::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    // Every case has a configuration home of its own, which this user, root or not, may write: QSettings
    // keeps a failed write pending for its file, and that must not reach the next case.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
    testsupport::clearSettings(); // where the store is no file below this case's folder
}

void TestHostileInput::cleanup()
{
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    // Give back what a case took away, so that the folder can be removed.
    QProcess::execute(u"chmod"_s, {u"-R"_s, u"u+rwx"_s, m_dir->path()});
    m_dir.reset();
}

QString TestHostileInput::configHome() const
{
    return m_dir->path() + u"/.config"_s;
}

QString TestHostileInput::settingsFile() const
{
    return configHome() + u"/Vrex/MarunIzbor.conf"_s;
}

QString TestHostileInput::storedPath() const
{
    try {
        return platform::getSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, u"<none>"_s);
    } catch (const platform::RuntimeError& error) {
        return QString::fromUtf8(error.what());
    }
}

std::unique_ptr<IzborAplikacije> TestHostileInput::start(RecordingMessageBox& messages)
{
    return Module1::Main(messages);
}

void TestHostileInput::makeRecordingLauncher(const QString& folder, const QString& name)
{
    makeInstallation(m_dir->path(), folder, name);
    // The marker's name comes from the program's own folder, so a launcher started through a shell, or by
    // the wrong path, leaves none.
    testsupport::makeRecordingProgram(m_dir->path() + u'/' + folder + u"/StarterCS.exe"_s);
}

bool TestHostileInput::waitForRun(const QString& marker) const
{
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(marker) && clock.elapsed() < 10000)
        QTest::qWait(20);
    return QFile::exists(marker);
}

static void descriptor(const QString& root, const QString& folder, const QByteArray& bytes)
{
    writeFile(root + u'/' + folder + u"/StarterCS.txt"_s, bytes);
}

static void link(const QString& target, const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY(QFile::link(target, path));
}

QList<TestHostileInput::Case> TestHostileInput::cases()
{
    QByteArray garbage(4096, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& byte : garbage)
        byte = char(random.bounded(256));
    garbage.replace("=", "-"); // no line of it can hold a value
    const QByteArray mebibyte(1 << 20, 'x');

    return {
        {"binary garbage", [=](const QString& r) { descriptor(r, u"xa_a"_s, garbage); }, {}, {}},
        {"binary garbage around the name line",
         [=](const QString& r) { descriptor(r, u"xa_a"_s, garbage + "\r\nOpisBaze=Firma\r\n" + garbage); },
         {u"Firma"_s},
         {}},
        {"NUL bytes on other lines",
         [](const QString& r) { descriptor(r, u"xa_a"_s, QByteArray(64, '\0') + "\nOpisBaze=Firma\n\0\0\0"); },
         {u"Firma"_s},
         {}},
        {"nothing but NUL bytes", [](const QString& r) { descriptor(r, u"xa_a"_s, QByteArray(4096, '\0')); }, {}, {}},
        {"invalid UTF-8 that is no Windows-1250 either",
         [](const QString& r) { descriptor(r, u"xa_a"_s, "OpisBaze=Firma\x81\x98\xC3\r\n"); },
         {u"Firma\uFFFD\uFFFDĂ"_s},
         {}},
        {"UTF-16 descriptor",
         [](const QString& r) {
             const QString text = u"OpisBaze=Firma\r\n"_s;
             descriptor(r, u"xa_a"_s,
                        QByteArray("\xFF\xFE")
                            + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
         },
         {},
         {}},
        {"1 MiB line without the key",
         [=](const QString& r) { descriptor(r, u"xa_a"_s, mebibyte + "\r\nOpisBaze=Firma\r\n"); },
         {u"Firma"_s},
         {}},
        {"1 MiB line with the key",
         [=](const QString& r) {
             makeInstallation(r, u"xa_b"_s, u"Beta"_s);
             descriptor(r, u"xa_a"_s, "OpisBaze=" + mebibyte);
         },
         {u"Beta"_s},
         u"6: Overflow"_s},
        posix({"descriptor is a FIFO",
               [](const QString& r) {
                   QDir().mkpath(r + u"/xa_a"_s);
                   QVERIFY(testsupport::makeFifo(r + u"/xa_a/StarterCS.txt"_s));
               },
               {},
               {}}),
        posix({"descriptor is a FIFO, Starter.txt beside it",
               [](const QString& r) {
                   makeInstallation(r, u"xa_a"_s, u"Stari"_s, u"Starter.txt"_s);
                   QVERIFY(testsupport::makeFifo(r + u"/xa_a/StarterCS.txt"_s));
               },
               {u"Stari"_s},
               {}}),
        posix({"descriptor is a socket",
               [](const QString& r) {
                   QDir().mkpath(r + u"/xa_a"_s);
                   QVERIFY(testsupport::makeSocket(r + u"/xa_a/StarterCS.txt"_s));
               },
               {},
               {}}),
        {"descriptor is a folder", [](const QString& r) { QDir().mkpath(r + u"/xa_a/StarterCS.txt"_s); }, {}, {}},
        posix({"descriptor is a dangling link",
               [](const QString& r) { link(r + u"/missing.txt"_s, r + u"/xa_a/StarterCS.txt"_s); },
               {},
               {}}),
        posix({"descriptor is a looping link",
               [](const QString& r) {
                   link(r + u"/xa_a/Starter.txt"_s, r + u"/xa_a/StarterCS.txt"_s);
                   link(r + u"/xa_a/StarterCS.txt"_s, r + u"/xa_a/Starter.txt"_s);
               },
               {},
               {}}),
        posix({"descriptor links to an endless device",
               [](const QString& r) { link(u"/dev/zero"_s, r + u"/xa_a/StarterCS.txt"_s); },
               {},
               {}}),
        posix({"descriptor links to a file elsewhere",
               [](const QString& r) {
                   writeFile(r + u"/shared/common.txt"_s, "OpisBaze=Zajednička\r\n");
                   link(r + u"/shared/common.txt"_s, r + u"/xa_a/StarterCS.txt"_s);
               },
               {u"Zajednička"_s},
               {}}),
        posix({"installation folder is a looping link",
               [](const QString& r) { link(r + u"/xa_a"_s, r + u"/xa_a"_s); },
               {},
               {}}),
        posix({"installation folder is a dangling link",
               [](const QString& r) { link(r + u"/gone"_s, r + u"/xa_a"_s); },
               {},
               {}}),
        {"descriptor name in other letter case",
         [](const QString& r) { writeFile(r + u"/xa_a/startercs.txt"_s, "OpisBaze=Firma\r\n"); },
         {u"Firma"_s},
         {}},
        {"empty descriptor", [](const QString& r) { descriptor(r, u"xa_a"_s, QByteArray()); }, {}, {}},
        {"only comments", [](const QString& r) { descriptor(r, u"xa_a"_s, "* OpisBaze=Firma\r\n*\r\n"); }, {}, {}},
        {"5,000 folders, none an installation",
         [](const QString& r) {
             for (int i = 0; i < 5000; ++i)
                 QDir().mkpath(r + (i % 2 ? u"/ya_%1"_s : u"/xa_%1"_s).arg(i));
         },
         {},
         {}},
        posix({"awkward folder names",
               [](const QString& r) {
                   makeInstallation(r, u"xa firma s razmacima"_s, u"Razmaci"_s);
                   makeInstallation(r, u"xa_\"navodnici\" i 'apostrofi'"_s, u"Navodnici"_s);
                   makeInstallation(r, u"xa_$(touch pwned)"_s, u"Naredba"_s);
                   makeInstallation(r, u"xa_a; rm -rf x"_s, u"Točka-zarez"_s);
                   makeInstallation(r, u"xa_novi\nred"_s, u"Novi red"_s);
                   makeInstallation(r, u"xa_čćžšđ ČĆŽŠĐ"_s, u"Dijakritici"_s);
               },
               {u"Točka-zarez"_s, u"Razmaci"_s, u"Novi red"_s, u"Navodnici"_s, u"Naredba"_s, u"Dijakritici"_s},
               {}}),
        {"name with tabs and spaces",
         [](const QString& r) { descriptor(r, u"xa_a"_s, "  OPISBAZE \t=  \tFirma\t2009 \r\n"); },
         {u"Firma2009"_s},
         {}},
        {"name of 30,000 characters",
         [](const QString& r) { descriptor(r, u"xa_a"_s, "OpisBaze=" + QByteArray(30000, 'n')); },
         {QString(30000, u'n')},
         {}},
        {"two installations with one name",
         [](const QString& r) {
             makeInstallation(r, u"xa_a"_s, u"Firma"_s);
             makeInstallation(r, u"xa_b"_s, u"Firma"_s);
         },
         {u"Firma"_s, u"Firma"_s},
         u"35602: Key is not unique in collection"_s},
        {"a name equal to a group's key",
         [](const QString& r) {
             makeInstallation(r, u"xa_a"_s, u"Firma"_s);
             makeInstallation(r, u"xa_b"_s, u"Firma_N"_s);
         },
         {u"Firma"_s, u"Firma_N"_s},
         u"35602: Key is not unique in collection"_s},
        {"names nested three deep",
         [](const QString& r) {
             makeInstallation(r, u"xa_3"_s, u"A"_s);
             makeInstallation(r, u"xa_2"_s, u"AB"_s);
             makeInstallation(r, u"xa_1"_s, u"ABC"_s);
         },
         {u"A"_s, u"ABC"_s, u"AB"_s},
         u"35601: Element not found"_s},
        {"hidden and two-letter folders",
         [](const QString& r) {
             makeInstallation(r, u".xa_skriveno"_s, u"Skriveno"_s);
             makeInstallation(r, u"xa"_s, u"Kratko"_s);
         },
         {u"Kratko"_s},
         {}},
        {"unreadable descriptor",
         [](const QString& r) {
             makeInstallation(r, u"xa_a"_s, u"Firma"_s);
             QFile::setPermissions(r + u"/xa_a/StarterCS.txt"_s, QFileDevice::WriteOwner);
         },
         {},
         u"70: Permission denied"_s,
         true},
        {"unreadable installation folder",
         [](const QString& r) {
             makeInstallation(r, u"xa_a"_s, u"Firma"_s);
             makeInstallation(r, u"xa_b"_s, u"Beta"_s);
             QFile::setPermissions(r + u"/xa_a"_s, QFileDevice::WriteOwner);
         },
         {u"Beta"_s},
         {},
         true},
        {"unreadable start directory",
         [](const QString& r) {
             makeInstallation(r, u"xa_a"_s, u"Firma"_s);
             QFile::setPermissions(r, QFileDevice::WriteOwner | QFileDevice::ExeOwner);
         },
         {},
         u"70: Permission denied"_s,
         true},
    };
}

void TestHostileInput::directory_data()
{
    QTest::addColumn<int>("index");
    const QList<Case> all = cases();
    for (int i = 0; i < all.size(); ++i) {
        if ((all[i].posixOnly || all[i].unprivileged) && !testsupport::posixFiles())
            continue;
        if (UnprivilegedCasesOnly && !all[i].unprivileged)
            continue;
        QTest::newRow(all[i].name) << i;
    }
}

void TestHostileInput::directory()
{
    QFETCH(int, index);
    const Case hostile = cases().at(index);
    if (hostile.unprivileged && Root)
        QSKIP("root reads everything; this case runs as an unprivileged user");

    hostile.prepare(m_dir->path());
    QElapsedTimer clock;
    clock.start();
    RecordingMessageBox messages;
    const auto form = start(messages);
    QVERIFY2(clock.elapsed() < 10000, "the window must come up without waiting");

    QVERIFY(form->isVisible());
    QCOMPARE(form->catalogue().Names, hostile.names);
    if (hostile.message.isEmpty()) {
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.messages.value(0).text));
    } else {
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages[0].text, hostile.message);
        QCOMPARE(messages.messages[0].title, u"MarunIzbor"_s);
    }
    QVERIFY(!QFile::exists(m_dir->path() + u"/pwned"_s));
}

void TestHostileInput::launchersWithAwkwardNames()
{
    QStringList folders {u"xa firma s razmacima"_s, u"xa_\"navodnici\" i 'apostrofi'"_s,
                         u"xa_$(touch pwned)"_s,    u"xa_a; touch pwned"_s,
                         u"xa_novi\nred"_s,         u"xa_čćžšđ ČĆŽŠĐ"_s,
                         u"xa_`touch pwned` & |"_s};
    if (!testsupport::posixFiles()) {
        // Windows refuses these characters in a name.
        folders.removeIf([](const QString& name) {
            return std::any_of(name.begin(), name.end(), [](QChar c) { return u"\"\n|<>*?:"_s.contains(c); });
        });
    }
    for (int i = 0; i < folders.size(); ++i)
        makeRecordingLauncher(folders[i], u"Naziv %1"_s.arg(i));

    RecordingMessageBox messages;
    const auto form = start(messages);
    for (int i = 0; i < folders.size(); ++i) {
        form->treeView()->select(form->treeView()->node(u"Naziv %1"_s.arg(i)));
        QTest::keyClick(form->treeView(), Qt::Key_Return);
        QVERIFY2(waitForRun(m_dir->path() + u'/' + folders[i] + u".ran"_s), qPrintable(folders[i]));
        QCOMPARE(storedPath(), m_dir->path() + u'/' + folders[i] + u"/StarterCS.exe"_s);
    }
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(!QFile::exists(m_dir->path() + u"/pwned"_s));
}

void TestHostileInput::launcherWithoutExecuteBit()
{
    if (!testsupport::posixFiles())
        QSKIP("No execute bit here.");
    makeRecordingLauncher(u"xa_a"_s, u"Firma"_s);
    const QString launcher = m_dir->path() + u"/xa_a/StarterCS.exe"_s;
    QVERIFY(QFile::setPermissions(launcher, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    RecordingMessageBox messages;
    const auto form = start(messages);
    form->treeView()->select(form->treeView()->node(u"Firma"_s));
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, u"70: Permission denied: "_s + launcher);
    QCOMPARE(storedPath(), u"<none>"_s);
}

void TestHostileInput::corruptSettingsFile()
{
    if (testsupport::settingsFile().isEmpty())
        QSKIP("The setting is kept in no file here.");
    makeRecordingLauncher(u"xa_a"_s, u"Firma"_s);
    writeFile(settingsFile(), "[LastStarted\n\x01\x02 Putanja==\n[[[\n");

    RecordingMessageBox messages;
    const auto form = start(messages);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, u"75: Path/File access error"_s);
    QCOMPARE(messages.messages[0].detail, settingsFile());
    QVERIFY(form->isVisible());

    // The next launch writes a sound file in its place.
    form->treeView()->select(form->treeView()->node(u"Firma"_s));
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    QVERIFY(waitForRun(m_dir->path() + u"/xa_a.ran"_s));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(storedPath(), m_dir->path() + u"/xa_a/StarterCS.exe"_s);
}

void TestHostileInput::unreadableSettingsFile()
{
    if (testsupport::settingsFile().isEmpty())
        QSKIP("The setting is kept in no file here.");
    if (Root)
        QSKIP("root reads everything; this case runs as an unprivileged user");
    makeInstallation(m_dir->path(), u"xa_a"_s, u"Firma"_s);
    writeFile(settingsFile(), "[LastStarted]\nPutanja=/x\n");
    QVERIFY(QFile::setPermissions(settingsFile(), QFileDevice::WriteOwner));

    RecordingMessageBox messages;
    const auto form = start(messages);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, u"70: Permission denied"_s);
    QCOMPARE(messages.messages[0].detail, settingsFile());
    QVERIFY(form->isVisible());
    QCOMPARE(form->catalogue().Names, QStringList {u"Firma"_s});
    QVERIFY(QFile::setPermissions(settingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

void TestHostileInput::settingsInReadOnlyFolder()
{
    if (testsupport::settingsFile().isEmpty())
        QSKIP("The setting is kept in no file here.");
    if (Root)
        QSKIP("root writes everywhere; this case runs as an unprivileged user");
    makeRecordingLauncher(u"xa_a"_s, u"Firma"_s);
    makeRecordingLauncher(u"xa_b"_s, u"Beta"_s);
    const QString earlier = m_dir->path() + u"/xa_a/StarterCS.exe"_s;
    platform::saveSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, earlier);
    const QString folder = QFileInfo(settingsFile()).path();
    QVERIFY(QFile::setPermissions(settingsFile(), QFileDevice::ReadOwner));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    // Read-only is no obstacle to reading.
    RecordingMessageBox messages;
    const auto form = start(messages);
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(platform::TreeView::key(form->treeView()->selectedItem()), u"Firma"_s);

    form->treeView()->select(form->treeView()->node(u"Beta"_s));
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    QVERIFY(waitForRun(m_dir->path() + u"/xa_b.ran"_s));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, u"70: Permission denied: "_s + settingsFile());
    QVERIFY(form->isVisible());

    // Nothing lost: the file still holds the earlier launch.
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Putanja=" + QFile::encodeName(earlier)));
}

void TestHostileInput::settingsFolderThatIsAFile()
{
    if (testsupport::settingsFile().isEmpty())
        QSKIP("The setting is kept in no file here.");
    makeRecordingLauncher(u"xa_a"_s, u"Firma"_s);
    const QString folder = QFileInfo(settingsFile()).path();
    QVERIFY(QDir(folder).removeRecursively());
    writeFile(folder, "not a folder");

    RecordingMessageBox messages;
    const auto form = start(messages);
    QVERIFY(messages.messages.isEmpty()); // nothing to read is a first start
    form->treeView()->select(form->treeView()->node(u"Firma"_s));
    QTest::keyClick(form->treeView(), Qt::Key_Return);
    QVERIFY(waitForRun(m_dir->path() + u"/xa_a.ran"_s));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].text, u"70: Permission denied: "_s + settingsFile());
    QVERIFY(QFile::remove(folder));
}

void TestHostileInput::twoWindowsLaunchingAtOnce()
{
    // Two programs store their launches at the same moment, many times over: the store must stay readable
    // and hold one of the two paths, whole.
    const QString helper = QCoreApplication::applicationDirPath() + u"/settings_writer"_s;
    QList<QProcess*> writers;
    for (const QString& value : {u"/srv/xa_prvi/StarterCS.exe"_s, u"/srv/xa_drugi/StarterCS.exe"_s}) {
        auto* writer = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome());
        writer->setProcessEnvironment(environment);
        writer->start(helper, {value, u"200"_s});
        writers.append(writer);
    }
    for (QProcess* writer : writers) {
        QVERIFY(writer->waitForFinished(60000));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QVERIFY2(writer->exitCode() == 0, writer->readAllStandardError().constData());
        delete writer;
    }
    const QString stored = storedPath();
    QVERIFY2(stored == u"/srv/xa_prvi/StarterCS.exe" || stored == u"/srv/xa_drugi/StarterCS.exe", qPrintable(stored));
}

QTEST_MAIN(TestHostileInput)
#include "TestHostileInput.moc"
