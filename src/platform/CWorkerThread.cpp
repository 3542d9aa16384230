#include "platform/CWorkerThread.h"

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

void CWorkerThread::Enqueue(std::packaged_task<void()> job)
{
    bool bWake = false;
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        bWake = m_jobs.size() >= kBatch;
    }
    if (bWake)
        m_ready.notify_one();
}

void CWorkerThread::Wake()
{
    m_ready.notify_one();
}

void CWorkerThread::Work()
{
    for (;;) {
        std::packaged_task<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_bStopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}
