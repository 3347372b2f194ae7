#pragma once

// Helpers shared by the tests: real files in temporary folders and a message box that records.

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/TextDecoding.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QString>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

namespace testsupport {

// Writes bytes to path, creating the folders above it.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// An installation folder below root whose descriptor (StarterCS.txt unless told otherwise) names it.
inline void makeInstallation(const QString& root, const QString& folder, const QString& name,
                             const QString& descriptor = QStringLiteral("StarterCS.txt"))
{
    writeFile(root + u'/' + folder + u'/' + descriptor,
              "* descriptor\r\nServer=SRV01\r\nOpisBaze=" + name.toUtf8() + "\r\nNewFiles=S:\\Apps\\Update\\\r\n");
}

// The per-user store that holds the program's one setting: emptied, and whether it holds anything. Each
// platform has its own (TestSupportPosix.cpp, TestSupportWindows.cpp).
void clearSettings();
bool settingsStored();

// The file that holds the program's one setting; empty where the store is no file.
QString settingsFile();

// Makes a FIFO at path; false where the platform has none.
bool makeFifo(const QString& path);

// Puts a program at path that, when started, writes "<folder>.ran" in its current directory, where
// <folder> is the name of the folder it lies in, holding the number of its arguments, a space and its
// current directory: a shell script here, a small .exe on Windows.
void makeRecordingProgram(const QString& path);
// A folder, and entering one, by the bytes of its path; false where file names are text, not bytes.
bool makeFolder(const QByteArray& path);
bool enterFolder(const QByteArray& path);

// Whether files here are POSIX files: FIFOs, sockets, devices, symbolic links and permission bits, any
// character but "/" in a name, and programs that may be scripts. False on Windows.
bool posixFiles();
// Whether the tests run as root, whom no permission stops.
bool isRoot();
// Makes a Unix domain socket at path; false where the platform has none.
bool makeSocket(const QString& path);

// The latency share (tools/LatencyShare.cpp) serving source through FUSE, with its options for
// delays and faults (--only=, --fail-after=, --hold=): a file server that is slow or fails, for real. It is
// unmounted when the object goes. Where FUSE or the share is not available, path() is empty and why() says
// why.
class Share
{
public:
    Share(const QString& source, const QStringList& options, int delayMs = 0);
    ~Share();
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;

    QString path() const { return m_path; }
    QString why() const { return m_why; }
    // Unmounts the share and returns the requests that reached it, by kind ("lookup", "open", "opendir", ...),
    // and with --detail the look-ups of each name that was not there ("missing NAME").
    QMap<QString, long> requests();

private:
    QString m_path;
    QString m_why;
    struct Mount;
    std::unique_ptr<Mount> m_mount;
};

// The lines that a reader of text takes (platform::TextLines), in each encoding.
struct Lines
{
    QStringList lines[2];
    platform::TextLines::Line line()
    {
        return
            [this](platform::TextEncoding encoding, QStringView text) { lines[int(encoding)].append(text.toString()); };
    }
    QString text(platform::TextEncoding encoding) const { return lines[int(encoding)].join(u'\n'); }
};

// The lines of the file at path as platform::readTextFile() reads them, in its encoding, joined by "\n".
inline QString readText(const QString& path)
{
    Lines lines;
    return lines.text(platform::readTextFile(path, lines.line()));
}

// The same for platform::readTextFileIfPresent(): nullopt where it finds no file.
inline std::optional<QString> readTextIfPresent(const QString& path)
{
    Lines lines;
    platform::FolderListing listing;
    const std::optional<platform::TextEncoding> encoding = platform::readTextFileIfPresent(path, lines.line(), listing);
    return encoding ? std::optional(lines.text(*encoding)) : std::nullopt;
}

// The number of the run-time error that call raises, or 0 when it raises none.
inline int errorNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

struct RecordedMessage
{
    QString title;
    QString text;
    QString detail;
    bool windowVisible = false; // whether any window of the program was visible when it was shown
};

class RecordingMessageBox : public platform::MessageBox
{
public:
    void critical(QWidget*, const QString& title, const QString& text, const QString& detail) override
    {
        bool visible = false;
        for (const QWidget* widget : QApplication::topLevelWidgets())
            visible = visible || widget->isVisible();
        messages.append({title, text, detail, visible});
    }

    QList<RecordedMessage> messages;
};

} // namespace testsupport
