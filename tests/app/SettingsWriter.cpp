// Stores one value as the last-started setting, again and again, as a window launching would: a second
// program for the tests of two windows launching at the same moment.
//   settings_writer VALUE TIMES

#include "platform/RuntimeError.h"
#include "platform/Settings.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const QString value = QString::fromLocal8Bit(argv[1]);
    const int times = atoi(argv[2]);
    try {
        for (int i = 0; i < times; ++i)
            platform::saveSetting(QStringLiteral("Vrex\\MarunIzbor"), QStringLiteral("LastStarted"),
                                  QStringLiteral("Putanja"), value);
    } catch (const platform::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
