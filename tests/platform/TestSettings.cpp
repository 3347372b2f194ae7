#include "platform/RuntimeError.h"
#include "platform/Settings.h"

#include "../TestSupport.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void missingValueGivesDefault();
    void savedValueIsReadBack();
    void storeIsTheConfigurationFile();
    void unreadableStore();
    void corruptStore();
    void unwritableStore();

private:
    QString m_file;
};

static const QString App = u"Vrex\\MarunIzbor"_s;

void TestSettings::initTestCase()
{
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY2(!home.isEmpty(), "the tests run with a configuration home of their own");
    m_file = home + u"/Vrex/MarunIzbor.conf"_s;
}

void TestSettings::init()
{
    QFile::remove(m_file);
}

void TestSettings::missingValueGivesDefault()
{
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/default"_s), u"/default"_s);
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString()), QString());
    QVERIFY(!QFile::exists(m_file));

    // The setting is the user's own: a value that all of the organisation's programs share stands in for
    // none.
    const QString shared = QFileInfo(m_file).path() + u".conf"_s;
    testsupport::writeFile(shared, "[LastStarted]\nPutanja=/srv/xa_drugi/StarterCS.exe\n");
    const QString read = platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/default"_s);
    QFile::remove(shared);
    QCOMPARE(read, u"/default"_s);
}

void TestSettings::savedValueIsReadBack()
{
    const QString path = u"/srv/Marun/xa_Šibenik \"2009\"; $(x)/StarterCS.exe"_s;
    platform::saveSetting(App, u"LastStarted"_s, u"Putanja"_s, path);
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/default"_s), path);

    platform::saveSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/other"_s);
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString()), u"/other"_s);
    // Another key of the same section is still missing.
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Drugo"_s, u"d"_s), u"d"_s);
}

void TestSettings::storeIsTheConfigurationFile()
{
    platform::saveSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/srv/xa_firma/StarterCS.exe"_s);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY2(content.contains("[LastStarted]\nPutanja=/srv/xa_firma/StarterCS.exe"), content.constData());

    // A value written by another program (or another window) is what the next read returns.
    file.close();
    testsupport::writeFile(m_file, "[LastStarted]\nPutanja=/srv/xa_alfa/StarterCS.exe\n");
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString()), u"/srv/xa_alfa/StarterCS.exe"_s);
}

void TestSettings::unreadableStore()
{
    if (geteuid() == 0)
        QSKIP("root reads every file");
    testsupport::writeFile(m_file, "[LastStarted]\nPutanja=/x\n");
    QFile::setPermissions(m_file, QFileDevice::WriteOwner);
    int number = 0;
    try {
        platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString());
    } catch (const platform::RuntimeError& error) {
        number = error.number();
        QCOMPARE(error.subject(), m_file);
    }
    QCOMPARE(number, 70);
}

void TestSettings::corruptStore()
{
    testsupport::writeFile(m_file, "[LastStarted\nPutanja=\x01\x02\n=====\n");
    QCOMPARE(testsupport::errorNumber([] { platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString()); }),
             75);
    // The next write replaces it.
    platform::saveSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/srv/xa_firma/StarterCS.exe"_s);
    QCOMPARE(platform::getSetting(App, u"LastStarted"_s, u"Putanja"_s, QString()), u"/srv/xa_firma/StarterCS.exe"_s);
}

void TestSettings::unwritableStore()
{
    // A file where the store's folder should be cannot be got round, not even by root.
    const QString folder = QFileInfo(m_file).path();
    QVERIFY(QDir(folder).removeRecursively());
    testsupport::writeFile(folder, "x");
    int number = 0;
    try {
        platform::saveSetting(App, u"LastStarted"_s, u"Putanja"_s, u"/x"_s);
    } catch (const platform::RuntimeError& error) {
        number = error.number();
        QCOMPARE(error.subject(), m_file);
    }
    QVERIFY(QFile::remove(folder));
    QCOMPARE(number, 70);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
