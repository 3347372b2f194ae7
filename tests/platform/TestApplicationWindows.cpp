#include "platform/Application.h"
#include "platform/Process.h"

#include "../TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

using namespace Qt::StringLiterals;

// Loading that the share cannot steer: after the program's start-up hardening a library that lies only in
// the current directory or beside the program (both the installations' folder on the share) is not loaded
// by bare name, while a program MarunIzbor starts still searches as Windows ordinarily does.
class TestApplicationWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bareNameLoadSkipsTheCurrentDirectory();
    void bareNameLoadSkipsTheProgramsFolder();
};

void TestApplicationWindows::bareNameLoadSkipsTheProgramsFolder()
{
    const QString planted = QCoreApplication::applicationDirPath() + u"/probe.dll"_s;
    QFile::remove(planted);
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/probe/probe.dll"_s, planted));
    platform::restrictLibrarySearch();
    const HMODULE loaded = LoadLibraryW(L"probe.dll");
    if (loaded)
        FreeLibrary(loaded);
    QFile::remove(planted);
    QCOMPARE(loaded, HMODULE(nullptr));
}

void TestApplicationWindows::bareNameLoadSkipsTheCurrentDirectory()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/probe/probe.dll"_s, dir.path() + u"/probe.dll"_s));
    testsupport::makeRecordingProgram(dir.path() + u"/xa_firma/StarterCS.exe"_s);
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));

    platform::restrictLibrarySearch();
    QCOMPARE(LoadLibraryW(L"probe.dll"), HMODULE(nullptr));

    platform::startProgram(dir.path() + u"/xa_firma/StarterCS.exe"_s);
    QFile record(dir.path() + u"/xa_firma.ran"_s);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > 0, 20000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll().trimmed()), u"0 "_s + dir.path() + u" probe"_s);
    record.close();
    QVERIFY(QDir::setCurrent(before));
}

QTEST_MAIN(TestApplicationWindows)
#include "TestApplicationWindows.moc"
