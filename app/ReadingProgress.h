#pragma once

#include <QElapsedTimer>

#include <chrono>
#include <functional>
#include <memory>

class QProgressDialog;

namespace catalogue {
struct ScanProgress;
}

// Start-up's reading from the file server, which may be slow or stop answering: each read runs on a worker
// thread while this thread waits in its event loop. One clock runs from the start of the first read: where
// reading has not ended ShowAfter after that, a small window titled "MarunIzbor" says that the
// installations are being read from the server, how many of how many once the listing is in, with a
// progress bar and "Odustani". Once shown it stays up, through later reads, until finish(). Odustani, Esc
// or closing it ends the process at once with CancelledStatus, however stuck the reads are; nothing is
// written.
class ReadingProgress
{
public:
    static constexpr int CancelledStatus = 2;
    static constexpr std::chrono::milliseconds ShowAfter {1000};

    ReadingProgress();
    ~ReadingProgress();

    // Runs read on a worker thread and raises again what it raised. This thread's event loop runs
    // meanwhile, so read may touch only what its caller made for it alone and takes over afterwards (a
    // catalogue and a directory list of its own, a copy of the start directory, progress), never the
    // window's members: a handler could see them half written.
    void wait(const std::function<void()>& read, const catalogue::ScanProgress& progress);
    // Closes the progress window where it is up: the main window appears, or a message takes its place.
    void finish();

private:
    void showWindow(const catalogue::ScanProgress& progress);

    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_window;
};
