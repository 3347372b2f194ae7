#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "app/ReadingProgress.h"
#include "catalogue/Scan.h"
#include "platform/Settings.h"
#include "platform/TreeView.h"
#include "platform/Workstation.h"

#include "../TestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;
using platform::TreeView;
using testsupport::makeInstallation;
using testsupport::RecordingMessageBox;

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void windowShowsTheCompleteTree();
    void restoresTheLastSelection_data();
    void restoresTheLastSelection();
    void selectedLeafIsScrolledIntoView();
    void buildErrorIsReportedBeforeTheWindowShows_data();
    void buildErrorIsReportedBeforeTheWindowShows();
    void unhandledErrorEndsStartUp_data();
    void unhandledErrorEndsStartUp();
    void quickStartShowsNoProgress();
    void progressWindowOnOneClock();
    void progressWindowCounts_data();
    void progressWindowCounts();
    void wayOutWhileReadsHang_data();
    void wayOutWhileReadsHang();

private:
    static QStringList groups(const TreeView* tree);
    void makeWorkedExample();
    void makeInstallations(const QStringList& installations); // "folder=name"

    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStartup::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
    QVERIFY(!qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"));
}

void TestStartup::init()
{
    testsupport::clearSettings();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestStartup::cleanup()
{
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    m_dir.reset();
}

QStringList TestStartup::groups(const TreeView* tree)
{
    QStringList result;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        result.append(tree->topLevelItem(g)->text(0));
    return result;
}

void TestStartup::makeWorkedExample()
{
    makeInstallations({u"xa_alfa=Alfa"_s, u"xa_alfa_t=Alfa test"_s, u"xa_firma=Firma"_s, u"xa_firma09=Firma 2009"_s,
                       u"xa_firma10=Firma 2010"_s});
}

void TestStartup::makeInstallations(const QStringList& installations)
{
    for (const QString& installation : installations)
        makeInstallation(m_dir->path(), installation.section(u'=', 0, 0), installation.section(u'=', 1));
}

void TestStartup::windowShowsTheCompleteTree()
{
    makeWorkedExample();
    RecordingMessageBox messages;
    const auto form = Module1::Main(messages);

    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), u"Izbor aplikacije"_s);
    // The scan read the directory that was current at start: the launch paths lie in it.
    QCOMPARE(form->catalogue().launchPath(0), m_dir->path() + u"/xa_firma/StarterCS.exe"_s);
    QCOMPARE(QFileInfo(form->Dir1.list(0)).path(), m_dir->path());
    QCOMPARE(form->catalogue().Names,
             (QStringList {u"Firma"_s, u"Alfa"_s, u"Firma 2010"_s, u"Firma 2009"_s, u"Alfa test"_s}));
    QCOMPARE(groups(form->treeView()), (QStringList {u"Firma"_s, u"Alfa"_s}));
    QCOMPARE(form->treeView()->topLevelItem(0)->childCount(), 3);
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(!testsupport::settingsStored()); // reading the setting writes nothing
}

void TestStartup::restoresTheLastSelection_data()
{
    QTest::addColumn<QStringList>("installations"); // "folder=name"
    QTest::addColumn<QString>("stored"); // launch path relative to the start directory, or empty for none
    QTest::addColumn<QString>("selected");

    const QStringList example {u"xa_alfa=Alfa"_s, u"xa_alfa_t=Alfa test"_s, u"xa_firma=Firma"_s,
                               u"xa_firma09=Firma 2009"_s, u"xa_firma10=Firma 2010"_s};
    QTest::newRow("first start selects the second entry") << example << QString() << u"Alfa"_s;
    QTest::newRow("stored member") << example << u"xa_firma09/StarterCS.exe"_s << u"Firma 2009"_s;
    QTest::newRow("stored path in other letter case") << example << u"XA_FIRMA09/startercs.EXE"_s << u"Firma 2009"_s;
    QTest::newRow("stored path of a removed installation") << example << u"xa_firma08/StarterCS.exe"_s << QString();
    QTest::newRow("one entry, first start") << QStringList {u"xa_firma=Firma"_s} << QString() << QString();
    QTest::newRow("one entry, stored") << QStringList {u"xa_firma=Firma"_s} << u"xa_firma/StarterCS.exe"_s
                                       << u"Firma"_s;
    QTest::newRow("empty directory") << QStringList() << QString() << QString();
    QTest::newRow("empty directory, stored") << QStringList() << u"xa_firma/StarterCS.exe"_s << QString();
}

void TestStartup::restoresTheLastSelection()
{
    QFETCH(QStringList, installations);
    QFETCH(QString, stored);
    QFETCH(QString, selected);

    makeInstallations(installations);
    if (!stored.isEmpty())
        platform::saveSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, m_dir->path() + u'/' + stored);

    RecordingMessageBox messages;
    const auto form = Module1::Main(messages);
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(form->isVisible());

    const TreeView* tree = form->treeView();
    if (selected.isEmpty()) {
        QCOMPARE(tree->selectedItem(), nullptr);
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            QVERIFY(!tree->topLevelItem(g)->isExpanded());
        return;
    }
    QCOMPARE(TreeView::key(tree->selectedItem()), selected);
    QVERIFY(tree->selectedItem()->parent()->isExpanded());
    QCOMPARE(tree->currentItem(), tree->selectedItem());
}

void TestStartup::selectedLeafIsScrolledIntoView()
{
    QStringList installations;
    for (int i = 0; i < 60; ++i)
        installations.append(u"xa_%1=Klijent %1"_s.arg(i, 2, 10, QChar(u'0')));
    installations.append(u"xa_00a=Klijent 00 test"_s);
    makeInstallations(installations);
    // Groups stand in descending order, so Klijent 00 is the last.
    platform::saveSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s,
                          m_dir->path() + u"/xa_00a/StarterCS.exe"_s);

    RecordingMessageBox messages;
    const auto form = Module1::Main(messages);
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const TreeView* tree = form->treeView();
    QCOMPARE(TreeView::key(tree->selectedItem()), u"Klijent 00 test"_s);
    QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualItemRect(tree->selectedItem())));
}

void TestStartup::buildErrorIsReportedBeforeTheWindowShows_data()
{
    QTest::addColumn<QStringList>("installations"); // "folder=name"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("groups"); // what the tree holds afterwards
    QTest::addColumn<bool>("slow"); // read slowly enough for the progress window to show

    const QStringList twoWithOneName {u"xa_b=Beta"_s, u"xa_a=Alfa"_s, u"xa_c=Alfa"_s};
    QTest::newRow("two installations with one name")
        << twoWithOneName << u"35602: Key is not unique in collection"_s << QStringList {u"Beta"_s, u"Alfa"_s} << false;
    // The message takes the progress window's place.
    QTest::newRow("two installations with one name, read slowly")
        << twoWithOneName << u"35602: Key is not unique in collection"_s << QStringList {u"Beta"_s, u"Alfa"_s} << true;
    QTest::newRow("names three deep") << QStringList {u"xa_3=A"_s, u"xa_2=AB"_s, u"xa_1=ABC"_s}
                                      << u"35601: Element not found"_s << QStringList {u"A"_s} << false;
    QTest::newRow("overflowing name line") << QStringList {u"xa_b=Beta"_s, u"xa_a="_s + QString(40000, u'x')}
                                           << u"6: Overflow"_s << QStringList() << false;
}

void TestStartup::buildErrorIsReportedBeforeTheWindowShows()
{
    QFETCH(QStringList, installations);
    QFETCH(QString, text);
    QFETCH(QStringList, groups);
    QFETCH(bool, slow);

    makeInstallations(installations);
    // On a share whose reads take 1.1 s.
    std::unique_ptr<testsupport::Share> share;
    if (slow) {
        share = std::make_unique<testsupport::Share>(m_dir->path(), QStringList {u"--only=read"_s}, 1100);
        if (share->path().isEmpty())
            QSKIP(qPrintable(share->why()));
        QVERIFY(QDir::setCurrent(share->path()));
    }

    RecordingMessageBox messages;
    const auto form = Module1::Main(messages, platform::systemAddresses());
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].title, u"MarunIzbor"_s);
    QCOMPARE(messages.messages[0].text, text);
    QVERIFY(!messages.messages[0].windowVisible);
    QVERIFY(form->isVisible());
    QCOMPARE(TestStartup::groups(form->treeView()), groups);
    QCOMPARE(form->treeView()->selectedItem(), nullptr);
}

void TestStartup::unhandledErrorEndsStartUp_data()
{
    QTest::addColumn<bool>("onShare"); // else the start directory is removed
    QTest::addColumn<QString>("text");
    QTest::newRow("start directory removed") << false << u"Run-time error '76':\n\nPath not found"_s;
    // A server that does not answer was reported as a folder that had been deleted.
    QTest::newRow("start directory's server failing")
        << true << u"Run-time error '75':\n\n"_s + QString::fromLocal8Bit(std::strerror(EIO));
}

void TestStartup::unhandledErrorEndsStartUp()
{
    QFETCH(bool, onShare);
    QFETCH(QString, text);

    // The directory the program was started in has gone, or its server fails, before it could look at it.
    std::unique_ptr<testsupport::Share> share;
    if (onShare) {
        share =
            std::make_unique<testsupport::Share>(m_dir->path(), QStringList {u"--only=getattr"_s, u"--fail-after=0"_s});
        if (share->path().isEmpty())
            QSKIP(qPrintable(share->why()));
        QVERIFY(QDir::setCurrent(share->path()));
    } else {
        const QString gone = m_dir->path() + u"/gone"_s;
        QVERIFY(QDir().mkpath(gone));
        QVERIFY(QDir::setCurrent(gone));
        if (!QDir().rmdir(gone))
            QSKIP("This platform keeps a folder that is in use.");
    }

    RecordingMessageBox messages;
    QCOMPARE(Module1::run(messages, platform::systemAddresses()), 1);
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].title, u"MarunIzbor"_s);
    QCOMPARE(messages.messages[0].text, text);
    QVERIFY(!messages.messages[0].windowVisible);
    for (const QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!widget->isVisible());
}

void TestStartup::quickStartShowsNoProgress()
{
    makeWorkedExample();
    RecordingMessageBox messages;
    bool progressShown = false;
    QTimer watch; // in the event loop that start-up waits in
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (const QWidget* widget : QApplication::topLevelWidgets())
            progressShown = progressShown || qobject_cast<const QProgressDialog*>(widget);
    });
    watch.start(1);
    const auto form = Module1::Main(messages);
    QVERIFY(form->isVisible());
    QVERIFY(!progressShown);
    for (const QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<const QProgressDialog*>(widget));
}

// Start-up waited twice, each wait on a clock of its own: a look at the start directory of 0.7 s and a scan
// of 0.7 s showed no progress window at all, and a longer look showed it, closed it and showed it again.
void TestStartup::progressWindowOnOneClock()
{
    makeInstallations({u"xa_firma=Firma"_s, u"xa_alfa=Alfa"_s});
    // The look at the start directory asks the share for the folder's attributes, and the share takes
    // 0.7 s to answer; the descriptors, read in parallel on a share, take 0.7 s more.
    const testsupport::Share share(m_dir->path(), {u"--only=getattr,read"_s}, 700);
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));
    QVERIFY(QDir::setCurrent(share.path()));

    QElapsedTimer clock;
    qint64 shownAt = -1;
    int showings = 0;
    bool progressVisible = false;
    bool closedEarly = false;
    QTimer watch; // in the event loop that start-up waits in
    QObject::connect(&watch, &QTimer::timeout, [&] {
        bool visible = false;
        bool mainWindow = false;
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            visible = visible || (qobject_cast<const QProgressDialog*>(widget) && widget->isVisible());
            mainWindow = mainWindow || (qobject_cast<const IzborAplikacije*>(widget) && widget->isVisible());
        }
        if (visible && !progressVisible && ++showings == 1)
            shownAt = clock.elapsed();
        closedEarly = closedEarly || (progressVisible && !visible && !mainWindow);
        progressVisible = visible;
    });
    watch.start(5);
    RecordingMessageBox messages;
    clock.start();
    const auto form = Module1::Main(messages, platform::systemAddresses());
    const qint64 ended = clock.elapsed();
    QVERIFY(QDir::setCurrent(m_originalDirectory));

    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(form->catalogue().Names, (QStringList {u"Firma"_s, u"Alfa"_s}));
    QCOMPARE(showings, 1);
    QVERIFY2(shownAt >= 1000 && shownAt < 1300, qPrintable(QString::number(shownAt)));
    QVERIFY(!closedEarly);
    QVERIFY2(ended >= 1400, qPrintable(QString::number(ended)));
    for (const QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<const QProgressDialog*>(widget) || !widget->isVisible());
}

// What the progress window says: that the listing is read, then how many folders of how many.
void TestStartup::progressWindowCounts_data()
{
    QTest::addColumn<QList<qsizetype>>("steps"); // the folders listed, then the folders read, each 0.4 s apart
    QTest::addColumn<QStringList>("expected"); // each new state: the label, the bar's value and its maximum

    QTest::newRow("listing, then counting to the end")
        << QList<qsizetype> {101, 12, 101}
        << QStringList {u"Čitam popis instalacija s poslužitelja… (-1/0)"_s,
                        u"Čitam instalacije s poslužitelja: 0 od 101 (0/101)"_s,
                        u"Čitam instalacije s poslužitelja: 12 od 101 (12/101)"_s,
                        u"Čitam instalacije s poslužitelja: 101 od 101 (101/101)"_s};
    QTest::newRow("no folders") << QList<qsizetype> {0}
                                << QStringList {u"Čitam popis instalacija s poslužitelja… (-1/0)"_s,
                                                u"Čitam instalacije s poslužitelja: 0 od 0 (0/1)"_s};
}

void TestStartup::progressWindowCounts()
{
    QFETCH(QList<qsizetype>, steps);
    QFETCH(QStringList, expected);

    catalogue::ScanProgress progress;
    QStringList said; // each new state: the label, the bar's value and its maximum
    QSet<const QWidget*> windows;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            const auto* window = qobject_cast<const QProgressDialog*>(widget);
            if (!window || !window->isVisible())
                continue;
            windows.insert(window);
            QVERIFY(window->width() >= 360); // wide enough that the count does not make it jump
            const QString state = u"%1 (%2/%3)"_s.arg(window->labelText()).arg(window->value()).arg(window->maximum());
            if (said.value(said.size() - 1) != state)
                said.append(state);
            QCOMPARE(window->windowTitle(), u"MarunIzbor"_s);
            QCOMPARE(window->findChild<QPushButton*>()->text(), u"Odustani"_s);
        }
    });
    watch.start(10);
    ReadingProgress reading;
    reading.wait(
        [&] {
            QThread::msleep(1300);
            for (qsizetype k = 0; k < steps.size(); ++k) {
                (k == 0 ? progress.folders : progress.read) = steps[k];
                QThread::msleep(400);
            }
        },
        progress);
    QCOMPARE(said, expected);
    // It stays up, also once every folder is read, for the next read, which it counts from its start,
    // until start-up is done: one window all along.
    catalogue::ScanProgress next;
    next.folders = 5;
    reading.wait(
        [&] {
            QThread::msleep(300);
            next.read = 3;
            QThread::msleep(300);
        },
        next);
    QCOMPARE(said.mid(expected.size()),
             (QStringList {u"Čitam instalacije s poslužitelja: 0 od 5 (0/5)"_s,
                           u"Čitam instalacije s poslužitelja: 3 od 5 (3/5)"_s}));
    QCOMPARE(windows.size(), 1);
    reading.finish();
    for (const QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<const QProgressDialog*>(widget) || !widget->isVisible());
}

void TestStartup::wayOutWhileReadsHang_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Odustani") << u"button"_s;
    QTest::newRow("Esc") << u"escape"_s;
    QTest::newRow("closing the progress window") << u"close"_s;
}

// A file server that stops answering held every read for a minute or more, with no window and no way out.
void TestStartup::wayOutWhileReadsHang()
{
    QFETCH(QString, way);
    makeWorkedExample();
    const QString before = m_dir->path() + u"/xa_firma/StarterCS.exe"_s;
    platform::saveSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, before);

    // Every descriptor's opening is held by the share, as by a server that has stopped answering.
    const testsupport::Share share(m_dir->path(), {u"--only=open"_s, u"--fail-after=0"_s, u"--hold=600"_s});
    if (share.path().isEmpty())
        QSKIP(qPrintable(share.why()));
    QProcess program;
    program.setWorkingDirectory(share.path());
    program.start(QCoreApplication::applicationDirPath() + u"/stuck_start"_s, {way});
    QVERIFY(program.waitForStarted());
    QByteArray output;
    while (!output.contains("leaving\n") && program.waitForReadyRead(10000))
        output += program.readAllStandardOutput();
    QElapsedTimer leaving;
    leaving.start();
    // (already over, at times, by the time the output is read)
    QVERIFY2(program.state() == QProcess::NotRunning || program.waitForFinished(5000), output.constData());
    const qint64 shown = output.mid(output.indexOf("shown ") + 6).split('\n').value(0).toLongLong();
    QVERIFY2(shown >= 1000 && shown < 2500, output.constData());
    QVERIFY2(leaving.elapsed() < 1000, qPrintable(QString::number(leaving.elapsed())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 2);
    QCOMPARE(platform::getSetting(u"Vrex\\MarunIzbor"_s, u"LastStarted"_s, u"Putanja"_s, {}), before);
}

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
