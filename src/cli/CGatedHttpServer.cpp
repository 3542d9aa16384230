#include "cli/CGatedHttpServer.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "cli/CConnectionStream.h"

namespace {

constexpr int kBacklog = 128;

// Accepted connections go to the gate at once, on the accepting thread.
class CInlineQueue : public httplib::TaskQueue {
public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override { }
};

// A socket listening on the address, or -1 with errno set. Only
// SO_REUSEADDR (a restart need not wait for old connections to time out),
// never SO_REUSEPORT, which would let two servers split one port's requests.
int Listen(const addrinfo& address)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    if (::bind(fd, address.ai_addr, address.ai_addrlen) == 0 && ::listen(fd, kBacklog) == 0)
        return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

int LocalPort(int fd)
{
    sockaddr_storage address {};
    socklen_t length = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

} // namespace

CGatedHttpServer::CGatedHttpServer(CRequestGate::CLimits limits)
    : m_gate([this](CConnectionStream& stream) { return AnswerOne(stream); }, limits)
{
    new_task_queue = [] { return new CInlineQueue(); };
}

CGatedHttpServer::~CGatedHttpServer()
{
    stop();
    m_gate.Stop();
    // Bound but never run.
    if (const int fd = svr_sock_.exchange(INVALID_SOCKET); fd != INVALID_SOCKET)
        ::close(fd);
}

bool CGatedHttpServer::Bind(const std::string& address, int port, std::string& error)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* pFound = nullptr;
    const std::string where = address + ":" + std::to_string(port);
    if (const int status = ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &pFound);
        status != 0) {
        error = "cannot listen on " + where + ": " + ::gai_strerror(status);
        return false;
    }
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> found(pFound, ::freeaddrinfo);
    int firstError = 0;
    for (const addrinfo* pAddress = pFound; pAddress != nullptr; pAddress = pAddress->ai_next) {
        const int fd = Listen(*pAddress);
        if (fd >= 0) {
            svr_sock_ = fd;
            m_nPort = LocalPort(fd);
            return true;
        }
        if (firstError == 0)
            firstError = errno;
    }
    error = firstError == EADDRINUSE ? "port " + std::to_string(port) + " is in use"
                                     : "cannot listen on " + where + ": " + std::strerror(firstError);
    return false;
}

bool CGatedHttpServer::Run()
{
    if (svr_sock_ == INVALID_SOCKET)
        return false;
    m_gate.Start();
    const bool bOk = listen_after_bind();
    m_gate.Stop();
    return bOk;
}

bool CGatedHttpServer::process_and_close_socket(socket_t sock)
{
    // A page goes out as headers and body in two writes: without this the
    // body waits for the client's delayed acknowledgement (about 40 ms).
    const int yes = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof(yes));
    m_gate.Adopt(sock);
    return true;
}

bool CGatedHttpServer::AnswerOne(httplib::Stream& stream)
{
    bool bClosed = false;
    return process_request(stream, false, bClosed, nullptr) && !bClosed;
}
