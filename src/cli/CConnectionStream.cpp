#include "cli/CConnectionStream.h"

#include <algorithm>
#include <cerrno>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

namespace {

constexpr size_t kReadChunk = 16384;

using FGetName = int (*)(int, sockaddr*, socklen_t*);

void GetAddress(int fd, FGetName getName, std::string& ip, int& port)
{
    sockaddr_storage address {};
    socklen_t length = sizeof(address);
    char host[NI_MAXHOST] = {};
    char service[NI_MAXSERV] = {};
    if (getName(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0
        || getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof(host), service,
               sizeof(service), NI_NUMERICHOST | NI_NUMERICSERV)
            != 0)
        return;
    ip = host;
    port = std::atoi(service);
}

} // namespace

CConnectionStream::CConnectionStream(
    int fd, std::string bytes, CClock::time_point readDeadline, CClock::time_point writeDeadline)
    : m_fd(fd)
    , m_bytes(std::move(bytes))
    , m_readDeadline(readDeadline)
    , m_writeDeadline(writeDeadline)
{ }

bool CConnectionStream::WaitFor(short events, CClock::time_point deadline) const
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - CClock::now());
        if (left.count() < 0)
            return false;
        pollfd entry { m_fd, events, 0 };
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()) + 1);
        if (ready > 0)
            return (entry.revents & (events | POLLHUP | POLLERR)) != 0;
        if (ready == 0 && CClock::now() >= deadline)
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

bool CConnectionStream::is_readable() const
{
    return m_nTaken < m_bytes.size() || WaitFor(POLLIN, m_readDeadline);
}

bool CConnectionStream::is_writable() const
{
    return WaitFor(POLLOUT, m_writeDeadline);
}

ssize_t CConnectionStream::read(char* ptr, size_t size)
{
    if (m_nTaken == m_bytes.size()) {
        m_bytes.clear();
        m_nTaken = 0;
        m_bytes.resize(kReadChunk);
        ssize_t nRead = -1;
        while (nRead < 0) {
            nRead = ::recv(m_fd, m_bytes.data(), m_bytes.size(), MSG_DONTWAIT);
            if (nRead < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                break;
            if (nRead < 0 && errno != EINTR && !WaitFor(POLLIN, m_readDeadline))
                break;
        }
        m_bytes.resize(static_cast<size_t>(std::max<ssize_t>(nRead, 0)));
        if (nRead <= 0)
            return nRead;
    }
    const size_t nCopied = std::min(size, m_bytes.size() - m_nTaken);
    std::copy_n(m_bytes.data() + m_nTaken, nCopied, ptr);
    m_nTaken += nCopied;
    return static_cast<ssize_t>(nCopied);
}

ssize_t CConnectionStream::write(const char* ptr, size_t size)
{
    size_t nDone = 0;
    while (nDone < size) {
        const ssize_t nSent = ::send(m_fd, ptr + nDone, size - nDone, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (nSent > 0) {
            nDone += static_cast<size_t>(nSent);
            continue;
        }
        if (nSent < 0 && errno == EINTR)
            continue;
        if (nSent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(POLLOUT, m_writeDeadline))
            continue;
        return -1;
    }
    return static_cast<ssize_t>(size);
}

void CConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    GetAddress(m_fd, ::getpeername, ip, port);
}

void CConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    GetAddress(m_fd, ::getsockname, ip, port);
}

std::string CConnectionStream::TakeUnread()
{
    std::string unread = m_bytes.substr(m_nTaken);
    m_bytes.clear();
    m_nTaken = 0;
    return unread;
}
