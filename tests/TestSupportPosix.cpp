#include "TestSupport.h"

#include <QFile>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

bool posixFiles()
{
    return true;
}

bool isRoot()
{
    return geteuid() == 0;
}

bool makeSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return bound;
}

} // namespace testsupport
