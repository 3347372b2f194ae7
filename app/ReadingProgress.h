#pragma once

#include <chrono>
#include <functional>

namespace catalogue {
struct ScanProgress;
}

namespace ReadingProgress {

// The exit status of a start-up that the user cancelled while the installations were being read.
constexpr int CancelledStatus = 2;

// The progress window appears when reading has not ended this long after it began.
constexpr std::chrono::milliseconds ShowAfter {1000};

// Runs read (the scan) on a worker thread while this thread waits in its event loop, and raises again
// what read raised. Where read has not ended after ShowAfter, a small window titled "MarunIzbor" says that
// the installations are being read from the server, how many of how many once the listing is in, with a
// progress bar and "Odustani"; it closes before this returns. Odustani, Esc or closing it ends the process
// at once with CancelledStatus, however stuck the reads are; nothing is written.
void wait(const std::function<void()>& read, const catalogue::ScanProgress& progress);

} // namespace ReadingProgress
