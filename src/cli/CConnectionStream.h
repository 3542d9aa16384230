#pragma once

#include <chrono>
#include <httplib.h>
#include <string>

// One connection as the HTTP library reads and writes it: first the bytes
// read already while the request arrived, then the socket's. Every wait is
// bounded by a deadline, so that a client that stops sending or reading
// holds a worker no longer than that.
class CConnectionStream : public httplib::Stream {
public:
    using CClock = std::chrono::steady_clock;

    CConnectionStream(
        int fd, std::string bytes, CClock::time_point readDeadline, CClock::time_point writeDeadline);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return m_fd; }

    // The bytes read and not taken (a next request sent early).
    std::string TakeUnread();

private:
    // Whether the socket is ready for events before deadline.
    bool WaitFor(short events, CClock::time_point deadline) const;

    int m_fd;
    std::string m_bytes;
    size_t m_nTaken = 0;
    CClock::time_point m_readDeadline;
    CClock::time_point m_writeDeadline;
};
