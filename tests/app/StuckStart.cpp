// MarunIzbor started in the current folder, whose reads the test makes hang (a file server that has
// stopped answering), with a hand that takes the way out: a second program for the tests of the progress
// window and its way out.
//   stuck_start WAY_OUT
// Prints "shown MS" once the progress window is visible, MS milliseconds after the program began, then
// "leaving" and takes the way out: "button" presses Odustani, "escape" presses Esc, "close" closes the
// window. The real exit then ends it, or it ends with 3 when the way out does not.

#include "app/Module1.h"
#include "platform/Workstation.h"

#include "../TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    const QByteArray way = argv[1];

    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<QProgressDialog*>(widget);
            if (!window || !window->isVisible())
                continue;
            watch.stop();
            std::printf("shown %lld\nleaving\n", clock.elapsed());
            std::fflush(stdout);
            if (way == "button")
                QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
            else if (way == "escape")
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->close();
            QTimer::singleShot(2000, [] { std::exit(3); });
            return;
        }
    });
    watch.start();

    testsupport::RecordingMessageBox messages;
    return Module1::run(messages, platform::systemAddresses());
}
