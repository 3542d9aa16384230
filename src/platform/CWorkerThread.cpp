#include "platform/CWorkerThread.h"

#include <algorithm>

CWorkerThread::CWorkerThread()
    : m_thread([this] { Work(); })
{ }

CWorkerThread::~CWorkerThread()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_ready.notify_one();
    m_thread.join();
}

uint64_t CWorkerThread::Enqueue(std::unique_ptr<CJob> job)
{
    bool bWake = false;
    uint64_t nJob = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        nJob = ++m_nGiven;
        bWake = m_jobs.size() >= kBatch;
    }
    if (bWake)
        m_ready.notify_one();
    return nJob;
}

void CWorkerThread::Wake()
{
    m_ready.notify_one();
}

void CWorkerThread::WaitFor(uint64_t nJob, size_t nMore)
{
    uint64_t nDone = m_nDone.load(std::memory_order_acquire);
    if (nDone >= nJob)
        return;
    uint64_t nUntil = nJob;
    {
        const std::lock_guard lock(m_mutex);
        nUntil = std::min(nJob + nMore, m_nGiven);
    }
    Wake();
    while (nDone < nUntil) {
        m_nDone.wait(nDone, std::memory_order_acquire);
        nDone = m_nDone.load(std::memory_order_acquire);
    }
}

void CWorkerThread::Work()
{
    for (;;) {
        std::unique_ptr<CJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_bStopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job->Run();
        job.reset();
        m_nDone.fetch_add(1, std::memory_order_release);
        m_nDone.notify_one();
    }
}
