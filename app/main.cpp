#include "Module1.h"

#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Workstation.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    const std::unique_ptr<QApplication> application = platform::makeApplication(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("marunizbor"));
    platform::QtMessageBox messages;
    return Module1::run(messages, platform::systemAddresses());
}
