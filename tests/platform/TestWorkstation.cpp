#include "platform/Workstation.h"

#include <QProcess>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestWorkstation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void interfaceAddresses();
    void names();
};

void TestWorkstation::interfaceAddresses()
{
    platform::InterfaceAddresses source;
    QList<platform::Ipv4Address> rows {{1, 2, 3, 4}};
    QCOMPARE(source.read(rows), 0);
    QVERIFY2(rows.contains(platform::Ipv4Address {127, 0, 0, 1}), "loopback is listed");
    QVERIFY(std::is_sorted(rows.begin(), rows.end()));
    QVERIFY(!rows.contains(platform::Ipv4Address {1, 2, 3, 4}));
}

// The stand-ins are the machine's own names, each in its place, as the system's commands report them.
void TestWorkstation::names()
{
    // Windows has no stand-ins; TestPlatformWindows covers it.
    const platform::NameStandIns standIns = platform::nameStandIns();
    if (!standIns.computerName)
        QSKIP("No stand-ins on this system");
    const auto reported = [](const QString& program, const QStringList& arguments) {
        QProcess command;
        command.start(program, arguments);
        return command.waitForFinished() ? QString::fromLocal8Bit(command.readAllStandardOutput()).trimmed()
                                         : QString();
    };
    QCOMPARE(standIns.computerName(), reported(u"uname"_s, {u"-n"_s}));
    QCOMPARE(standIns.userName(), reported(u"id"_s, {u"-un"_s}));
    QVERIFY(standIns.domainIsComputerName);
}

QTEST_GUILESS_MAIN(TestWorkstation)
#include "TestWorkstation.moc"
