#include "generator/CSiteRenderer.h"

#include <string_view>
#include <sys/stat.h>

#include "generator/CGenerateDlg.h"
#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/CPageRenderer.h"
#include "generator/CPageWriter.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CCodePage.h"
#include "platform/CCollectingUserInterface.h"
#include "platform/CFileLocator.h"
#include "platform/CPathRules.h"

namespace {

bool IsPage(HTREEITEM hItem)
{
    return hItem != nullptr && hItem->GetNode() != nullptr && hItem->GetNode()->m_nType == NODE_PAGE;
}

// A path that names a regular file below the workspace (or the defaults): no
// absolute path and no ".." component, so that nothing outside is served.
bool IsServableSource(std::string_view source, const std::string& native)
{
    if (source.empty() || CPathRules::BeginsWithSeparator(source))
        return false;
    for (size_t start = 0; start <= source.size();) {
        size_t end = start;
        while (end < source.size() && !CPathRules::IsSeparator(source[end]))
            ++end;
        if (source.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    struct stat info { };
    return ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The log lines that say something went wrong, not what was done.
void AddLogProblems(const CString& log, std::vector<CString>& messages)
{
    for (size_t start = 0; start < log.size();) {
        size_t end = log.find("\r\n", start);
        if (end == CString::npos)
            end = log.size();
        const std::string_view line(log.data() + start, end - start);
        if (!line.empty() && !line.starts_with("Generating... ") && !line.starts_with("Parsing template file: ")
            && !line.starts_with("Copying file "))
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

} // namespace

CSiteRenderer::CSiteRenderer(const CSiteTree& tree, const CDocProperties& props, const CGenerateDlg& settings,
    CFileSystem& files, const CFileLocator& locator)
    : m_tree(tree)
    , m_props(props)
    , m_settings(settings)
    , m_files(files)
    , m_locator(locator)
{ }

CString CSiteRenderer::GetPageFileName(HTREEITEM hPage) const
{
    return CSiteNames(m_tree.GetRootItem(), m_settings.m_bLowercase != 0).GetTag(hPage) + ".htm";
}

CRenderedSite CSiteRenderer::RenderPage(HTREEITEM hPage) const
{
    CCollectingUserInterface ui;
    CGenerationRun run(m_tree, m_props, m_settings, ui, m_files, m_locator);
    CRenderedSite site;
    const HTREEITEM hRoot = m_tree.GetRootItem();
    if (hPage != hRoot && IsPage(hRoot) && CPathRules::IsPlainFileName(run.GetNames().GetTag(hRoot))) {
        run.CreateNode(hRoot);
        // What the home page reports is not this page's business.
        run.GetCopyList().Clear();
        run.GetLog().Clear();
        ui.m_messages.clear();
    }
    if (IsPage(hPage))
        AddPage(run, hPage, EKeepPage::Always, site);
    AddImages(run, site);
    AddMessages(ui, site);
    return site;
}

CRenderedSite CSiteRenderer::RenderSite() const
{
    CCollectingUserInterface ui;
    CGenerationRun run(m_tree, m_props, m_settings, ui, m_files, m_locator);
    CRenderedSite site;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr; hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (IsPage(hItem))
            AddPage(run, hItem, EKeepPage::IfComplete, site);
    }
    if (IsPage(m_tree.GetRootItem()))
        site.strHome = GetPageFileName(m_tree.GetRootItem());
    run.GetCopyList().AddToCopyList("images/pagewell.jpg");
    run.GetCopyList().AddToCopyList("images/bluerib.gif");
    AddImages(run, site);
    AddMessages(ui, site);
    return site;
}

bool CSiteRenderer::AddPage(CGenerationRun& run, HTREEITEM hPage, EKeepPage eKeep, CRenderedSite& site) const
{
    const CString tag = run.GetNames().GetTag(hPage);
    if (!CPathRules::IsPlainFileName(tag)) {
        site.messages.push_back("CreatePage() ERROR: Unable to open destination file "
            + CPageWriter::GetPagePath(run.GetDestination(), tag));
        return false;
    }
    CRenderedPage page = CPageRenderer(run).Render(hPage);
    // A run leaves a page without its template unwritten; a preview shows it.
    if (!page.bComplete && eKeep == EKeepPage::IfComplete)
        return false;
    site.pages[tag + ".htm"] = std::move(page.strText);
    return true;
}

void CSiteRenderer::AddImages(CGenerationRun& run, CRenderedSite& site) const
{
    AddLogProblems(run.GetLog().GetText(), site.messages);
    for (const CString& source : run.GetCopyList().GetEntries()) {
        CString name = CPathRules::GetFileName(source);
        if (run.GetNames().IsLowercase())
            CCodePage::AsciiLower(name);
        const std::string native = m_locator.LocateForRead(source);
        if (!IsServableSource(source, native)) {
            site.messages.push_back("Unable to open " + source + " for read.");
            continue;
        }
        site.images[name] = native;
    }
}
