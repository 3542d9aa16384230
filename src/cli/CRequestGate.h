#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CConnectionStream;

// Holds the server's open connections and reads each request whole before a
// worker sees it: a client that sends slowly, or keeps its connection open
// between requests (a tab asking for the site's version), waits in one
// thread that watches them all and holds no worker. A request that does not
// arrive in time, or a connection left idle too long, is closed.
class CRequestGate {
public:
    using CClock = std::chrono::steady_clock;

    struct CLimits {
        // A connection without a request begun.
        std::chrono::milliseconds idle { 5000 };
        // One request's headers and body, from its first byte.
        std::chrono::milliseconds request { 5000 };
        // Writing one answer.
        std::chrono::milliseconds write { 10000 };
        size_t nWorkers = 8;
        // Beyond this a new connection is closed at once.
        size_t nMaxConnections = 512;
    };

    // Answers the request at the start of stream on a worker; true when the
    // connection stays open for the next one.
    using FAnswer = std::function<bool(CConnectionStream& stream)>;

    CRequestGate(FAnswer answer, CLimits limits);
    ~CRequestGate();
    CRequestGate(const CRequestGate&) = delete;
    CRequestGate& operator=(const CRequestGate&) = delete;

    void Start();
    // Closes every connection and waits for the threads.
    void Stop();
    // Takes an accepted connection (any thread).
    void Adopt(int fd);

    enum class EArrival { Partial, Whole, TooLarge };
    // Whether bytes hold a whole request: the headers and as much of the
    // body as its length gives (a body sent in chunks is read by the worker).
    static EArrival Arrival(std::string_view bytes);

private:
    struct CConnection {
        int fd = -1;
        std::string bytes;
        CClock::time_point deadline;
        bool bBegun = false;
    };

    void Watch();
    void Work();
    void Wake();
    void TakeAdopted();
    // Reads what arrived; false when the connection is to be closed.
    bool Receive(CConnection& connection);
    // Hands the connection to a worker when its request is whole; false when
    // it is to be closed.
    bool PassOnIfWhole(std::vector<CConnection>::iterator& it);
    void Answer(CConnection connection);
    void Return(CConnection connection);
    void Close(int fd);
    int PollTimeout() const;

    FAnswer m_answer;
    CLimits m_limits;
    int m_wakeFd = -1;
    std::atomic<bool> m_bStopping { false };
    std::atomic<size_t> m_nOpen { 0 };
    std::thread m_watcher;
    std::vector<std::thread> m_workers;

    // The watcher's own.
    std::vector<CConnection> m_connections;

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<CConnection> m_adopted; // new and returned connections
    std::deque<CConnection> m_whole; // requests for the workers
};
