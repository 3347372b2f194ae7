#include "catalogue/Catalogue.h"
#include "catalogue/Grouping.h"
#include "tools/ReferenceGrouping.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

class TestGrouping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupAndOrder_data();
    void groupAndOrder();
    void launchPathsMoveWithTheirNames();
    void sameResultAsTheStraightforwardVersion();
};

// Rows "name" for a group head, "name < parent" for a member.
static QStringList rows(const catalogue::Catalogue& catalogue)
{
    QStringList result;
    for (int i = 0; i < catalogue.Count(); ++i)
        result.append(catalogue.Parents[i].isEmpty() ? catalogue.Names[i]
                                                     : catalogue.Names[i] + u" < "_s + catalogue.Parents[i]);
    return result;
}

void TestGrouping::groupAndOrder_data()
{
    QTest::addColumn<QStringList>("scanned"); // names in the order the scan filed them
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("empty") << QStringList() << QStringList();
    QTest::newRow("one entry") << QStringList {u"Firma"_s} << QStringList {u"Firma"_s};
    QTest::newRow("worked example") << QStringList {u"Firma 2010"_s, u"Firma 2009"_s, u"Firma"_s, u"Alfa test"_s,
                                                    u"Alfa"_s}
                                    << QStringList {u"Firma"_s, u"Alfa"_s, u"Firma 2010 < Firma"_s,
                                                    u"Firma 2009 < Firma"_s, u"Alfa test < Alfa"_s};
    QTest::newRow("no prefix relation: descending")
        << QStringList {u"Beta"_s, u"Alfa"_s, u"Gama"_s} << QStringList {u"Gama"_s, u"Beta"_s, u"Alfa"_s};
    QTest::newRow("prefix test is case-sensitive")
        << QStringList {u"firma 2009"_s, u"Firma"_s} << QStringList {u"firma 2009"_s, u"Firma"_s};
    QTest::newRow("no word boundary needed")
        << QStringList {u"Firmament"_s, u"Firma"_s} << QStringList {u"Firma"_s, u"Firmament < Firma"_s};
    QTest::newRow("equal names are both heads")
        << QStringList {u"Firma"_s, u"Alfa"_s, u"Firma"_s} << QStringList {u"Firma"_s, u"Firma"_s, u"Alfa"_s};
    QTest::newRow("equal names that sort last")
        << QStringList {u"Alfa"_s, u"Alfa"_s, u"Beta"_s} << QStringList {u"Beta"_s, u"Alfa"_s, u"Alfa"_s};
    QTest::newRow("members of an equal pair get the later one")
        << QStringList {u"Firma 1"_s, u"Firma"_s, u"Firma"_s}
        << QStringList {u"Firma"_s, u"Firma"_s, u"Firma 1 < Firma"_s};
    QTest::newRow("name above z sorts before the heads")
        << QStringList {u"Šibenik 2009"_s, u"Šibenik"_s, u"Alfa"_s}
        << QStringList {u"Šibenik 2009 < Šibenik"_s, u"Šibenik"_s, u"Alfa"_s};
    QTest::newRow("heads descending, lower case above upper")
        << QStringList {u"{zagrada"_s, u"alfa"_s, u"Alfa"_s} << QStringList {u"{zagrada"_s, u"alfa"_s, u"Alfa"_s};
    QTest::newRow("member beginning zzzzzz and a letter")
        << QStringList {u"zzzzzzx"_s, u"zzzzzz"_s, u"Alfa"_s}
        << QStringList {u"zzzzzzx < zzzzzz"_s, u"zzzzzz"_s, u"Alfa"_s};
    QTest::newRow("three deep, shortest filed last")
        << QStringList {u"ABC"_s, u"AB"_s, u"A"_s} << QStringList {u"A"_s, u"ABC < A"_s, u"AB < A"_s};
    QTest::newRow("three deep, shortest filed first")
        << QStringList {u"A"_s, u"AB"_s, u"ABC"_s} << QStringList {u"A"_s, u"ABC < AB"_s, u"AB < A"_s};
    QTest::newRow("digits and spaces") << QStringList {u"Firma 2010"_s, u"Firma 10"_s, u"Firma 2"_s, u"Firma"_s}
                                       << QStringList {u"Firma"_s, u"Firma 2010 < Firma"_s, u"Firma 2 < Firma"_s,
                                                       u"Firma 10 < Firma"_s};
}

void TestGrouping::groupAndOrder()
{
    QFETCH(QStringList, scanned);
    QFETCH(QStringList, ordered);

    catalogue::Catalogue catalogue;
    for (qsizetype k = 0; k < scanned.size(); ++k)
        catalogue.file(scanned[k], u"/srv/%1/StarterCS.exe"_s.arg(k));
    catalogue::Catalogue reference = catalogue;
    catalogue::groupAndOrder(catalogue);
    QCOMPARE(rows(catalogue), ordered);
    // Equal names stand in the order the suite has always given them.
    reference::groupAndOrder(reference);
    QCOMPARE(catalogue.LaunchPaths, reference.LaunchPaths);
}

void TestGrouping::launchPathsMoveWithTheirNames()
{
    catalogue::Catalogue catalogue;
    const QStringList names {u"Firma 2010"_s, u"Firma 2009"_s, u"Firma"_s, u"Alfa test"_s, u"Alfa"_s};
    for (const QString& name : names)
        catalogue.file(name, u"/srv/"_s + name + u"/StarterCS.exe"_s);
    catalogue::groupAndOrder(catalogue);
    for (int i = 0; i < catalogue.Count(); ++i)
        QCOMPARE(catalogue.LaunchPaths[i], u"/srv/"_s + catalogue.Names[i] + u"/StarterCS.exe"_s);
    QCOMPARE(catalogue.launchPath(0), u"/srv/Firma/StarterCS.exe"_s);
    QCOMPARE(catalogue.launchPath(1), u"/srv/Alfa/StarterCS.exe"_s);
    QCOMPARE(catalogue.launchPath(5), QString());
}

void TestGrouping::sameResultAsTheStraightforwardVersion()
{
    // Short names from a few characters give many prefixes, equal names and names around the marker.
    const QStringList pieces {u"A"_s, u"B"_s, u"a"_s, u" "_s, u"Š"_s, u"z"_s, u"zzzzzz"_s, u"_"_s, u"{"_s};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 400; ++round) {
        catalogue::Catalogue fast;
        const int count = round < 390 ? int(random.bounded(40)) : 300 + int(random.bounded(200));
        for (int i = 0; i < count; ++i) {
            QString name;
            for (int length = 1 + int(random.bounded(4)); length > 0; --length)
                name += pieces[random.bounded(pieces.size())];
            fast.file(name, u"/srv/%1/StarterCS.exe"_s.arg(i));
        }
        catalogue::Catalogue reference = fast;
        catalogue::groupAndOrder(fast);
        reference::groupAndOrder(reference);
        QCOMPARE(fast.Names, reference.Names);
        QCOMPARE(fast.LaunchPaths, reference.LaunchPaths);
        QCOMPARE(fast.Parents, reference.Parents);
    }
}

QTEST_GUILESS_MAIN(TestGrouping)
#include "TestGrouping.moc"
