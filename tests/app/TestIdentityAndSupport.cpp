#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "platform/Workstation.h"

#include "../TestSupport.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::RecordingMessageBox;
using testsupport::writeFile;

namespace {

// An address table handed in by the test.
class FixedAddresses : public platform::AddressSource
{
public:
    int read(QList<platform::Ipv4Address>& rows) override
    {
        rows = table;
        return result;
    }

    QList<platform::Ipv4Address> table;
    int result = 0;
};

} // namespace

// The identity panel and the support button of a real window, with installations and a "server" in
// temporary folders.
class TestIdentityAndSupport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void identityPanel();
    void addressTableThatCannotBeRead();
    void supportToolStarts_data();
    void supportToolStarts();
    void supportToolMissing();
    void supportFailures_data();
    void supportFailures();

private:
    // An installation "Firma" whose descriptor has these lines after its name.
    void makeFirma(const QByteArray& newFilesLines);
    // The support tool in folder; once started it records its run in "<folder's name>.ran" here.
    void makeTool(const QString& folder, bool executable = true);
    void start();
    void clickSupport();

    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_server;
    FixedAddresses m_addresses;
    RecordingMessageBox m_messages;
    std::unique_ptr<IzborAplikacije> m_form;
};

void TestIdentityAndSupport::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
}

void TestIdentityAndSupport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = m_dir->path() + u"/server"_s;
    QVERIFY(QDir().mkpath(m_server + u"/Apps/Update"_s));
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_addresses = {};
    m_messages.messages.clear();
}

void TestIdentityAndSupport::cleanup()
{
    m_form.reset();
    QVERIFY(QDir::setCurrent(m_originalDirectory));
    m_dir.reset();
}

void TestIdentityAndSupport::makeFirma(const QByteArray& newFilesLines)
{
    writeFile(m_dir->path() + u"/xa_firma/StarterCS.txt"_s,
              "* Firma\r\nOpisBaze=Firma\r\n" + QByteArray(newFilesLines).replace("<server>", m_server.toUtf8()));
}

void TestIdentityAndSupport::makeTool(const QString& folder, bool executable)
{
    if (executable)
        testsupport::makeRecordingProgram(folder + u"/QRM.exe"_s);
    else
        writeFile(folder + u"/QRM.exe"_s, "#!/bin/sh\n");
}

void TestIdentityAndSupport::start()
{
    m_form = Module1::Main(m_messages, m_addresses);
    QVERIFY(m_form->isVisible());
}

void TestIdentityAndSupport::clickSupport()
{
    QTest::mouseClick(m_form->supportButton(), Qt::LeftButton);
}

void TestIdentityAndSupport::identityPanel()
{
    m_addresses.table = {{10, 0, 0, 5}, {127, 0, 0, 1}, {192, 168, 1, 10}};
    qputenv("COMPUTERNAME", "pc-07");
    qputenv("UserDomain", "firma");
    qputenv("username", "ana");
    start();
    qunsetenv("COMPUTERNAME");
    qunsetenv("UserDomain");
    qunsetenv("username");

    const QString text = u"IP address:     10.0.0.5\r\n"_s + QString(23, u' ')
        + u"192.168.1.10\r\nComputer:      PC-07\r\nUsername:      FIRMA \\ ANA"_s;
    QCOMPARE(m_form->compData()->text(), text);
    QVERIFY(m_form->compData()->font().bold());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(m_form->compData());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), text);
    QVERIFY(m_messages.messages.isEmpty());
}

void TestIdentityAndSupport::addressTableThatCannotBeRead()
{
    m_addresses.result = 12;
    makeFirma("NewFiles=<server>/Apps/Update/\r\n");
    start();

    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages[0].title, u"MarunIzbor"_s);
    QCOMPARE(m_messages.messages[0].text, u"-2147221504: GetIpAddrTable failed with return value 12"_s);
    QVERIFY(!m_messages.messages[0].windowVisible);
    // Start-up went on: the panel without addresses, and the catalogue.
    QVERIFY(m_form->compData()->text().startsWith(u"IP address:     \r\nComputer:      "_s));
    QCOMPARE(m_form->catalogue().Names, QStringList {u"Firma"_s});
}

void TestIdentityAndSupport::supportToolStarts_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("toolFolder"); // below the server

    QTest::newRow("slashes") << QByteArray("NewFiles=<server>/Apps/Update/\r\n") << u"/Apps"_s;
    QTest::newRow("backslashes") << QByteArray("NewFiles=<server>\\Apps\\Update\\\r\n") << u"/Apps"_s;
    QTest::newRow("two closing backslashes")
        << QByteArray("NewFiles=<server>\\Apps\\Update\\\\\r\n") << u"/Apps/Update"_s;
    QTest::newRow("several lines, one commented")
        << QByteArray("NewFiles=/nonexistent/Apps/Update\r\nNewFiles=<server>/Apps/Update\r\n"
                      "*NewFiles=/nonexistent/Apps/Update\r\nNewFiles=\r\n")
        << u"/Apps"_s;
}

void TestIdentityAndSupport::supportToolStarts()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, toolFolder);
    makeFirma(lines);
    makeTool(m_server + toolFolder);
    start();

    clickSupport();
    QFile record(m_dir->path() + u'/' + QFileInfo(toolFolder).fileName() + u".ran"_s);
    QTRY_VERIFY_WITH_TIMEOUT(record.exists() && record.size() > 0, 10000);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll()).trimmed(), u"0 "_s + m_dir->path()); // no arguments, here
    QVERIFY(m_messages.messages.isEmpty());
}

void TestIdentityAndSupport::supportToolMissing()
{
    makeFirma("NewFiles=<server>/Apps/Update/\r\n");
    start();
    clickSupport();
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages[0].title, u"Greška"_s);
    QCOMPARE(m_messages.messages[0].text, u"Na serveru nedostaje datoteka QRM.exe"_s);
    QCOMPARE(m_messages.messages[0].detail, QDir::toNativeSeparators(m_server + u"/Apps/QRM.exe"_s));

    // The descriptor is read again at every click.
    makeTool(m_server + u"/Apps"_s);
    clickSupport();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir->path() + u"/Apps.ran"_s), 10000);
    QCOMPARE(m_messages.messages.size(), 1);
}

void TestIdentityAndSupport::supportFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("detail");

    QTest::newRow("empty catalogue") << u"empty catalogue"_s << u"5: Invalid procedure call or argument"_s;
    QTest::newRow("value without a separator")
        << u"no separator"_s << u"5: Invalid procedure call or argument: Update"_s;
    QTest::newRow("descriptor removed since start-up") << u"descriptor removed"_s << u"53: File not found: "_s;
    if (testsupport::posixFiles())
        QTest::newRow("tool that may not run") << u"not executable"_s << u"70: Permission denied: "_s;
    else // a server that cannot be reached is not one that lacks the tool
        QTest::newRow("server that cannot be reached") << u"unreachable server"_s << u"75: "_s;
}

void TestIdentityAndSupport::supportFailures()
{
    QFETCH(QString, fault);
    QFETCH(QString, detail);

    if (fault == u"no separator")
        makeFirma("NewFiles=Update\r\n");
    else if (fault == u"unreachable server")
        makeFirma("NewFiles=\\\\no-such-server.invalid\\Apps\\Update\\\r\n");
    else if (fault != u"empty catalogue")
        makeFirma("NewFiles=<server>/Apps/Update/\r\n");
    if (fault == u"not executable")
        makeTool(m_server + u"/Apps"_s, false);
    start();
    if (fault == u"descriptor removed")
        QVERIFY(QFile::remove(m_dir->path() + u"/xa_firma/StarterCS.txt"_s));

    clickSupport();
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages[0].title, u"Marun izbor"_s);
    QCOMPARE(m_messages.messages[0].text, u"MarunIzbor ne može pronaći program za spajanje!"_s);
    QVERIFY2(m_messages.messages[0].detail.startsWith(detail), qPrintable(m_messages.messages[0].detail));
    QVERIFY(m_form->isVisible());
    QVERIFY(!QFile::exists(m_dir->path() + u"/Apps.ran"_s));
}

QTEST_MAIN(TestIdentityAndSupport)
#include "TestIdentityAndSupport.moc"
