#include "platform/TextDecoding.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTextDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeText_data();
    void decodeText();
    void textLines_data();
    void textLines();
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

void TestTextDecoding::textLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece"); // the size of the pieces the bytes come in
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("utf8"); // the encoding of the whole, else Windows-1250

    QTest::newRow("empty") << QByteArray() << 1 << QStringList() << true;
    QTest::newRow("no terminator") << QByteArray("a") << 1 << QStringList {u"a"_s} << true;
    QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << 4096 << QStringList {u"a"_s, u"b"_s} << true;
    QTest::newRow("CRLF between two pieces") << QByteArray("a\r\nb\r\n") << 2 << QStringList {u"a"_s, u"b"_s} << true;
    QTest::newRow("CR") << QByteArray("a\rb\r") << 4096 << QStringList {u"a"_s, u"b"_s} << true;
    QTest::newRow("LF") << QByteArray("a\nb") << 4096 << QStringList {u"a"_s, u"b"_s} << true;
    QTest::newRow("LF CR is two terminators")
        << QByteArray("a\n\rb") << 1 << QStringList {u"a"_s, QString(), u"b"_s} << true;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << 4096 << QStringList {QString(), QString()} << true;
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << 4096 << QStringList {u"a"_s, u"b"_s, u"c"_s, u"d"_s}
                           << true;
    QTest::newRow("spaces at the ends dropped, tabs kept")
        << QByteArray("  a\t b \r\n") << 4096 << QStringList {u"a\t b"_s} << true;
    QTest::newRow("a line of spaces") << QByteArray("   ") << 4096 << QStringList {QString()} << true;
    QTest::newRow("UTF-8 sequence between two pieces") << QByteArray("\xC5\xA0") << 1 << QStringList {u"Š"_s} << true;
    QTest::newRow("no UTF-8 in a later piece")
        << QByteArray("\xC5\xA0\n\x8A") << 2 << QStringList {u"Ĺ\u00A0"_s, u"Š"_s} << false;
    QTest::newRow("cut off at the end") << QByteArray("a\n\xE2\x82") << 1 << QStringList {u"a"_s, u"â‚"_s} << false;
    QTest::newRow("byte order mark alone") << QByteArray("\xEF\xBB\xBF") << 1 << QStringList() << true;
    QTest::newRow("two bytes of a byte order mark") << QByteArray("\xEF\xBB") << 1 << QStringList {u"ď»"_s} << false;
    QTest::newRow("byte order mark and spaces in no UTF-8: all of the first line")
        << QByteArray("\xEF\xBB\xBF  a\n\x8A") << 4096 << QStringList {u"ď»ż  a"_s, u"Š"_s} << false;
    QTest::newRow("U+FEFF starting a later line") << QByteArray("a\n\xEF\xBB\xBF"
                                                                "b")
                                                  << 4096 << QStringList {u"a"_s, u"\uFEFFb"_s} << true;
    const QByteArray longLine(3 * 65536, 'x');
    QTest::newRow("a long line is cut") << longLine + "\ny" << 65536
                                        << QStringList {QString(platform::TextLines::LongLine, u'x'), u"y"_s} << true;
    const qsizetype kept = platform::TextLines::LongLine;
    // Cut off inside its spaces, it ends with no space, so that trimming leaves it as long.
    QTest::newRow("a line cut off inside its spaces")
        << "a" + QByteArray(200000, ' ') + "b" << 65536 << QStringList {u'a' + QString(kept - 2, u' ') + u'x'} << true;
    QTest::newRow("byte order mark and many spaces in no UTF-8: cut off too, with no space last")
        << QByteArray("\xEF\xBB\xBF") + QByteArray(200000, ' ') + "a\n\x8A" << 65536
        << QStringList {u"ď»ż"_s + QString(kept - 4, u' ') + u'x', u"Š"_s} << false;
    QTest::newRow("byte order mark and spaces alone in no UTF-8: no space kept")
        << QByteArray("\xEF\xBB\xBF") + QByteArray(kept, ' ') + "\n\x8A" << 65536 << QStringList {u"ď»ż"_s, u"Š"_s}
        << false;
    QTest::newRow("byte order mark, spaces and a letter in no UTF-8, just short enough to be kept whole")
        << QByteArray("\xEF\xBB\xBF") + QByteArray(kept - 4, ' ') + "a\n\x8A" << 65536
        << QStringList {u"ď»ż"_s + QString(kept - 4, u' ') + u'a', u"Š"_s} << false;
    QTest::newRow("byte order mark in no UTF-8, a line cut off inside its spaces")
        << QByteArray("\xEF\xBB\xBF"
                      "a")
            + QByteArray(98400, ' ') + "b\n\x8A"
        << 65536 << QStringList {u"ď»ża"_s + QString(kept - 5, u' ') + u'x', u"Š"_s} << false;
    QTest::newRow("just short enough to be kept whole")
        << QByteArray(platform::TextLines::LongLine, 'x') << 65536
        << QStringList {QString(platform::TextLines::LongLine, u'x')} << true;
}

// The lines of a text that comes in pieces, without keeping the text: as the whole text decoded and split.
void TestTextDecoding::textLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    QFETCH(QStringList, lines);
    QFETCH(bool, utf8);

    QStringList found[2];
    platform::TextLines text(
        [&](platform::TextEncoding encoding, QStringView line) { found[int(encoding)].append(line.toString()); });
    for (qsizetype done = 0; done < bytes.size(); done += piece)
        text.add(QByteArrayView(bytes).sliced(done, qMin<qsizetype>(piece, bytes.size() - done)));
    const platform::TextEncoding encoding = text.finish();
    QCOMPARE(encoding == platform::TextEncoding::Utf8, utf8);
    QCOMPARE(found[int(encoding)], lines);
}

QTEST_GUILESS_MAIN(TestTextDecoding)
#include "TestTextDecoding.moc"
