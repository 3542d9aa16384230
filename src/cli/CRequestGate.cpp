#include "cli/CRequestGate.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "cli/CConnectionStream.h"
#include "platform/CCodePage.h"

namespace {

// The library refuses longer header lines anyway.
constexpr size_t kMaxHead = 16384;
// A longer body is read by the worker, under the request's deadline.
constexpr size_t kMaxBufferedBody = 65536;
constexpr size_t kReadChunk = 4096;

} // namespace

CRequestGate::CRequestGate(FAnswer answer, CLimits limits)
    : m_answer(std::move(answer))
    , m_limits(limits)
{ }

CRequestGate::~CRequestGate()
{
    Stop();
}

void CRequestGate::Start()
{
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_bStopping = false;
    m_watcher = std::thread([this] { Watch(); });
    for (size_t i = 0; i < m_limits.nWorkers; ++i)
        m_workers.emplace_back([this] { Work(); });
}

void CRequestGate::Stop()
{
    if (!m_watcher.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_ready.notify_all();
    Wake();
    m_watcher.join();
    for (std::thread& worker : m_workers)
        worker.join();
    m_workers.clear();
    for (CConnection& connection : m_connections)
        Close(connection.fd);
    m_connections.clear();
    for (CConnection& connection : m_adopted)
        Close(connection.fd);
    m_adopted.clear();
    for (CConnection& connection : m_whole)
        Close(connection.fd);
    m_whole.clear();
    ::close(m_wakeFd);
    m_wakeFd = -1;
}

void CRequestGate::Adopt(int fd)
{
    if (m_bStopping || m_nOpen >= m_limits.nMaxConnections) {
        ::close(fd);
        return;
    }
    ++m_nOpen;
    Return({ fd, {}, CClock::now() + m_limits.idle, false });
}

void CRequestGate::Return(CConnection connection)
{
    {
        const std::lock_guard lock(m_mutex);
        m_adopted.push_back(std::move(connection));
    }
    Wake();
}

void CRequestGate::Close(int fd)
{
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    --m_nOpen;
}

void CRequestGate::Wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof(one));
}

CRequestGate::EArrival CRequestGate::Arrival(std::string_view bytes)
{
    size_t nHead = bytes.find("\r\n\r\n");
    nHead = nHead == std::string_view::npos ? nHead : nHead + 4;
    if (const size_t bare = bytes.find("\n\n"); bare != std::string_view::npos && bare + 2 < nHead)
        nHead = bare + 2;
    if (nHead == std::string_view::npos)
        return bytes.size() > kMaxHead ? EArrival::TooLarge : EArrival::Partial;
    if (nHead > kMaxHead)
        return EArrival::TooLarge;
    std::string head(bytes.substr(0, nHead));
    CCodePage::AsciiLower(head);
    const size_t field = head.find("\ncontent-length:");
    if (field == std::string::npos)
        return EArrival::Whole;
    size_t nBody = 0;
    const char* pFirst = head.data() + head.find_first_not_of(" \t", field + 16);
    std::from_chars(pFirst, head.data() + head.size(), nBody);
    if (nBody > kMaxBufferedBody || bytes.size() - nHead >= nBody)
        return EArrival::Whole;
    return EArrival::Partial;
}

int CRequestGate::PollTimeout() const
{
    auto next = CClock::now() + std::chrono::seconds(1);
    for (const CConnection& connection : m_connections)
        next = std::min(next, connection.deadline);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next - CClock::now());
    return static_cast<int>(std::max<int64_t>(left.count(), 0)) + 1;
}

void CRequestGate::TakeAdopted()
{
    std::vector<CConnection> adopted;
    {
        const std::lock_guard lock(m_mutex);
        adopted.swap(m_adopted);
    }
    for (CConnection& connection : adopted) {
        // A request sent early on a kept connection may be whole already.
        connection.bBegun = !connection.bytes.empty();
        if (connection.bBegun)
            connection.deadline = CClock::now() + m_limits.request;
        m_connections.push_back(std::move(connection));
        auto it = m_connections.end() - 1;
        if (!PassOnIfWhole(it)) {
            Close(it->fd);
            m_connections.erase(it);
        }
    }
}

bool CRequestGate::Receive(CConnection& connection)
{
    const size_t nOld = connection.bytes.size();
    connection.bytes.resize(nOld + kReadChunk);
    const ssize_t nRead = ::recv(connection.fd, connection.bytes.data() + nOld, kReadChunk, MSG_DONTWAIT);
    connection.bytes.resize(nOld + static_cast<size_t>(std::max<ssize_t>(nRead, 0)));
    if (nRead < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (nRead == 0)
        return false;
    if (!connection.bBegun) {
        connection.bBegun = true;
        connection.deadline = CClock::now() + m_limits.request;
    }
    return true;
}

bool CRequestGate::PassOnIfWhole(std::vector<CConnection>::iterator& it)
{
    switch (Arrival(it->bytes)) {
    case EArrival::Partial:
        ++it;
        return true;
    case EArrival::TooLarge:
        return false;
    case EArrival::Whole:
        break;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_whole.push_back(std::move(*it));
    }
    m_ready.notify_one();
    it = m_connections.erase(it);
    return true;
}

void CRequestGate::Watch()
{
    std::vector<pollfd> entries;
    while (!m_bStopping) {
        TakeAdopted();
        entries.assign(1, { m_wakeFd, POLLIN, 0 });
        for (const CConnection& connection : m_connections)
            entries.push_back({ connection.fd, POLLIN, 0 });
        if (::poll(entries.data(), entries.size(), PollTimeout()) < 0 && errno != EINTR)
            break;
        if ((entries[0].revents & POLLIN) != 0) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t nRead = ::read(m_wakeFd, &count, sizeof(count));
        }
        // Entries past the first follow m_connections; a connection that
        // leaves moves the rest up.
        const auto now = CClock::now();
        size_t nEntry = 1;
        for (auto it = m_connections.begin(); it != m_connections.end(); ++nEntry) {
            const short revents = entries[nEntry].revents;
            bool bKeep = true;
            if (revents != 0)
                bKeep = Receive(*it) && PassOnIfWhole(it);
            else if (now >= it->deadline)
                bKeep = false;
            else
                ++it;
            if (!bKeep) {
                Close(it->fd);
                it = m_connections.erase(it);
            }
        }
    }
}

void CRequestGate::Work()
{
    for (;;) {
        CConnection connection;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_bStopping || !m_whole.empty(); });
            if (m_bStopping)
                return;
            connection = std::move(m_whole.front());
            m_whole.pop_front();
        }
        Answer(std::move(connection));
    }
}

void CRequestGate::Answer(CConnection connection)
{
    const auto now = CClock::now();
    CConnectionStream stream(
        connection.fd, std::move(connection.bytes), connection.deadline, now + m_limits.write);
    if (!m_answer(stream) || m_bStopping) {
        Close(connection.fd);
        return;
    }
    Return({ connection.fd, stream.TakeUnread(), CClock::now() + m_limits.idle, false });
}
