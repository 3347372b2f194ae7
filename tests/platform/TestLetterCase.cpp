#include "platform/LetterCase.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLetterCase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachCharacterOnItsOwn_data();
    void eachCharacterOnItsOwn();
};

void TestLetterCase::eachCharacterOnItsOwn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");

    QTest::newRow("ASCII") << u"Firma 2009"_s << u"FIRMA 2009"_s << u"firma 2009"_s;
    QTest::newRow("Croatian") << u"Šibenik čćđž"_s << u"ŠIBENIK ČĆĐŽ"_s << u"šibenik čćđž"_s;
    QTest::newRow("signs and digits") << u"0_9-./\\ \t"_s << u"0_9-./\\ \t"_s << u"0_9-./\\ \t"_s;
    QTest::newRow("final sigma") << u"ςΣ"_s << u"ΣΣ"_s << u"ςσ"_s;
    QTest::newRow("title-case letter") << u"ǅ"_s << u"Ǆ"_s << u"ǆ"_s;
    // Only a full mapping changes these, and it would change the length.
    QTest::newRow("sharp s") << u"straße ẞ"_s << u"STRAßE ẞ"_s << u"straße ß"_s;
    QTest::newRow("ligature") << u"ﬁ"_s << u"ﬁ"_s << u"ﬁ"_s;
    QTest::newRow("dotted capital I") << u"İı"_s << u"İI"_s << u"İı"_s;
    // Letters outside the Basic Multilingual Plane, written as surrogate pairs.
    QTest::newRow("Deseret") << u"\U00010400\U00010428"_s << u"\U00010400\U00010400"_s << u"\U00010428\U00010428"_s;
    QTest::newRow("Adlam between ASCII") << u"a\U0001E900b\U0001E922"_s << u"A\U0001E900B\U0001E900"_s
                                         << u"a\U0001E922b\U0001E922"_s;
    // A surrogate without its partner is no character: it stays, and the letters beside it are mapped.
    QTest::newRow("lone high surrogate") << u"a"_s + QChar(0xD801) + u"b"_s << u"A"_s + QChar(0xD801) + u"B"_s
                                         << u"a"_s + QChar(0xD801) + u"b"_s;
    QTest::newRow("lone high surrogate at the end")
        << u"a"_s + QChar(0xD801) << u"A"_s + QChar(0xD801) << u"a"_s + QChar(0xD801);
    QTest::newRow("lone low surrogate") << QChar(0xDC28) + u"b"_s << QChar(0xDC28) + u"B"_s << QChar(0xDC28) + u"b"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestLetterCase::eachCharacterOnItsOwn()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QCOMPARE(platform::toUpper(text), upper);
    QCOMPARE(platform::toLower(text), lower);
}

QTEST_GUILESS_MAIN(TestLetterCase)
#include "TestLetterCase.moc"
