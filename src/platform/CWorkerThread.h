#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

// A thread that runs the jobs given to it one after the other, in the order
// given. Each job's result (or exception) is taken back through its future.
// Waking a sleeping thread costs system calls on both sides, so jobs are
// handed over in batches: the thread is woken once kBatch jobs wait, or by
// Wake(), which must come before waiting for a future. The destructor
// finishes the jobs already given and joins the thread.
class CWorkerThread {
public:
    CWorkerThread();
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    static constexpr size_t kBatch = 8;

    // Lets the thread start on every job given so far.
    void Wake();

    template <typename TFunction> auto Post(TFunction function) -> std::future<decltype(function())>
    {
        std::packaged_task<decltype(function())()> task(std::move(function));
        auto result = task.get_future();
        Enqueue(std::packaged_task<void()>([task = std::move(task)]() mutable { task(); }));
        return result;
    }

private:
    void Enqueue(std::packaged_task<void()> job);
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::packaged_task<void()>> m_jobs;
    bool m_bStopping = false;
    std::thread m_thread;
};
