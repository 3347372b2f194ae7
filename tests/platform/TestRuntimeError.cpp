#include "platform/RuntimeError.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRuntimeError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void descriptions_data();
    void descriptions();
    void whatItSays();
};

// The suite's own texts for its error numbers, as its messages show them; none for numbers it does not
// give.
void TestRuntimeError::descriptions_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("5") << 5 << u"Invalid procedure call or argument"_s;
    QTest::newRow("6") << 6 << u"Overflow"_s;
    QTest::newRow("9") << 9 << u"Subscript out of range"_s;
    QTest::newRow("53") << 53 << u"File not found"_s;
    QTest::newRow("70") << 70 << u"Permission denied"_s;
    QTest::newRow("75") << 75 << u"Path/File access error"_s;
    QTest::newRow("76") << 76 << u"Path not found"_s;
    QTest::newRow("35601") << 35601 << u"Element not found"_s;
    QTest::newRow("35602") << 35602 << u"Key is not unique in collection"_s;
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("7") << 7 << QString();
    QTest::newRow("52") << 52 << QString();
    QTest::newRow("35603") << 35603 << QString();
}

void TestRuntimeError::descriptions()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QCOMPARE(platform::Error::description(number), description);
    const platform::RuntimeError error(number);
    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), description);
    QCOMPARE(error.subject(), QString());
}

void TestRuntimeError::whatItSays()
{
    QCOMPARE(QByteArray(platform::RuntimeError(53).what()), "53: File not found");
    QCOMPARE(QByteArray(platform::RuntimeError(53, u"/srv/xa_šibenik/Starter.txt"_s).what()),
             "53: File not found (/srv/xa_\xC5\xA1ibenik/Starter.txt)");
    const platform::RuntimeError own(75, u"Input/output error"_s, u"/srv/QRM.exe"_s);
    QCOMPARE(QByteArray(own.what()), "75: Input/output error (/srv/QRM.exe)");
    QCOMPARE(own.description(), u"Input/output error"_s);
    // The subject is shown as the system writes paths: with backslashes on Windows.
    QCOMPARE(own.subject(), QDir::toNativeSeparators(u"/srv/QRM.exe"_s));
}

QTEST_GUILESS_MAIN(TestRuntimeError)
#include "TestRuntimeError.moc"
