#include "platform/TextDecoding.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTextDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeText_data();
    void decodeText();
    void forEachLine_data();
    void forEachLine();
};

void TestTextDecoding::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("OpisBaze=Firma") << u"OpisBaze=Firma"_s;
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("UTF-8") << QByteArray("\xC5\xA0ibenik \xC4\x8D"
                                         "akovec")
                           << u"Šibenik čakovec"_s;
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBFOpisBaze=\xC5\xA0ibenik") << u"OpisBaze=Šibenik"_s;
    QTest::newRow("Windows-1250") << QByteArray("\x8Aibenik \xE8\x9A\x9E \xA3\xF3"
                                                "d\x9F")
                                  << u"Šibenik čšž Łódź"_s;
    QTest::newRow("Windows-1250 upper half")
        << QByteArray("\x80\x8A\x8C\x8D\x8E\x8F\xA5\xB9\xC8\xD0\xF0\xFF") << u"€ŠŚŤŽŹĄąČĐđ˙"_s;
    QTest::newRow("bytes undefined in Windows-1250") << QByteArray("a\x81"
                                                                   "b\x98")
                                                     << u"a\uFFFDb\uFFFD"_s;
    QTest::newRow("NUL bytes") << QByteArray("a\0b", 3) << QString(u"a\0b"_s);
    QTest::newRow("truncated UTF-8 sequence is Windows-1250") << QByteArray("\xC5") << u"Ĺ"_s;
}

void TestTextDecoding::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(platform::decodeText(bytes), text);
}

void TestTextDecoding::forEachLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("no terminator") << u"a"_s << QStringList {u"a"_s};
    QTest::newRow("CRLF") << u"a\r\nb\r\n"_s << QStringList {u"a"_s, u"b"_s};
    QTest::newRow("CR") << u"a\rb\r"_s << QStringList {u"a"_s, u"b"_s};
    QTest::newRow("LF") << u"a\nb"_s << QStringList {u"a"_s, u"b"_s};
    QTest::newRow("LF CR is two terminators") << u"a\n\rb"_s << QStringList {u"a"_s, QString(), u"b"_s};
    QTest::newRow("empty lines") << u"\r\n\r\n"_s << QStringList {QString(), QString()};
    QTest::newRow("mixed") << u"a\rb\nc\r\nd"_s << QStringList {u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("spaces and tabs kept") << u" a\t \r\n"_s << QStringList {u" a\t "_s};
}

void TestTextDecoding::forEachLine()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QStringList found;
    platform::forEachLine(text, [&found](QStringView line) { found.append(line.toString()); });
    QCOMPARE(found, lines);
}

QTEST_GUILESS_MAIN(TestTextDecoding)
#include "TestTextDecoding.moc"
