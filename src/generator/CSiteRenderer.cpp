#include "generator/CSiteRenderer.h"

#include <new>
#include <string_view>

#include "generator/CGenerateDlg.h"
#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/CPageRenderer.h"
#include "generator/CPageWriter.h"
#include "generator/CSiteOutput.h"
#include "model/CNode.h"
#include "model/CSiteSettings.h"
#include "model/CSiteTree.h"
#include "platform/CCodePage.h"
#include "platform/CCollectingUserInterface.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

bool IsPage(HTREEITEM hItem)
{
    return hItem != nullptr && hItem->GetNode() != nullptr && hItem->GetNode()->m_nType == NODE_PAGE;
}

bool IsDescendant(HTREEITEM hItem, HTREEITEM hAncestor)
{
    for (HTREEITEM h = hItem->GetParent(); h != nullptr; h = h->GetParent()) {
        if (h == hAncestor)
            return true;
    }
    return false;
}

// The log lines that say something went wrong, not what was done.
void AddLogProblems(const CString& log, std::vector<CString>& messages)
{
    for (size_t start = 0; start < log.size();) {
        size_t end = log.find("\r\n", start);
        if (end == CString::npos)
            end = log.size();
        const std::string_view line(log.data() + start, end - start);
        if (!line.empty() && !line.starts_with("Generating... ")
            && !line.starts_with("Parsing template file: ") && !line.starts_with("Copying file "))
            messages.emplace_back(line);
        start = end + 2;
    }
}

// The message boxes a run would have shown go first, as "caption: text".
void AddMessages(const CCollectingUserInterface& ui, CRenderedSite& site)
{
    std::vector<CString> boxes;
    for (const CCollectingUserInterface::CMessage& message : ui.m_messages)
        boxes.push_back(message.strCaption + ": " + message.strText);
    site.messages.insert(site.messages.begin(), boxes.begin(), boxes.end());
}

// A site too large for the memory is reported, not thrown at the caller (a
// preview while typing, a server that keeps its last site).
template <typename TRender> CRenderedSite Guarded(TRender render)
{
    try {
        return render();
    } catch (const std::bad_alloc&) {
        CRenderedSite site;
        site.messages.emplace_back("Pagewell: Out of memory.");
        return site;
    }
}

} // namespace

CSiteRenderer::CSiteRenderer(const CSiteTree& tree, const CDocProperties& props, const CGenerateDlg& settings,
    CFileSystem& files, const CFileLocator& locator)
    : m_tree(tree)
    , m_props(props)
    , m_settings(settings)
    , m_files(files)
    , m_locator(locator)
{ }

CSiteNames CSiteRenderer::GetNames() const
{
    return CSiteNames(
        m_tree.GetRootItem(), m_settings.m_bLowercase != 0, m_settings.GetSiteSettings().GetPageExtension());
}

CString CSiteRenderer::GetPageFileName(HTREEITEM hPage) const
{
    const CSiteNames names = GetNames();
    return names.GetPageFile(names.GetTag(hPage));
}

CRenderedSite CSiteRenderer::RenderPage(HTREEITEM hPage) const
{
    return Guarded([this, hPage] { return RenderPageUnguarded(hPage); });
}

CRenderedSite CSiteRenderer::RenderSite() const
{
    return Guarded([this] { return RenderSiteUnguarded(); });
}

CRenderedSite CSiteRenderer::RenderPageUnguarded(HTREEITEM hPage) const
{
    CCollectingUserInterface ui;
    CGenerationRun run(m_tree, m_props, m_settings, ui, m_files, m_locator);
    CRenderedSite site;
    if (run.GetSiteSettings().IsUtf8())
        site.strPageType = "text/html; charset=utf-8";
    const HTREEITEM hRoot = m_tree.GetRootItem();
    if (hPage != hRoot && IsPage(hRoot) && CPathRules::IsPlainFileName(run.GetNames().GetTag(hRoot))) {
        CPageRenderer(run).Render(hRoot);
        // What the home page reports is not this page's business.
        run.GetCopyList().Clear();
        run.GetLog().Clear();
        ui.m_messages.clear();
    }
    if (IsPage(hPage))
        AddPage(run, hPage, EKeepPage::Always, site);
    // The images every run copies (the templates' own, the favicon) are
    // beside every page too.
    run.AddSiteFiles();
    AddImages(run, site);
    AddMessages(ui, site);
    return site;
}

CRenderedSite CSiteRenderer::RenderSiteUnguarded() const
{
    CCollectingUserInterface ui;
    CGenerationRun run(m_tree, m_props, m_settings, ui, m_files, m_locator);
    CRenderedSite site;
    if (run.GetSiteSettings().IsUtf8())
        site.strPageType = "text/html; charset=utf-8";
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr;
         hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (IsPage(hItem))
            AddPage(run, hItem, EKeepPage::IfComplete, site);
    }
    if (IsPage(m_tree.GetRootItem()))
        site.strHome = GetPageFileName(m_tree.GetRootItem());
    run.AddSiteFiles();
    AddImages(run, site);
    AddPublishFiles(run, site);
    AddMessages(ui, site);
    return site;
}

void CSiteRenderer::AddPublishFiles(CGenerationRun& run, CRenderedSite& site) const
{
    if (run.GetSiteSettings().m_strBaseUrl.empty())
        return;
    std::vector<CSitemapWriter::CPage> pages;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr;
         hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (!IsPage(hItem))
            continue;
        const CString fileName = run.GetNames().GetTag(hItem) + ".htm";
        if (site.pages.contains(fileName))
            pages.push_back({ fileName, hItem->GetNode()->m_tStamp });
    }
    // A robots.txt of the workspace is served as the run copies it.
    for (auto& [name, bytes] : CSiteOutput::MakePublishFiles(run, pages, !site.images.contains("robots.txt")))
        site.publish[name] = std::move(bytes);
}

bool CSiteRenderer::AddPage(CGenerationRun& run, HTREEITEM hPage, EKeepPage eKeep, CRenderedSite& site) const
{
    const CString tag = run.GetNames().GetTag(hPage);
    if (!CPathRules::IsPlainFileName(tag)) {
        site.messages.push_back("CreatePage() ERROR: Unable to open destination file "
            + CPageWriter::GetPagePath(run.GetDestination(), run.GetNames().GetPageFile(tag)));
        return false;
    }
    CRenderedPage page = CPageRenderer(run).Render(hPage);
    // A run leaves a page without its template unwritten; a preview shows it.
    if (!page.bComplete && eKeep == EKeepPage::IfComplete)
        return false;
    site.pages[run.GetNames().GetPageFile(tag)] = std::move(page.strText);
    return true;
}

void CSiteRenderer::AddImages(CGenerationRun& run, CRenderedSite& site) const
{
    AddLogProblems(run.GetLog().GetText(), site.messages);
    for (const CString& source : run.GetCopyList().GetEntries()) {
        CString name = CPathRules::GetFileName(source);
        if (run.GetNames().IsLowercase())
            CCodePage::AsciiLower(name);
        // The same refusals as a run's copies: nothing outside the workspace
        // (or the defaults), and regular files only.
        if (m_locator.LiesOutside(source)) {
            site.messages.push_back(
                "CopyFiles() ERROR: Unable to copy " + source + ": it lies outside the workspace.");
            continue;
        }
        std::string native = m_locator.LocateForRead(source);
        if (!m_files.IsRegularFile(native)) {
            site.messages.push_back("Unable to open " + source + " for read.");
            continue;
        }
        // The file the link led to when the site was rendered is the one
        // served, whatever the link says later.
        site.images[name] = m_files.RealPath(native);
    }
}

ESiteFile CSiteRenderer::ReadFile(
    const CRenderedSite& site, std::string_view name, CString& bytes, CFileSystem& files)
{
    // The site is flat, every file a plain name: anything else (a folder, a
    // parent, an absolute path) names nothing of it.
    if (!CPathRules::IsPlainFileName(name))
        return ESiteFile::None;
    if (const auto page = site.pages.find(CString(name)); page != site.pages.end()) {
        bytes = page->second;
        return ESiteFile::Page;
    }
    if (const auto file = site.publish.find(CString(name)); file != site.publish.end()) {
        bytes = file->second;
        return ESiteFile::Publish;
    }
    if (const auto image = site.images.find(CString(name)); image != site.images.end()) {
        if (files.ReadFile(image->second, bytes) == EFileError::None)
            return ESiteFile::Image;
    }
    return ESiteFile::None;
}

std::string CSiteRenderer::ContentType(std::string_view name, std::string_view pageCharset)
{
    static const std::pair<const char*, const char*> kTypes[] = {
        { ".htm", "text/html; charset=" },
        { ".html", "text/html; charset=" },
        { "feed.xml", "application/atom+xml" },
        { ".xml", "application/xml" },
        { ".txt", "text/plain; charset=utf-8" },
        { ".gif", "image/gif" },
        { ".jpg", "image/jpeg" },
        { ".jpeg", "image/jpeg" },
        { ".png", "image/png" },
        { ".svg", "image/svg+xml" },
        { ".ico", "image/x-icon" },
        { ".bmp", "image/bmp" },
        { ".webp", "image/webp" },
        { ".avif", "image/avif" },
        { ".pdf", "application/pdf" },
        { ".woff2", "font/woff2" },
        { ".json", "application/json" },
        { ".css", "text/css" },
        { ".js", "text/javascript" },
        { ".xml", "application/xml" },
        { ".txt", "text/plain; charset=utf-8" },
    };
    CString lower(name);
    CCodePage::AsciiLower(lower);
    for (const auto& [extension, type] : kTypes) {
        if (lower.ends_with(extension))
            return std::string_view(type).ends_with('=') ? type + std::string(pageCharset) : type;
    }
    return "application/octet-stream";
}

HTREEITEM CSiteRenderer::FindLinkTarget(std::string_view fileName, std::string_view fragment) const
{
    const CSiteNames names = GetNames();
    HTREEITEM hPage = nullptr;
    for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr && hPage == nullptr;
         h = CSiteTree::GetNextPreOrder(h)) {
        if (IsPage(h) && names.GetPageFile(names.GetTag(h)) == fileName)
            hPage = h;
    }
    if (hPage == nullptr || fragment.empty())
        return hPage;
    // The objects shown in a page are the page and those below it up to the
    // next pages.
    for (HTREEITEM h = hPage; h != nullptr && (h == hPage || IsDescendant(h, hPage));
         h = CSiteTree::GetNextPreOrder(h)) {
        if (CSiteNames::GetPageItem(h) == hPage && names.GetTag(h) == fragment)
            return h;
    }
    return hPage;
}
