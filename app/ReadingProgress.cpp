#include "ReadingProgress.h"

#include "catalogue/Scan.h"
#include "platform/Process.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

void showProgress(QProgressDialog& window, const catalogue::ScanProgress& progress)
{
    const qsizetype folders = progress.folders;
    if (folders < 0) {
        window.setLabelText(u"Čitam popis instalacija s poslužitelja…"_s);
        window.setRange(0, 0); // no count yet: the bar only shows that work goes on
        return;
    }
    const qsizetype read = progress.read;
    window.setLabelText(u"Čitam instalacije s poslužitelja: %1 od %2"_s.arg(read).arg(folders));
    window.setRange(0, int(qMax<qsizetype>(folders, 1)));
    window.setValue(int(read));
}

} // namespace

ReadingProgress::ReadingProgress() = default;

ReadingProgress::~ReadingProgress() = default;

void ReadingProgress::wait(const std::function<void()>& read, const catalogue::ScanProgress& progress)
{
    if (!m_clock.isValid())
        m_clock.start();

    QEventLoop loop;
    std::exception_ptr error;
    // Joined however this function is left, also where the loop below unwinds with an exception.
    std::jthread worker([&] {
        try {
            read();
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] { showProgress(*m_window, progress); });
    QTimer showing;
    showing.setSingleShot(true);
    showing.setTimerType(Qt::PreciseTimer); // a coarse timer may fire a twentieth early
    QObject::connect(&showing, &QTimer::timeout, &loop, [&] {
        showWindow(progress);
        ticker.start();
    });
    if (m_window) {
        showProgress(*m_window, progress);
        ticker.start();
    } else {
        showing.start(std::max(std::chrono::milliseconds(0), ShowAfter - std::chrono::milliseconds(m_clock.elapsed())));
    }

    loop.exec();
    worker.join();
    if (error)
        std::rethrow_exception(error);
}

void ReadingProgress::finish()
{
    m_window.reset();
}

void ReadingProgress::showWindow(const catalogue::ScanProgress& progress)
{
    m_window = std::make_unique<QProgressDialog>();
    m_window->setWindowTitle(u"MarunIzbor"_s);
    m_window->setCancelButtonText(u"Odustani"_s);
    m_window->setAutoClose(false);
    m_window->setAutoReset(false);
    m_window->setMinimumWidth(360);
    // The reads may be stuck in the file system for a minute or more: the way out waits for none.
    const auto cancel = [] { platform::endProcessNow(CancelledStatus); };
    QObject::connect(m_window.get(), &QProgressDialog::canceled, cancel);
    QObject::connect(m_window.get(), &QDialog::rejected, cancel);
    showProgress(*m_window, progress);
    m_window->show();
}
