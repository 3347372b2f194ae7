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
    void readAsItComes_data();
    void readAsItComes();
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

// The name that the scan's reading keeps of a descriptor's bytes, given in pieces of the size piece.
static QString nameOf(QByteArrayView bytes, qsizetype piece = 4096)
{
    catalogue::DescriptorReading reading = catalogue::lastValue(catalogue::DisplayNameKey);
    platform::TextLines lines(reading.lines());
    for (qsizetype done = 0; done < bytes.size(); done += piece)
        lines.add(bytes.sliced(done, qMin(piece, bytes.size() - done)));
    return reading.kept(lines.finish());
}

void TestDescriptor::descriptorValue()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, value);
    QCOMPARE(nameOf(lines.join(u"\r\n"_s).toUtf8()), value);
}

void TestDescriptor::readAsItComes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece"); // the size of the pieces it is read in
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("error");

    const QByteArray many(200000, ' ');
    QTest::newRow("Windows-1250") << QByteArray("OpisBaze=\x8Aibenik\r\n") << 4096 << u"Šibenik"_s << 0;
    QTest::newRow("UTF-8") << QByteArray("OpisBaze=\xC5\xA0ibenik") << 4096 << u"Šibenik"_s << 0;
    // Its encoding is that of the whole: a Windows-1250 byte in a later line makes the name Windows-1250.
    QTest::newRow("UTF-8 name, a later line not UTF-8")
        << QByteArray("OpisBaze=\xC5\xA0ibenik\r\nServer=\x8A") << 4096 << u"Ĺ\u00A0ibenik"_s << 0;
    QTest::newRow("cut off at the end is no UTF-8")
        << QByteArray("OpisBaze=\xC5\xA0\r\n*\xC5") << 4096 << u"Ĺ\u00A0"_s << 0;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF  OpisBaze=Firma") << 4096 << u"Firma"_s << 0;
    QTest::newRow("byte order mark, read byte by byte")
        << QByteArray("\xEF\xBB\xBFOpisBaze=Firma\r\nOpisBaze=\xC5\xA0") << 1 << u"Š"_s << 0;
    QTest::newRow("byte order mark in no UTF-8: a first line that gives nothing")
        << QByteArray("\xEF\xBB\xBFOpisBaze=Firma\r\nOpisBaze=\x8A") << 4096 << u"Š"_s << 0;
    QTest::newRow("CR LF read byte by byte") << QByteArray("OpisBaze=A\r\nOpisBaze=B\r\n") << 1 << u"B"_s << 0;
    QTest::newRow("overflowing name line")
        << QByteArray("OpisBaze=") + QByteArray(40000, 'x') << 4096 << QString() << 6;
    QTest::newRow("overflowing name line, a name after it")
        << QByteArray("OpisBaze=") + QByteArray(300000, 'x') + "\nOpisBaze=Kraj" << 65536 << QString() << 6;
    QTest::newRow("long line that is no name line")
        << QByteArray(300000, 'x') + "\nOpisBaze=Kraj" << 65536 << u"Kraj"_s << 0;
    QTest::newRow("name after many spaces") << many + "OpisBaze=Kraj" << 65536 << u"Kraj"_s << 0;
    QTest::newRow("name before many spaces") << "OpisBaze=Kraj" + many + "\r\n" << 65536 << u"Kraj"_s << 0;
    QTest::newRow("name with many spaces inside") << "OpisBaze=Kraj" + many + "x" << 65536 << QString() << 6;
}

// A descriptor of any size is read in pieces, and what is kept of it is the name: the encoding is still
// that of the whole file, the last name still counts, and a name line too long still raises its error.
void TestDescriptor::readAsItComes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    QFETCH(QString, value);
    QFETCH(int, error);
    if (error != 0)
        QCOMPARE(errorNumber([&] { nameOf(bytes, piece); }), error);
    else
        QCOMPARE(nameOf(bytes, piece), value);
}

QTEST_GUILESS_MAIN(TestDescriptor)
#include "TestDescriptor.moc"
