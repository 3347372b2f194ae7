#pragma once

#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace catalogue {

// Runs work(0), work(1), ... work(count - 1) and hands their results back in that order, so that the
// caller sees exactly what doing them one after another would give, the first exception included.
//
// Where the items are known to be slow (inParallel: each waits for a file server), they are all started
// in parallel at once on up to maxWorkers threads, in order, and taken as they come in. Otherwise the
// first items decide how: they run one at a time on the calling thread as they are taken, and where two of
// them in a row take longer than slowItem each, all the rest are started in parallel. Otherwise (a local
// disk) every item runs on the calling thread. One slow item alone is no sign: a local disk has its pauses
// too.
//
// Leaving early, by an exception from take() or otherwise, drops the items that have not started and
// waits for the ones that have: no work outlives the object, and results after the last one taken,
// errors included, are never seen. work must be safe to call from several threads at once.
template <typename Result>
class InOrder
{
public:
    using Work = std::function<Result(qsizetype index)>;

    struct Options
    {
        int maxWorkers = 64;
        std::chrono::microseconds slowItem = std::chrono::milliseconds(1);
        qsizetype decidingItems = 4;
        bool inParallel = false;
    };

    InOrder(qsizetype count, Work work, Options options)
        : m_work(std::move(work))
        , m_options(options)
        , m_items(size_t(count))
    {
        m_pool.setMaxThreadCount(options.maxWorkers);
        if (options.inParallel)
            startInParallel(0);
    }

    InOrder(qsizetype count, Work work)
        : InOrder(count, std::move(work), Options())
    {
    }

    ~InOrder()
    {
        m_stopped = true;
        m_pool.clear();
        m_pool.waitForDone();
    }

    InOrder(const InOrder&) = delete;
    InOrder& operator=(const InOrder&) = delete;

    // The result of item index, which must be the one after the item taken last. An exception that the
    // item's work raised is raised here.
    Result take(qsizetype index)
    {
        Item& item = m_items[size_t(index)];
        if (index < m_inParallelFrom) {
            const auto start = std::chrono::steady_clock::now();
            Result result = m_work(index);
            if (index < m_options.decidingItems) {
                const bool slow = std::chrono::steady_clock::now() - start > m_options.slowItem;
                if (slow && m_lastWasSlow)
                    startInParallel(index + 1);
                m_lastWasSlow = slow;
            }
            return result;
        }
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return item.result || item.error; });
        if (item.error)
            std::rethrow_exception(item.error);
        return std::move(*item.result);
    }

private:
    struct Item
    {
        std::optional<Result> result;
        std::exception_ptr error;
    };

    void startInParallel(qsizetype from)
    {
        m_inParallelFrom = from;
        for (qsizetype index = from; index < qsizetype(m_items.size()); ++index)
            m_pool.start([this, index] { run(index); });
    }

    void run(qsizetype index)
    {
        if (m_stopped)
            return;
        Item done;
        try {
            done.result.emplace(m_work(index));
        } catch (...) {
            done.error = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            m_items[size_t(index)] = std::move(done);
        }
        m_done.notify_all();
    }

    Work m_work;
    Options m_options;
    std::vector<Item> m_items;
    qsizetype m_inParallelFrom = std::numeric_limits<qsizetype>::max();
    bool m_lastWasSlow = false;
    std::atomic<bool> m_stopped = false;
    std::mutex m_mutex;
    std::condition_variable m_done;
    // Last, so that it is gone before anything its threads use.
    QThreadPool m_pool;
};

} // namespace catalogue
