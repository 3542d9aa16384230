#include "cli/CSiteServer.h"

#include <algorithm>
#include <chrono>
#include <httplib.h>

#include "cli/CGatedHttpServer.h"
#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"

namespace {

// Polls the version once a second and reloads when the site was replaced;
// a server that went away is simply asked again.
constexpr const char* kReloadScript
    = "<script>(function(){var v=\"%VERSION%\";setInterval(function(){"
      "fetch(\"/.pagewell/version\",{cache:\"no-store\"}).then(function(r){return r.text();})"
      ".then(function(t){if(t!==v)location.reload();}).catch(function(){});},1000);})();</script>\n";

} // namespace

CSiteServer::CSiteServer(CRequestGate::CLimits limits)
    : m_pServer(std::make_unique<CGatedHttpServer>(limits))
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

bool CSiteServer::Bind(const std::string& address, int port, std::string& error)
{
    return !m_thread.joinable() && m_pServer->Bind(address, port, error);
}

bool CSiteServer::Listen()
{
    if (m_thread.joinable() || m_pServer->GetPort() <= 0)
        return false;
    m_thread = std::thread([this] { m_pServer->Run(); });
    // Stopping works only once the server runs.
    while (!m_pServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

bool CSiteServer::Start(const std::string& address, int port)
{
    std::string error;
    return Bind(address, port, error) && Listen();
}

int CSiteServer::GetPort() const
{
    return m_pServer->GetPort();
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
    std::string name = path.substr(1);
    if (name.empty())
        name = pSite->strHome;
    // Names arrive as UTF-8 and the site's are Windows-1252.
    CResponse response { 200, CSiteRenderer::ContentType(name), {} };
    switch (
        CSiteRenderer::ReadFile(*pSite, CCodePage::FromUtf8(name), response.strBody, CFileSystem::Real())) {
    case ESiteFile::Page:
        response.strType = pSite->strPageType;
        response.strBody = InjectReloadScript(std::move(response.strBody), version);
        return response;
    case ESiteFile::Image:
    case ESiteFile::Publish:
        return response;
    case ESiteFile::None:
        break;
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
