#pragma once

#include "TextDecoding.h"

#include <QtGlobal>

#include <functional>

namespace platform {

// Reads a file to its end in pieces and gives its lines to line (see TextLines), for both systems' file
// reads. expectedSize is the file's size when it was opened: a file that fits a piece is read in one call,
// since a read that returns less than it asked for has reached the end of it. read(buffer, size) reads at
// most size bytes into buffer and returns how many, 0 at the end; it raises the request's error.
//
// What one read holds, its piece and the part of a line that is kept, decoded, is taken from one budget
// that every read in progress shares, whatever the thread, and a read waits until there is room: many
// large files read in parallel hold no more than a few of them would. A small file's share is a few KiB;
// a file that turns out larger than expectedSize takes the share of a large one before it goes on.
TextEncoding readInPieces(qint64 expectedSize, const std::function<qint64(char* buffer, qint64 size)>& read,
                          const TextLines::Line& line);

} // namespace platform
