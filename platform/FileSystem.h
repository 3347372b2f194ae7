#pragma once

#include "TextDecoding.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// Every function here that makes a request of the file system reports its failure by one rule
// (requestError() in SystemError.h): 53 for a file and 76 for a folder that is not there, 70 where the
// request was refused, and 75 with the platform's own text for anything else, above all a file server
// that could not be asked. A server that does not answer is never taken for a file that is not there.

// The full path of the process's current directory. Error 76 when it no longer exists.
QString currentDirectory();

// The direct subfolders of a folder, as full paths joined with "/", in ascending order of name
// ignoring letter case, ties broken ordinally. A symbolic link to a folder counts as a folder; a broken
// link does not; on Windows hidden and system folders are left out. Error 76 when the folder does not
// exist, 70 when it may not be read, 75 when its listing fails, also part-way.
QStringList listSubfolders(const QString& folder);

// Paths use "/" as separator on every platform, and are QStrings that carry a file name's bytes
// losslessly where names are bytes (see FileName.h). Where a path names nothing, the functions below take
// a name in the same folder that differs from it only in letter case, as the suite's own platform finds
// "STARTERCS.TXT" for "StarterCS.txt": the first of several in ordinal order, comparing platform::toLower()
// of both. The folder is listed for it only where the exact name names nothing (never on Windows, whose
// file systems ignore letter case themselves), so a path that names something costs nothing more. A folder
// that cannot be listed for want of an answer is error 75, not a name that is absent.

// True only for a plain file, after following links, that is not hidden: on POSIX its name does not begin
// with ".", on Windows it has neither the hidden nor the system attribute. Folders, FIFOs, sockets and
// devices count as absent, so testing them can never block.
bool fileExists(const QString& path);

// The most that one read of a text file asks for: a descriptor that fits is read in one call, a larger
// file in pieces of this size, of which one is kept at a time.
constexpr qsizetype ReadPiece = 128 * 1024;

// Reads a text file in pieces of bounded size and gives its lines to line as they pass (see TextLines),
// so that what is kept of a file of any size is what line keeps; returns the encoding of the whole. A
// file that fits a piece costs one read; what the reads in progress hold at once has one bound, whatever
// their number and size (PieceReading.h). Error 53 when it is missing, 70 when it may not be read, 75 for
// any other failure.
TextEncoding readTextFile(const QString& path, const TextLines::Line& line);

// What one listing of a folder told, kept for the names looked up in it after the first, so that the
// folder is listed once for all of them and no name is asked for whose answer the listing gave already.
// Where the file system ignores letter case itself (Windows), nothing is listed and it stays empty.
struct FolderListing
{
    enum State { NotListed, Refused, Listed };
    State state = NotListed;
    QList<QByteArray> names; // the entries' names, as the file system's bytes, where Listed
};

// The existence test and the read in one: the file at path read as readTextFile() reads it, where
// fileExists() would find it, nullopt where it would not. Where each request is a round trip to a file server this
// costs one open, one look at what was opened and, for a small file, one read. A file that the existence test finds but
// that cannot be read raises the errors of readTextFile(). listing is that of path's folder for every name looked up
// in it: a name that names nothing is looked for in another letter case in what it holds, and the first such name
// fills it.
std::optional<TextEncoding> readTextFileIfPresent(const QString& path, const TextLines::Line& line,
                                                  FolderListing& listing);

// Whether path lies on a network file system, where every request is a round trip to a server: SMB/CIFS,
// NFS, FUSE and the like; on Windows a UNC path or a drive that Windows reports as remote. False where it
// cannot tell.
bool isNetworkFileSystem(const QString& path);

// Whether path names a folder: false where nothing is there or it is something else. A refusal is error
// 70, any other failure 75.
bool folderExists(const QString& path);

// The full paths of the subfolders of folder that names lists, in the order listSubfolders() gives them.
QStringList folderPaths(const QString& folder, QStringList names);

} // namespace platform
