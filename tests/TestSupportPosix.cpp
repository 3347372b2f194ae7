#include "TestSupport.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

QString settingsFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Vrex/MarunIzbor.conf");
}

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

void makeRecordingProgram(const QString& path)
{
    writeFile(path, "#!/bin/sh\necho \"$# $(pwd)\" > \"$(basename \"$(dirname \"$0\")\").ran\"\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

bool makeFolder(const QByteArray& path)
{
    return mkdir(path.constData(), 0700) == 0;
}

bool enterFolder(const QByteArray& path)
{
    return chdir(path.constData()) == 0;
}

bool programsAreScripts()
{
    return true;
}

} // namespace testsupport
