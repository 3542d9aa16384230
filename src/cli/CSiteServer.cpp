#include "cli/CSiteServer.h"

#include <algorithm>
#include <chrono>
#include <httplib.h>

#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

// Polls the version once a second and reloads when the site was replaced;
// a server that went away is simply asked again.
constexpr const char* kReloadScript
    = "<script>(function(){var v=\"%VERSION%\";setInterval(function(){"
      "fetch(\"/.pagewell/version\",{cache:\"no-store\"}).then(function(r){return r.text();})"
      ".then(function(t){if(t!==v)location.reload();}).catch(function(){});},1000);})();</script>\n";

} // namespace

CSiteServer::CSiteServer()
    : m_pServer(std::make_unique<httplib::Server>())
    , m_pSite(std::make_shared<CRenderedSite>())
{
    m_pServer->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        CResponse answer = Answer(request.path);
        response.status = answer.nStatus;
        response.set_header("Cache-Control", "no-store");
        response.set_content(std::move(answer.strBody), answer.strType.c_str());
    });
}

CSiteServer::~CSiteServer()
{
    Stop();
}

void CSiteServer::SetSite(CRenderedSite site)
{
    auto pSite = std::make_shared<const CRenderedSite>(std::move(site));
    const std::lock_guard lock(m_mutex);
    m_pSite = std::move(pSite);
    ++m_nVersion;
}

bool CSiteServer::Start(const std::string& address, int port)
{
    if (m_thread.joinable())
        return false;
    if (port == 0)
        port = m_pServer->bind_to_any_port(address);
    else if (!m_pServer->bind_to_port(address, port))
        port = -1;
    if (port <= 0)
        return false;
    m_nPort = port;
    m_thread = std::thread([this] { m_pServer->listen_after_bind(); });
    // Stopping works only once the server runs.
    while (!m_pServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void CSiteServer::Stop()
{
    if (!m_thread.joinable())
        return;
    m_pServer->stop();
    m_thread.join();
}

CSiteServer::CResponse CSiteServer::Answer(const std::string& path) const
{
    std::shared_ptr<const CRenderedSite> pSite;
    uint64_t version = 0;
    {
        // The page and the version its script waits past belong together.
        const std::lock_guard lock(m_mutex);
        pSite = m_pSite;
        version = m_nVersion.load();
    }
    if (path == kVersionPath)
        return { 200, "text/plain", std::to_string(version) };
    if (path.empty() || path[0] != '/')
        return { 404, "text/plain", "Not found\n" };
    // The site is flat: every file is a plain name in its folder, so any
    // other path (a folder, "..", a listing) names nothing of it.
    std::string name = path.substr(1);
    if (name.empty())
        name = pSite->strHome;
    if (!CPathRules::IsPlainFileName(name))
        return { 404, "text/plain", "Not found\n" };
    // Names arrive as UTF-8 and the site's are Windows-1252.
    const CString siteName = CCodePage::FromUtf8(name);
    if (const auto page = pSite->pages.find(siteName); page != pSite->pages.end())
        return { 200, ContentType(name), InjectReloadScript(page->second, version) };
    if (const auto image = pSite->images.find(siteName); image != pSite->images.end()) {
        CResponse response { 200, ContentType(name), {} };
        if (CFileSystem::Real().ReadFile(image->second, response.strBody) == EFileError::None)
            return response;
    }
    return { 404, "text/plain", "Not found\n" };
}

std::string CSiteServer::InjectReloadScript(std::string page, uint64_t version)
{
    std::string script = kReloadScript;
    script.replace(script.find("%VERSION%"), 9, std::to_string(version));
    std::string lower = page;
    CCodePage::AsciiLower(lower);
    const size_t body = lower.rfind("</body>");
    page.insert(body == std::string::npos ? page.size() : body, script);
    return page;
}

std::string CSiteServer::ContentType(const std::string& name)
{
    static const std::pair<const char*, const char*> kTypes[] = {
        { ".htm", "text/html; charset=windows-1252" },
        { ".html", "text/html; charset=windows-1252" },
        { ".gif", "image/gif" },
        { ".jpg", "image/jpeg" },
        { ".jpeg", "image/jpeg" },
        { ".png", "image/png" },
        { ".svg", "image/svg+xml" },
        { ".ico", "image/x-icon" },
        { ".bmp", "image/bmp" },
        { ".webp", "image/webp" },
        { ".css", "text/css" },
        { ".js", "text/javascript" },
    };
    std::string lower = name;
    CCodePage::AsciiLower(lower);
    for (const auto& [extension, type] : kTypes) {
        if (lower.ends_with(extension))
            return type;
    }
    return "application/octet-stream";
}
