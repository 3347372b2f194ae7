#include "ReadingProgress.h"

#include "catalogue/Scan.h"
#include "platform/Process.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <exception>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace ReadingProgress {

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

void wait(const std::function<void()>& read, const catalogue::ScanProgress& progress)
{
    QEventLoop loop;
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            read();
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    std::unique_ptr<QProgressDialog> window;
    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] { showProgress(*window, progress); });
    QTimer::singleShot(ShowAfter, &loop, [&] {
        window = std::make_unique<QProgressDialog>();
        window->setObjectName(u"ReadingProgress"_s);
        window->setWindowTitle(u"MarunIzbor"_s);
        window->setCancelButtonText(u"Odustani"_s);
        window->setAutoClose(false);
        window->setAutoReset(false);
        window->setMinimumWidth(360);
        // The reads may be stuck in the file system for a minute or more: the way out waits for none.
        const auto cancel = [] { platform::endProcessNow(CancelledStatus); };
        QObject::connect(window.get(), &QProgressDialog::canceled, cancel);
        QObject::connect(window.get(), &QDialog::rejected, cancel);
        showProgress(*window, progress);
        window->show();
        ticker.start();
    });

    loop.exec();
    worker.join();
    if (error)
        std::rethrow_exception(error);
}

} // namespace ReadingProgress
