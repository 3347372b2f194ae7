#include "TestSupport.h"

#include <QFile>

#include <sys/stat.h>

namespace testsupport {

namespace {

QString settingsFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Vrex/MarunIzbor.conf");
}

} // namespace

void clearSettings()
{
    QFile::remove(settingsFile());
}

bool settingsStored()
{
    return QFile::exists(settingsFile());
}

// An empty path only asks whether FIFOs can be made.
bool makeFifo(const QString& path)
{
    return path.isEmpty() || mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

} // namespace testsupport
