#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "platform/Settings.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;
using platform::TreeView;
using testsupport::makeInstallation;
using testsupport::RecordingMessageBox;
using testsupport::writeFile;

// Launching from the tree with real launcher scripts: each one records in "<folder>.ran" beside the
// installations that it ran, with how many arguments and in which directory.
class TestLaunching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void launches_data();
    void launches();
    void startsNothing_data();
    void startsNothing();
    void keysThatDifferOnlyInLetterCase();
    void launcherThatCannotStart_data();
    void launcherThatCannotStart();
    void settingThatCannotBeWritten();
    void nextStartRestoresTheLaunch();
    void launcherInOtherLetterCase();
    void pathsThatAreNoText();

private:
    void makeInstallationWithLauncher(const QString& folder, const QString& name);
    void start();
    QTreeWidgetItem* leaf(const QString& key) const;
    // Does to the tree what how says: "double click" on node, "double click below the nodes", "click the
    // group's arrow" of node's group, or a key; several joined by ", then ".
    void act(const QString& how, QTreeWidgetItem* node);
    QString storedPath() const;
    // Waits until folder's launcher has recorded its run, and returns what it recorded.
    QString waitForRun(const QString& folder) const;
    // The launchers that ran, after a pause long enough for a start that should not have happened.
    QStringList runsAfterPause() const;

    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingMessageBox m_messages;
    std::unique_ptr<IzborAplikacije> m_form;
};

void TestLaunching::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
}

void TestLaunching::init()
{
    testsupport::clearSettings();
    m_messages.messages.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    makeInstallationWithLauncher(u"xa_alfa"_s, u"Alfa"_s);
    makeInstallationWithLauncher(u"xa_alfa_t"_s, u"Alfa test"_s);
    makeInstallationWithLauncher(u"xa_firma"_s, u"Firma"_s);
    makeInstallationWithLauncher(u"xa_firma09"_s, u"Firma 2009"_s);
    makeInstallationWithLauncher(u"xa_firma10"_s, u"Firma 2010"_s);
}

void TestLaunching::cleanup()
{
    m_form.reset();
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    m_dir.reset();
}

void TestLaunching::makeInstallationWithLauncher(const QString& folder, const QString& name)
{
    makeInstallation(m_dir->path(), folder, name);
    testsupport::makeRecordingProgram(m_dir->path() + u'/' + folder + u"/StarterCS.exe"_s);
}

void TestLaunching::start()
{
    m_form = Module1::Main(m_messages);
    QVERIFY(m_form->isVisible());
}

QTreeWidgetItem* TestLaunching::leaf(const QString& key) const
{
    return m_form->treeView()->node(key);
}

void TestLaunching::act(const QString& how, QTreeWidgetItem* node)
{
    TreeView* tree = m_form->treeView();
    static const QHash<QString, std::pair<int, Qt::KeyboardModifiers>> keys {
        {u"Enter"_s, {Qt::Key_Return, Qt::NoModifier}},
        {u"keypad Enter"_s, {Qt::Key_Enter, Qt::KeypadModifier}},
        {u"space"_s, {Qt::Key_Space, Qt::NoModifier}},
        {u"letter"_s, {Qt::Key_F, Qt::NoModifier}},
        {u"Escape"_s, {Qt::Key_Escape, Qt::NoModifier}},
        {u"right"_s, {Qt::Key_Right, Qt::NoModifier}},
        {u"Shift+Enter"_s, {Qt::Key_Return, Qt::ShiftModifier}},
        {u"Shift+keypad Enter"_s, {Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier}},
        {u"Ctrl+Enter"_s, {Qt::Key_Return, Qt::ControlModifier}},
        {u"Ctrl+keypad Enter"_s, {Qt::Key_Enter, Qt::KeypadModifier | Qt::ControlModifier}},
        {u"Alt+Enter"_s, {Qt::Key_Return, Qt::AltModifier}},
    };
    if (how.contains(u", then "_s)) {
        for (const QString& step : how.split(u", then "_s))
            act(step, node);
    } else if (how == u"click the group's arrow") {
        const QRect group = tree->visualItemRect(node->parent());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(tree->indentation() / 2, group.center().y()));
        QVERIFY(!node->parent()->isExpanded());
    } else if (how == u"double click") {
        tree->scrollToItem(node);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    } else if (how == u"double click below the nodes") {
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, QPoint(200, tree->viewport()->height() - 5));
    } else {
        QVERIFY2(keys.contains(how), qPrintable(how));
        QTest::keyClick(tree, Qt::Key(keys[how].first), keys[how].second);
    }
}

QString TestLaunching::storedPath() const
{
    return platform::getSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, u"<none>"_s);
}

QString TestLaunching::waitForRun(const QString& folder) const
{
    QFile record(m_dir->path() + u'/' + folder + u".ran"_s);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > 0, 10000); }();
    if (!record.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(record.readAll()).trimmed();
}

QStringList TestLaunching::runsAfterPause() const
{
    QTest::qWait(300);
    return QDir(m_dir->path()).entryList({u"*.ran"_s});
}

void TestLaunching::launches_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("folder");

    QTest::newRow("double click on a member") << u"Firma 2009"_s << u"double click"_s << u"xa_firma09"_s;
    QTest::newRow("double click on a head's own leaf") << u"Firma"_s << u"double click"_s << u"xa_firma"_s;
    QTest::newRow("Enter") << u"Alfa test"_s << u"Enter"_s << u"xa_alfa_t"_s;
    QTest::newRow("keypad Enter") << u"Firma 2010"_s << u"keypad Enter"_s << u"xa_firma10"_s;
    QTest::newRow("Shift+Enter") << u"Alfa test"_s << u"Shift+Enter"_s << u"xa_alfa_t"_s;
    QTest::newRow("Shift+keypad Enter") << u"Firma 2010"_s << u"Shift+keypad Enter"_s << u"xa_firma10"_s;
    QTest::newRow("double click where no node is: the selected leaf")
        << u"Alfa"_s << u"double click below the nodes"_s << u"xa_alfa"_s;
}

void TestLaunching::launches()
{
    QFETCH(QString, key);
    QFETCH(QString, how);
    QFETCH(QString, folder);

    start();
    TreeView* tree = m_form->treeView();
    QTreeWidgetItem* node = leaf(key);
    tree->select(node);
    act(how, node);

    const QString launchPath = m_dir->path() + u'/' + folder + u"/StarterCS.exe"_s;
    // No arguments, and the directory MarunIzbor was started in.
    QCOMPARE(waitForRun(folder), u"0 "_s + m_dir->path());
    QCOMPARE(storedPath(), launchPath);
    QVERIFY(m_messages.messages.isEmpty());
    QVERIFY(m_form->isVisible());
    QCOMPARE(tree->selectedItem(), node);
    QCOMPARE(runsAfterPause(), QStringList {folder + u".ran"_s});
}

void TestLaunching::startsNothing_data()
{
    QTest::addColumn<QString>("key"); // empty: nothing selected
    QTest::addColumn<QString>("how");

    QTest::newRow("double click on a group") << u"Firma_N"_s << u"double click"_s;
    QTest::newRow("Enter on a group") << u"Alfa_N"_s << u"Enter"_s;
    QTest::newRow("Enter with nothing selected") << QString() << u"Enter"_s;
    QTest::newRow("double click with nothing selected") << QString() << u"double click below the nodes"_s;
    QTest::newRow("space on a leaf") << u"Firma 2009"_s << u"space"_s;
    QTest::newRow("letter on a leaf") << u"Firma 2009"_s << u"letter"_s;
    QTest::newRow("Escape on a leaf") << u"Firma 2009"_s << u"Escape"_s;
    QTest::newRow("right arrow on a leaf") << u"Firma 2009"_s << u"right"_s;
    QTest::newRow("Ctrl+Enter") << u"Firma 2009"_s << u"Ctrl+Enter"_s;
    QTest::newRow("Ctrl+keypad Enter") << u"Firma 2009"_s << u"Ctrl+keypad Enter"_s;
    QTest::newRow("Alt+Enter") << u"Firma 2009"_s << u"Alt+Enter"_s;
    QTest::newRow("Enter once the leaf's group is collapsed")
        << u"Firma 2009"_s << u"click the group's arrow, then Enter"_s;
    QTest::newRow("double click once the leaf's group is collapsed")
        << u"Alfa"_s << u"click the group's arrow, then double click below the nodes"_s;
}

void TestLaunching::startsNothing()
{
    QFETCH(QString, key);
    QFETCH(QString, how);

    start();
    TreeView* tree = m_form->treeView();
    tree->clearSelection();
    if (!key.isEmpty()) {
        tree->select(leaf(key));
        if (QTreeWidgetItem* group = leaf(key)->parent())
            group->setExpanded(true);
    }

    act(how, key.isEmpty() ? nullptr : leaf(key));

    QCOMPARE(runsAfterPause(), QStringList());
    QCOMPARE(storedPath(), u"<none>"_s);
    QVERIFY(m_messages.messages.isEmpty());
}

void TestLaunching::keysThatDifferOnlyInLetterCase()
{
    // "FIRMA" and "Firma" are two groups; looking an entry up by key ignores letter case, so either leaf
    // starts the entry that stands first.
    makeInstallationWithLauncher(u"xa_velika"_s, u"FIRMA"_s);
    start();
    QCOMPARE(m_form->catalogue().Names.mid(0, 2), (QStringList {u"Firma"_s, u"FIRMA"_s}));

    for (const QString& key : {u"FIRMA"_s, u"Firma"_s}) {
        m_form->treeView()->select(leaf(key));
        QTest::keyClick(m_form->treeView(), Qt::Key_Return);
        QVERIFY(!waitForRun(u"xa_firma"_s).isEmpty());
        QVERIFY(QFile::remove(m_dir->path() + u"/xa_firma.ran"_s));
        QCOMPARE(storedPath(), m_dir->path() + u"/xa_firma/StarterCS.exe"_s);
    }
    QCOMPARE(runsAfterPause(), QStringList());
}

void TestLaunching::launcherThatCannotStart_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text");

    QTest::newRow("missing") << u"missing"_s << u"53: File not found: "_s;
    if (!testsupport::posixFiles()) {
        // 75 with the system's words, whose place for the program (%1) the path fills.
        QTest::newRow("not a program") << u"not a program"_s << QString();
        return;
    }
    QTest::newRow("not executable") << u"not executable"_s << u"70: Permission denied: "_s;
    QTest::newRow("a folder") << u"folder"_s << u"75: Path/File access error: "_s;
    QTest::newRow("interpreter missing") << u"bad interpreter"_s << u"75: No such file or directory: "_s;
}

void TestLaunching::launcherThatCannotStart()
{
    QFETCH(QString, fault);
    QFETCH(QString, text);

    const QString launcher = m_dir->path() + u"/xa_firma09/StarterCS.exe"_s;
    QVERIFY(QFile::remove(launcher));
    if (fault == u"not executable")
        writeFile(launcher, "#!/bin/sh\n");
    else if (fault == u"folder")
        QVERIFY(QDir().mkpath(launcher));
    else if (fault == u"not a program")
        writeFile(launcher, "half a copy");
    else if (fault == u"bad interpreter") {
        writeFile(launcher, "#!/nonexistent/interpreter\n");
        QVERIFY(QFile::setPermissions(launcher, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const QString earlier = m_dir->path() + u"/xa_alfa/StarterCS.exe"_s;
    platform::saveSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, earlier);

    start();
    m_form->treeView()->select(leaf(u"Firma 2009"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);

    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages[0].title, u"MarunIzbor"_s);
    const QString shown = m_messages.messages[0].text;
    if (text.isEmpty()) {
        QVERIFY2(shown.startsWith(u"75: "_s) && shown.endsWith(u": "_s + QDir::toNativeSeparators(launcher)),
                 qPrintable(shown));
        QVERIFY2(!shown.contains(u'%'), qPrintable(shown));
    } else {
        QCOMPARE(shown, text + QDir::toNativeSeparators(launcher));
    }
    QVERIFY(m_form->isVisible());
    QCOMPARE(platform::TreeView::key(m_form->treeView()->selectedItem()), u"Firma 2009"_s);
    QCOMPARE(storedPath(), earlier);

    // The window goes on working.
    m_form->treeView()->select(leaf(u"Firma"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QVERIFY(!waitForRun(u"xa_firma"_s).isEmpty());
    QCOMPARE(storedPath(), m_dir->path() + u"/xa_firma/StarterCS.exe"_s);
}

void TestLaunching::settingThatCannotBeWritten()
{
    const QString settingsFile = testsupport::settingsFile();
    if (settingsFile.isEmpty())
        QSKIP("The setting is kept in no file here.");
    start();
    const QString folder = QFileInfo(settingsFile).path();
    QVERIFY(QDir(folder).removeRecursively());
    writeFile(folder, "not a folder");

    m_form->treeView()->select(leaf(u"Firma 2010"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QVERIFY(!waitForRun(u"xa_firma10"_s).isEmpty());
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages[0].text, u"70: Permission denied: "_s + settingsFile);
    QVERIFY(m_form->isVisible());
    QVERIFY(QFile::remove(folder));
}

void TestLaunching::nextStartRestoresTheLaunch()
{
    start();
    m_form->treeView()->select(leaf(u"Firma 2009"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QVERIFY(!waitForRun(u"xa_firma09"_s).isEmpty());

    // A second window, started while the first is still open, opens on it.
    RecordingMessageBox messages;
    const auto second = Module1::Main(messages);
    QCOMPARE(platform::TreeView::key(second->treeView()->selectedItem()), u"Firma 2009"_s);
    QVERIFY(second->treeView()->node(u"Firma_N"_s)->isExpanded());
    QVERIFY(!second->treeView()->node(u"Alfa_N"_s)->isExpanded());
}

void TestLaunching::launcherInOtherLetterCase()
{
    const QString folder = m_dir->path() + u"/xa_firma09/"_s;
    QVERIFY(QFile::rename(folder + u"StarterCS.exe"_s, folder + u"startercs.exe"_s));
    start();
    m_form->treeView()->select(leaf(u"Firma 2009"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QVERIFY(!waitForRun(u"xa_firma09"_s).isEmpty());
    QCOMPARE(storedPath(), folder + u"StarterCS.exe"_s);
    QVERIFY(m_messages.messages.isEmpty());
}

// A start directory and an installation folder named in Windows-1250, as copied from the suite's shares:
// listed, launched, stored and restored by their bytes, and shown readably.
void TestLaunching::pathsThatAreNoText()
{
    const QByteArray start = QFile::encodeName(m_dir->path()) + "/\x8Aibenik";
    const QByteArray folder = start + "/xa_\x8Aibenik \xE8";
    if (!testsupport::makeFolder(start))
        QSKIP("File names here are text, not bytes.");
    QVERIFY(testsupport::makeFolder(folder));
    writeFile(m_dir->path() + u"/descriptor"_s, "OpisBaze=Šibenik\r\n");
    QCOMPARE(std::rename(QFile::encodeName(m_dir->path() + u"/descriptor"_s).constData(),
                         (folder + "/StarterCS.txt").constData()),
             0);
    writeFile(m_dir->path() + u"/launcher"_s,
              "#!/bin/sh\necho \"$#\" > \"" + QFile::encodeName(m_dir->path()) + "/sibenik.ran\"\n");
    QVERIFY(QFile::setPermissions(m_dir->path() + u"/launcher"_s, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QCOMPARE(std::rename(QFile::encodeName(m_dir->path() + u"/launcher"_s).constData(),
                         (folder + "/StarterCS.exe").constData()),
             0);
    QVERIFY(testsupport::enterFolder(start));

    this->start();
    QTreeWidgetItem* node = leaf(u"Šibenik"_s);
    QCOMPARE(node->toolTip(0), m_dir->path() + u"/Šibenik/xa_Šibenik č/StarterCS.exe"_s);
    m_form->treeView()->select(node);
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QCOMPARE(waitForRun(u"sibenik"_s), u"0"_s);
    QVERIFY(m_messages.messages.isEmpty());

    m_form.reset();
    this->start();
    QCOMPARE(platform::TreeView::key(m_form->treeView()->selectedItem()), u"Šibenik"_s);
}

QTEST_MAIN(TestLaunching)
#include "TestLaunching.moc"
