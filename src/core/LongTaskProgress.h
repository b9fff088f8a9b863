#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

// What a piece of long work on a worker thread shares with the window waiting for it: how far it has come and
// whether the user asked it to stop. Every member may be called from either thread.
class LongTaskProgress
{
public:
    virtual ~LongTaskProgress() = default;

    // The number of steps the work will take; 0 while it is not known.
    void setTotal(qint64 total) { m_total.store(total, std::memory_order_relaxed); }
    qint64 total() const { return m_total.load(std::memory_order_relaxed); }

    // One more step done (a row read, a line imported).
    virtual void advance() { m_done.fetch_add(1, std::memory_order_relaxed); }
    qint64 done() const { return m_done.load(std::memory_order_relaxed); }
    // For work that counts its own steps (megabytes copied, pages backed up).
    void setDone(qint64 done) { m_done.store(done, std::memory_order_relaxed); }

    // Asks the work to stop; it stops at its next step and leaves nothing half-done.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    // cancelled() as a function, for a connection that should stop its statements then.
    std::function<bool()> cancelCheck() const
    {
        return [this] { return cancelled(); };
    }

private:
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_cancelled{false};
};
