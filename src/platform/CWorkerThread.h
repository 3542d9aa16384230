#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// A thread that runs the jobs given to it one after the other, in the order
// given. Jobs are numbered from 1 as they are given; WaitFor(n) returns once
// job n (and so every job before it) has run, and the caller then reads what
// the job left in memory both own. Jobs must not throw: a job keeps its
// exception for the caller to take.
//
// Waking a sleeping thread costs system calls on both sides, so jobs are
// handed over in batches: the thread is woken once kBatch jobs wait, or by
// Wake(). A caller that has to sleep in WaitFor sleeps until up to kBatch
// more jobs have run (unless told otherwise), so that a thread that cannot
// keep up is not asked to wake the caller after every job. The destructor
// finishes the jobs already given and joins the thread.
class CWorkerThread {
public:
    CWorkerThread();
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    static constexpr size_t kBatch = 8;

    // Gives the thread a job; returns its number.
    template <typename TFunction> uint64_t Post(TFunction function)
    {
        return Enqueue(std::make_unique<CJobOf<TFunction>>(std::move(function)));
    }
    // Lets the thread start on every job given so far.
    void Wake();
    // Waits until job nJob has run; when it has to sleep, until up to nMore
    // jobs after it have run too.
    void WaitFor(uint64_t nJob, size_t nMore = kBatch);
    // Whether job nJob has run (the caller may then read what it left).
    bool IsDone(uint64_t nJob) const { return m_nDone.load(std::memory_order_acquire) >= nJob; }

private:
    struct CJob {
        virtual ~CJob() = default;
        virtual void Run() noexcept = 0;
    };
    template <typename TFunction> struct CJobOf final : CJob {
        explicit CJobOf(TFunction f)
            : function(std::move(f))
        { }
        void Run() noexcept override { function(); }
        TFunction function;
    };

    uint64_t Enqueue(std::unique_ptr<CJob> job);
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::unique_ptr<CJob>> m_jobs;
    bool m_bStopping = false;
    uint64_t m_nGiven = 0;
    std::atomic<uint64_t> m_nDone { 0 };
    std::thread m_thread;
};
