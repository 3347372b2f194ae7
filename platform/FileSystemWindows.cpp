#include "FileSystem.h"

#include "HandleWindows.h"
#include "PieceReading.h"
#include "RuntimeError.h"
#include "SystemError.h"
#include "TextDecoding.h"

#include <QByteArray>
#include <QDir>

#include <string>

#include <windows.h>

namespace platform {

namespace {

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// The existence test's file: a normal file, neither a folder nor hidden nor a system file.
bool isPlainFile(DWORD attributes)
{
    return (attributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE))
        == 0;
}

HANDLE openForReading(const QString& path)
{
    return CreateFileW(native(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads file to its end (readInPieces()); expectedSize is its size when it was opened.
TextEncoding readToEnd(const Handle& file, qint64 expectedSize, const QString& path, const TextLines::Line& line)
{
    return readInPieces(
        expectedSize,
        [&](char* buffer, qint64 size) {
            DWORD got = 0;
            if (!ReadFile(file.get(), buffer, DWORD(size), &got, nullptr))
                throw requestError(GetLastError(), path, RequestTarget::File);
            return qint64(got);
        },
        line);
}

} // namespace

QString currentDirectory()
{
    std::wstring buffer(GetCurrentDirectoryW(0, nullptr), L'\0');
    const DWORD length = GetCurrentDirectoryW(DWORD(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size())
        throw requestError(GetLastError(), {}, RequestTarget::Folder);
    buffer.resize(length);
    return QDir::fromNativeSeparators(QString::fromStdWString(buffer));
}

QStringList listSubfolders(const QString& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE first = FindFirstFileExW(native(folder + QStringLiteral("/*")).c_str(), FindExInfoBasic, &entry,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (first == INVALID_HANDLE_VALUE) {
        // Where the listing finds nothing, the folder itself tells more: a drive's empty root folder has no
        // entries at all, and Wine's listing answers ERROR_PATH_NOT_FOUND for a server that does not exist,
        // where its look at the folder fails as Windows' does.
        const DWORD error = GetLastError();
        if (requestFailure(error) == RequestFailure::NothingThere && folderExists(folder)
            && error == ERROR_FILE_NOT_FOUND)
            return {};
        throw requestError(error, folder, RequestTarget::Folder);
    }
    const FindHandle find(first);
    QStringList names;
    do {
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (name == u"." || name == u"..")
            continue;
        // Hidden and system folders are not listed, as the directory list box leaves them out.
        const DWORD attributes = entry.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            names.append(name);
    } while (FindNextFileW(find.get(), &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) // a listing that breaks off part-way
        throw requestError(error, folder, RequestTarget::Folder);
    return folderPaths(folder, std::move(names));
}

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return isPlainFile(attributes);
    // A file server that could not be asked has not said that the file is not there.
    raiseUnlessAnswered(GetLastError(), path);
    return false;
}

bool isNetworkFileSystem(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(u"\\\\"))
        return true; // \\server\share
    if (native.size() < 2 || native[1] != u':')
        return false;
    const std::wstring root = native.left(2).toStdWString() + L'\\';
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

bool folderExists(const QString& path)
{
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY;
    const DWORD error = GetLastError();
    if (requestFailure(error) != RequestFailure::NothingThere)
        throw requestError(error, path, RequestTarget::Folder);
    return false;
}

TextEncoding readTextFile(const QString& path, const TextLines::Line& line)
{
    const HANDLE opened = openForReading(path);
    if (opened == INVALID_HANDLE_VALUE)
        throw requestError(GetLastError(), path, RequestTarget::File);
    const Handle file(opened);
    LARGE_INTEGER size {};
    GetFileSizeEx(file.get(), &size);
    return readToEnd(file, size.QuadPart, path, line);
}

std::optional<TextEncoding> readTextFileIfPresent(const QString& path, const TextLines::Line& line, FolderListing&)
{
    if (path.isEmpty())
        return std::nullopt;
    const HANDLE opened = openForReading(path);
    if (opened == INVALID_HANDLE_VALUE) {
        // A file that the existence test finds but that cannot be read is an error, and so is a request
        // that the file system could not answer. ERROR_FILE_NOT_FOUND says that the folder is there and the
        // file is not, so nothing more is asked; a path not found may be a server that does not exist,
        // which Wine's open reports so and only the look at the attributes tells.
        const DWORD error = GetLastError();
        raiseUnlessAnswered(error, path);
        if (error != ERROR_FILE_NOT_FOUND && fileExists(path))
            throw requestError(error, path, RequestTarget::File);
        return std::nullopt;
    }
    const Handle file(opened);
    // A file on a disk tells its attributes and size; a device that a name such as NUL opens does not, and
    // only then is its type asked, which on a file share is one more round trip (Wine asks the file system
    // for its type, statfs, each time).
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file.get(), &information)) {
        const DWORD error = GetLastError();
        if (GetFileType(file.get()) != FILE_TYPE_DISK)
            return std::nullopt;
        throw unansweredRequest(error, path);
    }
    if (!isPlainFile(information.dwFileAttributes))
        return std::nullopt;
    const qint64 size = (qint64(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    return readToEnd(file, size, path, line);
}

} // namespace platform
