#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "cli/CRequestGate.h"
#include "generator/CSiteRenderer.h"

class CGatedHttpServer;

// Serves a site held in memory over HTTP: the page files, the images the
// pages use and the sitemap, feed and robots.txt a run would write, nothing
// else (no listings, no other file, no path with a folder). Pages get a small
// script that reloads them when the site is replaced; the site's own bytes
// never hold it.
class CSiteServer {
public:
    // The path the reload script polls for the site's version.
    static constexpr const char* kVersionPath = "/.pagewell/version";

    struct CResponse {
        int nStatus = 404;
        std::string strType;
        std::string strBody;
    };

    explicit CSiteServer(CRequestGate::CLimits limits = {});
    ~CSiteServer();
    CSiteServer(const CSiteServer&) = delete;
    CSiteServer& operator=(const CSiteServer&) = delete;

    // Replaces the site served; open pages reload at their next poll.
    void SetSite(CRenderedSite site);
    uint64_t GetVersion() const { return m_nVersion.load(); }

    // Takes address:port (port 0: a free one), answering nothing yet; false
    // with the reason in error ("port N is in use", or the system's reason).
    bool Bind(const std::string& address, int port, std::string& error);
    // Answers requests in threads of its own; false when not bound.
    bool Listen();
    // Bind and Listen.
    bool Start(const std::string& address, int port);
    int GetPort() const;
    // Stops listening and waits for the thread; nothing when not started.
    void Stop();

    // What a GET of path (decoded, without the query) answers.
    CResponse Answer(const std::string& path) const;

    // page with the reload script for version, before its last </BODY> (in
    // any case) or at its end.
    static std::string InjectReloadScript(std::string page, uint64_t version);

private:
    std::unique_ptr<CGatedHttpServer> m_pServer;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::shared_ptr<const CRenderedSite> m_pSite;
    std::atomic<uint64_t> m_nVersion { 0 };
};
