#include "FileSystemPosix.h"
#include "FileSystem.h"

#include "FileDescriptorPosix.h"
#include "FileName.h"
#include "LetterCase.h"
#include "PieceReading.h"
#include "RuntimeError.h"
#include "SystemError.h"
#include "TextDecoding.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

// Whether the file name at the end of path is empty or begins with ".", which makes it hidden here.
bool isHiddenName(const QString& path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    return name.isEmpty() || name.startsWith(u'.');
}

int openForReading(const QByteArray& name)
{
    // O_NONBLOCK: should a FIFO stand where a file was expected, opening and reading it return at once
    // instead of waiting for a writer.
    return open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

// Lists the folder of path into listing, where that has not been done: Listed with the entries' names, or
// Refused where the folder is not there or may not be read. One that the file system could not list
// leaves it NotListed and returns the listing's code; 0 otherwise.
int listFolderOf(const QByteArray& path, FolderListing& listing)
{
    if (listing.state != FolderListing::NotListed)
        return 0;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.constData()));
    if (!dir) {
        if (!isFileSystemAnswer(unsigned(errno)))
            return errno;
        listing.state = FolderListing::Refused;
        return 0;
    }
    QList<QByteArray> names;
    errno = 0;
    while (const dirent* entry = readdir(dir.get())) {
        names.append(entry->d_name);
        errno = 0;
    }
    if (errno != 0) // a listing that breaks off: what the rest held is unknown
        return isFileSystemAnswer(unsigned(errno)) ? 0 : errno;
    listing = {FolderListing::Listed, std::move(names)};
    return 0;
}

// The path of the entry in listing whose name equals path's last part ignoring letter case (toLower() of
// both), the first of several in ordinal order; empty where there is none.
QByteArray otherCaseOfName(const QByteArray& path, const FolderListing& listing)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QString wanted = toLower(decodeFileName(QByteArrayView(path).sliced(slash + 1)));
    if (wanted.isEmpty())
        return {};
    QString best;
    QByteArray bestName;
    for (const QByteArray& entry : listing.names) {
        const QString name = decodeFileName(entry);
        if (toLower(name) == wanted && (bestName.isNull() || name < best)) {
            best = name;
            bestName = entry;
        }
    }
    return bestName.isNull() ? QByteArray() : path.left(slash + 1) + bestName;
}

// call(name), a system call that returns -1 and sets errno when it fails; where name names nothing,
// call() again on the entry in another letter case (otherCaseOfName()), with name set to that entry.
// Fails with ENOENT when there is no such entry either, and with the listing's error where the folder
// could not be listed for want of an answer. listing is the folder's, where it is known already (a
// name that it does not hold is not asked for), or to be filled.
template <typename Call>
int callIgnoringCase(QByteArray& name, Call call, FolderListing& listing)
{
    const bool known = listing.state == FolderListing::Listed;
    if (!known || listing.names.contains(QByteArrayView(name).sliced(name.lastIndexOf('/') + 1))) {
        const int result = call(name);
        if (result >= 0 || errno != ENOENT)
            return result;
    }
    if (const int listingError = listFolderOf(name, listing); listingError != 0) {
        errno = listingError;
        return -1;
    }
    QByteArray other = otherCaseOfName(name, listing);
    if (other.isEmpty() || other == name) {
        errno = ENOENT;
        return -1;
    }
    name = std::move(other);
    return call(name);
}

int openIgnoringCase(QByteArray& name, FolderListing& listing)
{
    return callIgnoringCase(name, openForReading, listing);
}

// Reads file to its end (readInPieces()); expectedSize is its size when it was opened.
TextEncoding readToEnd(const FileDescriptor& file, qint64 expectedSize, const QString& path,
                       const TextLines::Line& line)
{
    return readInPieces(
        expectedSize,
        [&](char* buffer, qint64 size) {
            for (;;) {
                const ssize_t got = ::read(file.get(), buffer, size_t(size));
                if (got >= 0)
                    return qint64(got);
                if (errno != EINTR)
                    throw requestError(unsigned(errno), path, RequestTarget::File);
            }
        },
        line);
}

} // namespace

int statIgnoringCase(QByteArray& name, struct stat& status)
{
    FolderListing listing;
    return callIgnoringCase(
        name, [&](const QByteArray& path) { return stat(path.constData(), &status); }, listing);
}

QString currentDirectory()
{
    std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    if (!path)
        throw requestError(unsigned(errno), {}, RequestTarget::Folder);
    return decodeFileName(path.get());
}

QStringList listSubfolders(const QString& folder)
{
    std::unique_ptr<DIR, DirCloser> dir(opendir(encodeFileName(folder).constData()));
    if (!dir)
        throw requestError(unsigned(errno), folder, RequestTarget::Folder);

    QStringList names;
    errno = 0;
    while (const dirent* entry = readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status;
            const bool found = fstatat(dirfd(dir.get()), name, &status, 0) == 0;
            if (!found) {
                const int error = errno; // before the path is made
                raiseUnlessAnswered(unsigned(error), folder + u'/' + decodeFileName(name));
            }
            isFolder = found && S_ISDIR(status.st_mode);
        }
        if (isFolder)
            names.append(decodeFileName(name));
        errno = 0;
    }
    if (errno != 0) // a listing that breaks off part-way
        throw requestError(unsigned(errno), folder, RequestTarget::Folder);

    return folderPaths(folder, std::move(names));
}

bool fileExists(const QString& path)
{
    if (isHiddenName(path))
        return false;
    struct stat status;
    QByteArray name = encodeFileName(path);
    if (statIgnoringCase(name, status) == 0)
        return S_ISREG(status.st_mode);
    // A file server that could not be asked has not said that the file is not there.
    raiseUnlessAnswered(unsigned(errno), path);
    return false;
}

TextEncoding readTextFile(const QString& path, const TextLines::Line& line)
{
    QByteArray name = encodeFileName(path);
    FolderListing listing;
    const FileDescriptor file(openIgnoringCase(name, listing));
    if (file.get() < 0)
        throw requestError(unsigned(errno), path, RequestTarget::File);
    struct stat status;
    if (fstat(file.get(), &status) != 0)
        throw unansweredRequest(unsigned(errno), path);
    return readToEnd(file, status.st_size, path, line);
}

std::optional<TextEncoding> readTextFileIfPresent(const QString& path, const TextLines::Line& line,
                                                  FolderListing& listing)
{
    if (isHiddenName(path))
        return std::nullopt;
    QByteArray name = encodeFileName(path);
    const FileDescriptor file(openIgnoringCase(name, listing));
    if (file.get() < 0) {
        // A file that exists but may not be read is an error, and so is a request that the file system
        // could not answer; anything else is no file here. Where nothing is there, in any letter case,
        // the open and the listing have said so already.
        const int error = errno;
        raiseUnlessAnswered(unsigned(error), path);
        if (requestFailure(unsigned(error)) == RequestFailure::NothingThere)
            return std::nullopt;
        struct stat status;
        if (stat(name.constData(), &status) != 0)
            raiseUnlessAnswered(unsigned(errno), path);
        else if (S_ISREG(status.st_mode))
            throw requestError(unsigned(error), path, RequestTarget::File);
        return std::nullopt;
    }
    struct stat status;
    if (fstat(file.get(), &status) != 0)
        throw unansweredRequest(unsigned(errno), path);
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    return readToEnd(file, status.st_size, path, line);
}

bool isNetworkFileSystemType(unsigned long type)
{
    // The file system types of statfs(2) (linux/magic.h and the file systems' own sources).
    constexpr unsigned long networkTypes[] = {
        0xFF534D42, // CIFS, SMB1 to 3
        0xFE534D42, // SMB2 and later
        0x517B, // SMB, the old client
        0x6969, // NFS
        0x65735546, // FUSE: sshfs, rclone, the bench's latency share and the like
        0x00C36400, // Ceph
        0x01021997, // 9P
        0x5346414F, // AFS
        0x73757245, // Coda
        0x564C, // NCP
        0x47504653, // GPFS
        0x0BD00BD0, // Lustre
    };
    return std::find(std::begin(networkTypes), std::end(networkTypes), type) != std::end(networkTypes);
}

bool isNetworkFileSystem(const QString& path)
{
    struct statfs status;
    return statfs(encodeFileName(path).constData(), &status) == 0
        && isNetworkFileSystemType(static_cast<unsigned long>(status.f_type));
}

bool folderExists(const QString& path)
{
    struct stat status;
    if (stat(encodeFileName(path).constData(), &status) == 0)
        return S_ISDIR(status.st_mode);
    const int error = errno;
    if (requestFailure(unsigned(error)) != RequestFailure::NothingThere)
        throw requestError(unsigned(error), path, RequestTarget::Folder);
    return false;
}

} // namespace platform
