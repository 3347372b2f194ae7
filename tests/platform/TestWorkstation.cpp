#include "platform/Workstation.h"

#include <QTest>

#include <algorithm>

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

void TestWorkstation::names()
{
    // Windows has no stand-ins; TestPlatformWindows covers it.
    const platform::NameStandIns standIns = platform::nameStandIns();
    if (!standIns.computerName)
        QSKIP("No stand-ins on this system");
    QVERIFY(!standIns.computerName().isEmpty());
    QVERIFY(!standIns.userName().isEmpty());
    QVERIFY(standIns.domainIsComputerName);
}

QTEST_GUILESS_MAIN(TestWorkstation)
#include "TestWorkstation.moc"
