#include "FileSystem.h"
#include "PieceReading.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace platform {

namespace {

// What all reads in progress may hold at once. At about 0.8 MiB for a file larger than a piece, nine of
// them are read in parallel; a descriptor of up to 3 KiB takes at most 32 KiB, so 256 of them never wait.
constexpr qint64 ReadingBudget = 8 * 1024 * 1024;

// The bytes that reading a file of size bytes in pieces of pieceSize holds at most: the piece; the room
// for the part of a line that is kept (TextLines::LongLine at most); that part decoded in both encodings
// as UTF-16, and the reader's own copy; the UTF-8 check's scratch, which decodes 16 KiB at a time.
constexpr qint64 readingCost(qint64 pieceSize, qint64 size)
{
    const qint64 line = qMin<qint64>(size, TextLines::LongLine);
    const qint64 room = size > TextLines::LongLineRoomFrom ? TextLines::LongLine : line;
    return pieceSize + room + 6 * line + 2 * qMin<qint64>(size, 16384);
}
// Any one read fits the budget, so that none waits for ever.
static_assert(readingCost(ReadPiece, TextLines::LongLine) <= ReadingBudget);

// The budget's account, shared by every thread.
class ReadingMemory
{
public:
    void take(qint64 bytes)
    {
        std::unique_lock lock(m_mutex);
        m_freed.wait(lock, [&] { return m_free >= bytes; });
        m_free -= bytes;
    }
    void giveBack(qint64 bytes)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_free += bytes;
        }
        m_freed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_freed;
    qint64 m_free = ReadingBudget;
};

ReadingMemory& readingMemory()
{
    static ReadingMemory memory;
    return memory;
}

// A read's share of the budget, from its start to its end, also where it fails.
class ReadingShare
{
public:
    explicit ReadingShare(qint64 bytes)
        : m_bytes(bytes)
    {
        readingMemory().take(m_bytes);
    }
    ~ReadingShare() { readingMemory().giveBack(m_bytes); }
    // A larger share, for a file that turns out larger than it was. What was held is given back first,
    // so that no read waits while it holds part of the budget.
    void grow(qint64 bytes)
    {
        if (bytes <= m_bytes)
            return;
        readingMemory().giveBack(m_bytes);
        m_bytes = 0;
        readingMemory().take(bytes);
        m_bytes = bytes;
    }
    ReadingShare(const ReadingShare&) = delete;
    ReadingShare& operator=(const ReadingShare&) = delete;

private:
    qint64 m_bytes;
};

} // namespace

TextEncoding readInPieces(qint64 expectedSize, const std::function<qint64(char* buffer, qint64 size)>& read,
                          const TextLines::Line& line)
{
    const qint64 pieceSize = std::clamp<qint64>(expectedSize + 1, 4096, ReadPiece);
    ReadingShare share(readingCost(pieceSize, expectedSize));
    QByteArray piece(pieceSize, Qt::Uninitialized);
    TextLines lines(line);
    qint64 size = 0;
    for (;;) {
        const qint64 got = read(piece.data(), pieceSize);
        if (got == 0)
            break;
        size += got;
        if (size > expectedSize) // it grew since it was opened, or the system told no size
            share.grow(readingCost(pieceSize, TextLines::LongLine + 1));
        lines.add(QByteArrayView(piece.constData(), got));
        if (got < pieceSize && expectedSize > 0 && size >= expectedSize)
            break;
    }
    return lines.finish();
}

QStringList folderPaths(const QString& folder, QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (QString& name : names)
        name.prepend(prefix);
    return names;
}

} // namespace platform
