#include "launch/SupportTool.h"

#include "../TestSupport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::errorNumber;

class TestSupportTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void supportDescriptorPath();
    void supportToolPath_data();
    void supportToolPath();
};

void TestSupportTool::supportDescriptorPath()
{
    QCOMPARE(launch::supportDescriptorPath(u"/srv/xa_firma/StarterCS.exe"_s), u"/srv/xa_firma/StarterCS.txt"_s);
    QCOMPARE(launch::supportDescriptorPath(u"/srv/xe_sibenik/Starter.exe"_s), u"/srv/xe_sibenik/Starter.txt"_s);
    QCOMPARE(launch::supportDescriptorPath(u"exe"_s), u"txt"_s);
    QCOMPARE(errorNumber([] { launch::supportDescriptorPath(QString()); }), 5);
    QCOMPARE(errorNumber([] { launch::supportDescriptorPath(u"ab"_s); }), 5);
}

void TestSupportTool::supportToolPath_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("tool"); // empty: error 5

    QTest::newRow("closing backslash") << QStringList {u"NewFiles=S:\\Apps\\Update\\"_s} << u"S:/Apps/QRM.exe"_s;
    QTest::newRow("no closing backslash") << QStringList {u"NewFiles=S:\\Apps\\Update"_s} << u"S:/Apps/QRM.exe"_s;
    QTest::newRow("slashes") << QStringList {u"NewFiles=/srv/marun/apps/update/"_s} << u"/srv/marun/apps/QRM.exe"_s;
    QTest::newRow("slashes without the closing one")
        << QStringList {u"NewFiles = /srv/marun/apps/update"_s} << u"/srv/marun/apps/QRM.exe"_s;
    QTest::newRow("mixed separators") << QStringList {u"NewFiles=/srv\\marun/update\\"_s} << u"/srv/marun/QRM.exe"_s;
    QTest::newRow("two closing backslashes: inside the folder")
        << QStringList {u"NewFiles=S:\\Apps\\Update\\\\"_s} << u"S:/Apps/Update/QRM.exe"_s;
    QTest::newRow("drive letter: its root") << QStringList {u"NewFiles=S:\\Apps"_s} << u"S:/QRM.exe"_s;
    QTest::newRow("only a leading backslash: the root") << QStringList {u"NewFiles=\\Apps"_s} << u"/QRM.exe"_s;
    QTest::newRow("a folder below the root") << QStringList {u"NewFiles=/Apps/"_s} << u"/QRM.exe"_s;
    QTest::newRow("no NewFiles line: the root") << QStringList {u"OpisBaze=Firma"_s} << u"/QRM.exe"_s;
    QTest::newRow("no lines") << QStringList() << u"/QRM.exe"_s;
    QTest::newRow("no separator") << QStringList {u"NewFiles=Update"_s} << QString();
    QTest::newRow("only a separator") << QStringList {u"NewFiles=\\"_s} << QString();
    QTest::newRow("last non-empty line decides")
        << QStringList {u"NewFiles=S:\\Stari\\Update\\"_s, u"NewFiles=/srv/novi/update/"_s, u"NewFiles="_s,
                        u"Verzija=10"_s}
        << u"/srv/novi/QRM.exe"_s;
    QTest::newRow("commented line ignored")
        << QStringList {u"NewFiles=/srv/novi/update/"_s, u"*NewFiles=/srv/stari/update/"_s} << u"/srv/novi/QRM.exe"_s;
    QTest::newRow("any value without a separator fails")
        << QStringList {u"NewFiles=Update"_s, u"NewFiles=/srv/novi/update/"_s} << QString();
    QTest::newRow("an earlier bad value is the error, not a later overlong line")
        << QStringList {u"NewFiles=Update"_s, u"NewFiles=/srv/"_s + QString(40000, u'x')} << QString();
    QTest::newRow("spaces kept inside") << QStringList {u"NewFiles=/srv/Marun Apps/Update/"_s}
                                        << u"/srv/Marun Apps/QRM.exe"_s;
}

// The support tool's path from a descriptor's lines, read as the support button reads them.
static QString toolPath(const QStringList& lines)
{
    catalogue::DescriptorReading reading = launch::supportToolReading();
    platform::TextLines text(reading.lines());
    text.add(lines.join(u"\r\n"_s).toUtf8());
    return launch::supportToolPath(reading, text.finish());
}

void TestSupportTool::supportToolPath()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, tool);
    if (tool.isEmpty())
        QCOMPARE(errorNumber([&] { toolPath(lines); }), 5);
    else
        QCOMPARE(toolPath(lines), tool);
}

QTEST_GUILESS_MAIN(TestSupportTool)
#include "TestSupportTool.moc"
