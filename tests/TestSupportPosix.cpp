#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

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

// Whatever a test left where the store belongs goes, also after a run that was stopped part-way (a file
// in place of the store's folder, a folder made read-only), so that no run depends on the one before it.
void clearSettings()
{
    const QFileInfo folder(QFileInfo(settingsFile()).path());
    if (folder.isDir() && !folder.isSymLink()) {
        QFile::setPermissions(folder.filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(folder.filePath()).removeRecursively();
    } else {
        QFile::remove(folder.filePath());
    }
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

struct Share::Mount
{
    QTemporaryDir folder;
    QProcess share;
};

namespace {

bool mounted(const QString& path)
{
    // Read from the kernel's table: a look at the folder itself would be a request to the share.
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = QFile::encodeName(path);
    for (const QByteArray& line : table.readAll().split('\n')) {
        if (line.split(' ').value(4) == wanted)
            return true;
    }
    return false;
}

} // namespace

Share::Share(const QString& source, const QStringList& options, int delayMs)
    : m_mount(std::make_unique<Mount>())
{
#ifdef MARUN_LATENCY_SHARE
    if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
        m_why = QStringLiteral("no /dev/fuse here");
        return;
    }
    const QString point = m_mount->folder.path() + QStringLiteral("/share");
    QDir().mkpath(point);
    m_mount->share.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_mount->share.start(
        QStringLiteral(MARUN_LATENCY_SHARE),
        QStringList {source, point, QString::number(delayMs), m_mount->folder.path() + QStringLiteral("/counts")}
            + options);
    QElapsedTimer waited;
    waited.start();
    while (!mounted(point) && waited.elapsed() < 5000) {
        if (m_mount->share.state() == QProcess::NotRunning || m_mount->share.waitForFinished(10)) {
            m_why = QStringLiteral("the share did not mount: ")
                + QString::fromLocal8Bit(m_mount->share.readAllStandardError());
            return;
        }
    }
    if (mounted(point))
        m_path = point;
    else
        m_why = QStringLiteral("the share did not mount within 5 s");
#else
    Q_UNUSED(source)
    Q_UNUSED(options)
    Q_UNUSED(delayMs)
    m_why = QStringLiteral("the latency share was not built (no libfuse3-dev)");
#endif
}

QMap<QString, long> Share::requests()
{
    m_mount->share.terminate(); // the share writes its counts as it ends
    m_mount->share.waitForFinished(5000);
    // "KIND N" in the counts; with --detail, "missing NAME N" for the look-ups of names that were not there.
    QMap<QString, long> requests;
    const QString counts = m_mount->folder.path() + QStringLiteral("/counts");
    for (const QString& name : {counts, counts + QStringLiteral("-detail")}) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 2)
                requests.insert(QString::fromLatin1(fields[0]), fields[1].toLong());
            else if (fields.size() == 3 && fields[0] == "missing")
                requests.insert(QStringLiteral("missing ") + QString::fromUtf8(fields[1]), fields[2].toLong());
        }
    }
    return requests;
}

Share::~Share()
{
    if (m_mount->share.state() == QProcess::NotRunning)
        return;
    m_mount->share.terminate(); // the share unmounts itself
    if (!m_mount->share.waitForFinished(5000)) {
        m_mount->share.kill();
        m_mount->share.waitForFinished(1000);
        QProcess::execute(QStringLiteral("umount"),
                          {QStringLiteral("-l"), m_mount->folder.path() + QStringLiteral("/share")});
    }
}

} // namespace testsupport
