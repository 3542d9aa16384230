#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "generator/CSiteRenderer.h"

namespace httplib {
class Server;
}

// Serves a site held in memory over HTTP: the page files and the images the
// pages use, nothing else (no listings, no other file, no path with a
// folder). Pages get a small script that reloads them when the site is
// replaced; the site's own bytes never hold it.
class CSiteServer {
public:
    // The path the reload script polls for the site's version.
    static constexpr const char* kVersionPath = "/.pagewell/version";

    struct CResponse {
        int nStatus = 404;
        std::string strType;
        std::string strBody;
    };

    CSiteServer();
    ~CSiteServer();
    CSiteServer(const CSiteServer&) = delete;
    CSiteServer& operator=(const CSiteServer&) = delete;

    // Replaces the site served; open pages reload at their next poll.
    void SetSite(CRenderedSite site);
    uint64_t GetVersion() const { return m_nVersion.load(); }

    // Listens on address:port (port 0: a free one) in a thread of its own;
    // false when the address cannot be bound.
    bool Start(const std::string& address, int port);
    int GetPort() const { return m_nPort; }
    // Stops listening and waits for the thread; nothing when not started.
    void Stop();

    // What a GET of path (decoded, without the query) answers.
    CResponse Answer(const std::string& path) const;

    // page with the reload script for version, before its last </BODY> (in
    // any case) or at its end.
    static std::string InjectReloadScript(std::string page, uint64_t version);

private:
    std::unique_ptr<httplib::Server> m_pServer;
    std::thread m_thread;
    int m_nPort = 0;
    mutable std::mutex m_mutex;
    std::shared_ptr<const CRenderedSite> m_pSite;
    std::atomic<uint64_t> m_nVersion { 0 };
};
