#include "identity/Identity.h"

#include <QTest>

using namespace Qt::StringLiterals;
using platform::Ipv4Address;

class TestIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatAddressList_data();
    void formatAddressList();
    void identityText_data();
    void identityText();
    void spellingsOfOneName();
};

static const QString Indent(23, u' ');

void TestIdentity::formatAddressList_data()
{
    QTest::addColumn<QList<Ipv4Address>>("rows");
    QTest::addColumn<QString>("list");

    const Ipv4Address loopback {127, 0, 0, 1};
    QTest::newRow("no rows") << QList<Ipv4Address>() << QString();
    QTest::newRow("only loopback") << QList<Ipv4Address> {loopback} << QString();
    QTest::newRow("one address") << QList<Ipv4Address> {{192, 168, 1, 10}} << u"192.168.1.10"_s;
    QTest::newRow("loopback between two") << QList<Ipv4Address> {{10, 0, 0, 5}, loopback, {192, 168, 1, 10}}
                                          << u"10.0.0.5\r\n"_s + Indent + u"192.168.1.10"_s;
    QTest::newRow("0, 127 and every 169 left out")
        << QList<Ipv4Address> {{0, 0, 0, 0}, {127, 8, 9, 10}, {169, 254, 10, 20}, {169, 1, 2, 3}} << QString();
    QTest::newRow("look-alikes pass") << QList<Ipv4Address> {{16, 9, 1, 1}, {1, 27, 0, 1}, {255, 255, 255, 255}}
                                      << u"16.9.1.1\r\n"_s + Indent + u"1.27.0.1\r\n"_s + Indent + u"255.255.255.255"_s;
    QTest::newRow("zero bytes are one digit") << QList<Ipv4Address> {{10, 0, 0, 5}} << u"10.0.0.5"_s;
    QTest::newRow("duplicates listed twice, in table order")
        << QList<Ipv4Address> {{10, 1, 1, 1}, {10, 1, 1, 1}} << u"10.1.1.1\r\n"_s + Indent + u"10.1.1.1"_s;

    QList<Ipv4Address> many;
    QStringList texts;
    for (int i = 1; i <= 30; ++i) {
        many.append({10, 0, 0, quint8(i)});
        texts.append(u"10.0.0.%1"_s.arg(i));
    }
    QTest::newRow("more than 21 rows, all listed") << many << texts.join(u"\r\n"_s + Indent);
}

void TestIdentity::formatAddressList()
{
    QFETCH(QList<Ipv4Address>, rows);
    QFETCH(QString, list);
    QCOMPARE(identity::formatAddressList(rows), list);
}

void TestIdentity::identityText_data()
{
    QTest::addColumn<QStringList>("variables"); // "NAME=value"
    QTest::addColumn<bool>("standIns"); // the host name "host-1" and the login name "marko"
    QTest::addColumn<QString>("addresses");
    QTest::addColumn<QString>("text");

    const QString twoAddresses = u"10.0.0.5\r\n"_s + Indent + u"192.168.1.10"_s;
    QTest::newRow("all set") << QStringList {u"computername=pc-07"_s, u"userdomain=firma"_s, u"username=ana"_s} << true
                             << twoAddresses
                             << u"IP address:     10.0.0.5\r\n"_s + Indent
            + u"192.168.1.10\r\nComputer:      PC-07\r\nUsername:      FIRMA \\ ANA"_s;
    QTest::newRow("names in any letter case")
        << QStringList {u"ComputerName=Pc-07"_s, u"USERDOMAIN=Firma"_s, u"UserName=aNa"_s} << true << QString()
        << u"IP address:     \r\nComputer:      PC-07\r\nUsername:      FIRMA \\ ANA"_s;
    QTest::newRow("none set: the host, the login and the host as domain")
        << QStringList {u"PATH=/usr/bin"_s} << true << u"10.0.0.5"_s
        << u"IP address:     10.0.0.5\r\nComputer:      HOST-1\r\nUsername:      HOST-1 \\ MARKO"_s;
    QTest::newRow("domain not set: the computer name from the environment")
        << QStringList {u"COMPUTERNAME=pc-07"_s, u"USERNAME=ana"_s} << true << QString()
        << u"IP address:     \r\nComputer:      PC-07\r\nUsername:      PC-07 \\ ANA"_s;
    QTest::newRow("domain set but empty")
        << QStringList {u"COMPUTERNAME=pc-07"_s, u"USERDOMAIN="_s, u"USERNAME=ana"_s} << true << QString()
        << u"IP address:     \r\nComputer:      PC-07\r\nUsername:       \\ ANA"_s;
    QTest::newRow("every letter upper-cased one to one, nothing trimmed")
        << QStringList {u"COMPUTERNAME= šibenik-01 "_s, u"USERDOMAIN=straße"_s, u"USERNAME=željko ﬁ"_s} << true
        << QString() << u"IP address:     \r\nComputer:       ŠIBENIK-01 \r\nUsername:      STRAßE \\ ŽELJKO ﬁ"_s;
    QTest::newRow("no stand-ins: unset variables give empty pieces")
        << QStringList {u"PATH=/usr/bin"_s} << false << u"10.0.0.5"_s
        << u"IP address:     10.0.0.5\r\nComputer:      \r\nUsername:       \\ "_s;
    QTest::newRow("no stand-ins: the domain does not take the computer name")
        << QStringList {u"COMPUTERNAME=pc-07"_s, u"USERNAME=ana"_s} << false << QString()
        << u"IP address:     \r\nComputer:      PC-07\r\nUsername:       \\ ANA"_s;
}

void TestIdentity::identityText()
{
    QFETCH(QStringList, variables);
    QFETCH(bool, standIns);
    QFETCH(QString, addresses);
    QFETCH(QString, text);

    QProcessEnvironment environment;
    for (const QString& variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    int asked = 0;
    const auto fallback = [&asked](const QString& value) {
        return [&asked, value] {
            ++asked;
            return value;
        };
    };
    const platform::NameStandIns platformNames = standIns
        ? platform::NameStandIns {fallback(u"host-1"_s), fallback(u"marko"_s), true}
        : platform::NameStandIns {};
    const identity::Workstation names = identity::workstation(environment, platformNames);
    QCOMPARE(identity::identityText(addresses, names), text);
    // The platform is asked only for the names the environment does not give.
    const int unset = int(!identity::variableIgnoringCase(environment, u"computername"_s))
        + int(!identity::variableIgnoringCase(environment, u"username"_s));
    QCOMPARE(asked, standIns ? unset : 0);
}

void TestIdentity::spellingsOfOneName()
{
    QProcessEnvironment environment;
    environment.insert(u"username"_s, u"lower"_s);
    environment.insert(u"USERNAME"_s, u"upper"_s);
    QCOMPARE(identity::variableIgnoringCase(environment, u"userName"_s), u"upper"_s);
    QCOMPARE(identity::variableIgnoringCase(environment, u"user"_s), std::nullopt);
}

QTEST_GUILESS_MAIN(TestIdentity)
#include "TestIdentity.moc"
