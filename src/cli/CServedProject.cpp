#include "cli/CServedProject.h"

#include <filesystem>
#include <functional>

#include "cli/CConsoleUserInterface.h"
#include "cli/CSiteServer.h"
#include "generator/CSiteRenderer.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"
#include "platform/CFileLocator.h"

namespace fs = std::filesystem;

namespace {

void Mix(uint64_t& hash, uint64_t value)
{
    hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
}

void MixFile(uint64_t& hash, const fs::path& path)
{
    std::error_code error;
    const auto status = fs::status(path, error);
    Mix(hash, std::hash<std::string> {}(path.string()));
    if (error || !fs::is_regular_file(status))
        return;
    Mix(hash, static_cast<uint64_t>(fs::file_size(path, error)));
    Mix(hash, static_cast<uint64_t>(fs::last_write_time(path, error).time_since_epoch().count()));
}

} // namespace

CServedProject::CServedProject(
    std::string projectPath, CSiteServer& server, std::ostream& out, std::ostream& err)
    : m_strProject(std::move(projectPath))
    , m_server(server)
    , m_out(out)
    , m_err(err)
{ }

uint64_t CServedProject::Fingerprint() const
{
    uint64_t hash = 0;
    MixFile(hash, m_strProject);
    std::error_code error;
    for (fs::directory_iterator it(".", error), end; !error && it != end; it.increment(error)) {
        if (!it->is_directory(error) || !CFileLocator::IsResourceFolder(it->path().filename().string()))
            continue;
        const auto options = fs::directory_options::skip_permission_denied;
        for (fs::recursive_directory_iterator file(it->path(), options, error), last; !error && file != last;
             file.increment(error))
            MixFile(hash, file->path());
    }
    return hash;
}

bool CServedProject::Rebuild()
{
    m_nFingerprint = Fingerprint();
    // One document at a time: the model keeps a pointer to the live one.
    CConsoleUserInterface ui(m_err);
    CPagewellDoc doc(ui);
    if (!doc.DoFileOpen(m_strProject)) {
        m_err << "pagewell-cli: serve: " << m_strProject
              << " did not load; the last good site stays served\n";
        return false;
    }
    const CFileLocator locator(doc.GetFileSystem(), CFileLocator::DefaultShareDir());
    const CSiteRenderer renderer(doc.m_tree, doc.m_props, doc.m_dlgGenerate, doc.GetFileSystem(), locator);
    CRenderedSite site = renderer.RenderSite();
    for (const CString& message : site.messages)
        m_err << CCodePage::ToUtf8(message) << '\n';
    m_out << "Built " << site.pages.size() << " pages and " << site.images.size() << " images\n";
    m_out.flush();
    m_server.SetSite(std::move(site));
    return true;
}

bool CServedProject::RebuildIfChanged()
{
    if (Fingerprint() == m_nFingerprint)
        return false;
    return Rebuild();
}
