#include "catalogue/Descriptor.h"

#include "../TestSupport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::errorNumber;

class TestDescriptor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readStarterTxt_data();
    void readStarterTxt();
    void longLines();
    void descriptorValue_data();
    void descriptorValue();
};

void TestDescriptor::readStarterTxt_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QString name = u"OpisBaze"_s;
    QTest::newRow("plain") << u"OpisBaze=Firma"_s << name << u"Firma"_s;
    QTest::newRow("spaces around =") << u"opisbaze = Firma"_s << name << u"Firma"_s;
    QTest::newRow("spaces before =") << u"OPISBAZE   =Firma 2009"_s << name << u"Firma 2009"_s;
    QTest::newRow("empty value") << u"OpisBaze="_s << name << QString();
    QTest::newRow("only spaces after =") << u"OpisBaze=   "_s << name << QString();
    QTest::newRow("== keeps the second") << u"OpisBaze==X"_s << name << u"=X"_s;
    QTest::newRow("later = belongs to the value") << u"OpisBaze=A=B"_s << name << u"A=B"_s;
    QTest::newRow("key is a prefix") << u"OpisBazeNova=X"_s << name << u"X"_s;
    QTest::newRow("anything between key and =") << u"OpisBaze stara = X"_s << name << u"X"_s;
    QTest::newRow("other key") << u"Opis=X"_s << name << u"<default>"_s;
    QTest::newRow("shorter than the key") << u"Opis"_s << name << u"<default>"_s;
    QTest::newRow("empty line") << QString() << name << u"<default>"_s;
    QTest::newRow("key not at the start") << u"XOpisBaze=X"_s << name << u"<default>"_s;
    QTest::newRow("no = after the key") << u"OpisBaze Firma"_s << name << u"<default>"_s;
    QTest::newRow("bare key") << u"OpisBaze"_s << name << u"<default>"_s;
    QTest::newRow("= only inside the key's place") << u"Opis=aze"_s << name << u"<default>"_s;
    QTest::newRow("tab inside the value") << u"OpisBaze=Firma\t2009"_s << name << u"Firma2009"_s;
    QTest::newRow("tab then space at the start") << u"OpisBaze=\t Firma"_s << name << u" Firma"_s;
    QTest::newRow("space then tab at the end") << u"OpisBaze=Firma \t"_s << name << u"Firma "_s;
    QTest::newRow("inner spaces stay") << u"OpisBaze=Firma  d.o.o."_s << name << u"Firma  d.o.o."_s;
    QTest::newRow("value keeps its case") << u"OPISBAZE=Firma ABC"_s << name << u"Firma ABC"_s;
    QTest::newRow("non-ASCII value") << u"OpisBaze=Šibenik"_s << name << u"Šibenik"_s;
    QTest::newRow("non-ASCII letter in the key's place") << u"Opisbaže=X"_s << name << u"<default>"_s;
    QTest::newRow("letter that lower-cases to the key's") << u"\u212Aljuc=X"_s << u"Kljuc"_s << u"X"_s;
    QTest::newRow("key's letter that lower-cases to the line's") << u"kljuc=X"_s << u"\u212Aljuc"_s << u"X"_s;
    // Long s is only folded to s, never lower-cased to it: no key.
    QTest::newRow("letter that case folding alone makes the key's") << u"Opi\u017Fbaze=X"_s << name << u"<default>"_s;
    QTest::newRow("key's letter that case folding alone makes the line's")
        << u"opisbaze=X"_s << u"Opi\u017Fbaze"_s << u"<default>"_s;
    QTest::newRow("backslashes") << u"NewFiles=S:\\Apps\\Update\\"_s << u"NewFiles"_s << u"S:\\Apps\\Update\\"_s;
}

void TestDescriptor::readStarterTxt()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(catalogue::ReadStarterTxt(line, key, u"<default>"_s), value);
}

void TestDescriptor::longLines()
{
    const QString filler(40000, u'x');
    QCOMPARE(catalogue::ReadStarterTxt(filler, u"OpisBaze", QString()), QString());
    QCOMPARE(catalogue::ReadStarterTxt(u"Opis="_s + filler, u"OpisBaze", u"d"_s), u"d"_s);
    QCOMPARE(errorNumber([&] { catalogue::ReadStarterTxt(u"OpisBaze="_s + filler, u"OpisBaze", QString()); }), 6);

    // The suite's readers count positions in 16 bits: 32766 characters still fit, 32767 do not.
    const QString fits = u"OpisBaze="_s + QString(32766 - 9, u'y');
    QCOMPARE(catalogue::ReadStarterTxt(fits, u"OpisBaze", QString()), QString(32766 - 9, u'y'));
    QCOMPARE(errorNumber([&] { catalogue::ReadStarterTxt(fits + u'y', u"OpisBaze", QString()); }), 6);
}

void TestDescriptor::descriptorValue_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("value");

    QTest::newRow("no lines") << QStringList() << QString();
    QTest::newRow("among other settings")
        << QStringList {u"* Konfiguracija"_s, u"Server=SRV"_s, u""_s, u"OpisBaze=Firma"_s, u"Baza=F1"_s} << u"Firma"_s;
    QTest::newRow("last non-empty value wins")
        << QStringList {u"OpisBaze=Prva"_s, u"OpisBaze=Druga"_s, u"OpisBaze="_s, u"Drugo=x"_s} << u"Druga"_s;
    QTest::newRow("comment line never gives a value") << QStringList {u"*OpisBaze=Stara"_s} << QString();
    QTest::newRow("comment after leading spaces")
        << QStringList {u"OpisBaze=Nova"_s, u"   * OpisBaze=Stara"_s} << u"Nova"_s;
    QTest::newRow("leading spaces trimmed") << QStringList {u"   OpisBaze = Firma   "_s} << u"Firma"_s;
    QTest::newRow("leading tab is not trimmed") << QStringList {u"\tOpisBaze=Firma"_s} << QString();
    QTest::newRow("only empty values") << QStringList {u"OpisBaze="_s, u"OpisBaze =  "_s} << QString();
}

void TestDescriptor::descriptorValue()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, value);
    QCOMPARE(catalogue::descriptorValue(lines.join(u"\r\n"_s), catalogue::DisplayNameKey), value);
}

QTEST_GUILESS_MAIN(TestDescriptor)
#include "TestDescriptor.moc"
