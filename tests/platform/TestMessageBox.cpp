#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The message box the program shows, as the user sees it: the critical stop with its title, its text, the
// cause below it for whoever supports the user, and an OK button.
class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void critical_data();
    void critical();
};

void TestMessageBox::critical_data()
{
    QTest::addColumn<QString>("detail");
    QTest::newRow("with a cause") << u"75: Input/output error: S:\\Apps\\QRM.exe"_s;
    QTest::newRow("without") << QString();
}

void TestMessageBox::critical()
{
    QFETCH(QString, detail);
    QString title;
    QString text;
    QString informative;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        title = box->windowTitle();
        text = box->text();
        informative = box->informativeText();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            buttons.append(box->standardButton(button));
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);
    platform::QtMessageBox messages;
    messages.critical(nullptr, u"Greška"_s, u"Na serveru nedostaje datoteka QRM.exe"_s, detail);
    QCOMPARE(title, u"Greška"_s);
    QCOMPARE(text, u"Na serveru nedostaje datoteka QRM.exe"_s);
    QCOMPARE(informative, detail);
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QList<QMessageBox::StandardButton> {QMessageBox::Ok});
}

QTEST_MAIN(TestMessageBox)
#include "TestMessageBox.moc"
