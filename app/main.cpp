#include "Module1.h"

#include "platform/MessageBox.h"
#include "platform/Workstation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("marunizbor"));
    platform::QtMessageBox messages;
    return Module1::run(messages, platform::systemAddresses());
}
