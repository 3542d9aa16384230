#include "generator/CSiteOutput.h"

#include <algorithm>
#include <iterator>

#include "generator/CAtomFeedWriter.h"
#include "generator/CGenerationRun.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CAtomicFile.h"
#include "platform/CClock.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

namespace {

constexpr const char* kSitemapName = "sitemap.xml";
constexpr const char* kFeedName = "feed.xml";
constexpr const char* kRobotsName = "robots.txt";

// The objects whose New or Updated banner shows at now, newest first.
std::vector<CAtomFeedWriter::CEntry> CollectNews(const CSiteTree& tree, const CSiteNames& names, int64_t now)
{
    std::vector<CAtomFeedWriter::CEntry> entries;
    for (HTREEITEM hItem = tree.GetRootItem(); hItem != nullptr; hItem = CSiteTree::GetNextPreOrder(hItem)) {
        const CNode* pNode = hItem->GetNode();
        if (pNode == nullptr || (pNode->m_info.m_bNew == 0 && pNode->m_info.m_bUpdated == 0)
            || pNode->HasExpired(now) || CSiteNames::GetPageItem(hItem) == nullptr)
            continue;
        const CString reference
            = pNode->m_nType == NODE_PAGE ? names.GetTag(hItem) + ".htm" : names.GetReference(hItem);
        entries.push_back({ pNode->m_strTitle, reference, pNode->m_tStamp, pNode->m_strText });
    }
    std::stable_sort(entries.begin(), entries.end(),
        [](const CAtomFeedWriter::CEntry& a, const CAtomFeedWriter::CEntry& b) {
            return a.tStamp > b.tStamp;
        });
    return entries;
}

// The newest stamp of the site: the feed's time when nothing is new.
int64_t GetNewestStamp(const CSiteTree& tree)
{
    int64_t newest = 0;
    for (HTREEITEM hItem = tree.GetRootItem(); hItem != nullptr; hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (hItem->GetNode() != nullptr)
            newest = std::max<int64_t>(newest, hItem->GetNode()->m_tStamp);
    }
    return newest;
}

} // namespace

std::string CSiteOutput::GetNativePath(std::string_view name) const
{
    return CPathRules::ToNative(CPathRules::AppendName(m_run.GetDestination(), CString(name)));
}

void CSiteOutput::Start()
{
    CFileSystem& files = m_run.GetFileSystem();
    const std::string folder = CPathRules::ToNative(m_run.GetDestination());
    m_bCompareFirst = files.CanCreateIn(folder);
    std::vector<std::string> names;
    m_bListed = m_bCompareFirst && files.ListFolder(folder, names);
    m_existing = std::unordered_set<std::string>(
        std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
    std::string text;
    if (files.ReadFile(GetNativePath(COutputManifest::kFileName), text) == EFileError::None)
        m_last = COutputManifest::Parse(text);
}

bool CSiteOutput::MayHold(const std::string& name) const
{
    return !m_bListed || m_existing.contains(name);
}

void CSiteOutput::Want(std::string_view name)
{
    m_wanted.Add(name);
}

void CSiteOutput::Produced(std::string_view name)
{
    m_wanted.Add(name);
    m_produced.Add(name);
}

void CSiteOutput::ProducedPage(std::string_view name, const CString& fileName, int64_t tStamp)
{
    Produced(name);
    m_pages.push_back({ fileName, tStamp });
}

void CSiteOutput::Finish(bool bClean)
{
    if (!m_run.GetSiteSettings().m_strBaseUrl.empty())
        WritePublishFiles();
    if (bClean)
        RemoveStale();
    WriteManifest(bClean);
}

void CSiteOutput::WriteFile(const CString& fileName, std::string_view bytes)
{
    const std::string name = CPathRules::ToNative(fileName);
    Want(name);
    CFileSystem& files = m_run.GetFileSystem();
    const std::string path = GetNativePath(name);
    if (m_bCompareFirst && files.HasContent(path, bytes)) {
        Produced(name);
        return;
    }
    EFileError error = EFileError::None;
    const auto pFile = files.CreateReplacement(path, error);
    if (pFile != nullptr) {
        pFile->GetFile().Write(bytes);
        if (pFile->Commit() == EFileError::None) {
            Produced(name);
            return;
        }
    }
    m_run.GetUserInterface().MessageBox(
        "Unable to open destination file " + CPathRules::AppendName(m_run.GetDestination(), fileName),
        "CreatePage() ERROR", EMessageIcon::Exclamation, EMessageButtons::Ok);
}

void CSiteOutput::WritePublishFiles()
{
    const CString& baseUrl = m_run.GetSiteSettings().m_strBaseUrl;
    WriteFile(kSitemapName, CSitemapWriter::Sitemap(baseUrl, m_pages));
    // A robots.txt of the workspace was copied with the images.
    if (!m_wanted.Contains(kRobotsName))
        WriteFile(kRobotsName, CSitemapWriter::Robots(baseUrl));

    const CSiteTree& tree = m_run.GetTree();
    const HTREEITEM hRoot = tree.GetRootItem();
    const CDocProperties& props = m_run.GetProps();
    const CAtomFeedWriter::CHead head { baseUrl,
        hRoot != nullptr && hRoot->GetNode() != nullptr ? hRoot->GetNode()->m_strTitle : CString(),
        props.m_strAuthor, props.m_strEmail };
    WriteFile(kFeedName,
        CAtomFeedWriter::Write(
            head, CollectNews(tree, m_run.GetNames(), CClock::Now64()), GetNewestStamp(tree)));
}

void CSiteOutput::RemoveStale()
{
    // Only files an earlier run listed as its own, and only regular files:
    // whatever else the destination holds is the user's.
    CFileSystem& files = m_run.GetFileSystem();
    for (const std::string& name : m_last.Without(m_wanted)) {
        const std::string path = GetNativePath(name);
        if (files.IsRegularFile(path))
            files.RemoveFile(path);
    }
    m_last = COutputManifest();
}

void CSiteOutput::WriteManifest(bool bClean)
{
    // Files this run meant to write but could not, and (unless cleaning) the
    // earlier runs' files, stay ours as long as they are there.
    COutputManifest kept;
    CFileSystem& files = m_run.GetFileSystem();
    for (const std::string& name : m_wanted.GetNames()) {
        if (!m_produced.Contains(name) && files.Exists(GetNativePath(name)))
            kept.Add(name);
    }
    COutputManifest manifest = m_produced;
    for (const std::string& name : kept.GetNames())
        manifest.Add(name);
    if (!bClean) {
        for (const std::string& name : m_last.GetNames()) {
            if (!m_produced.Contains(name) && !kept.Contains(name) && files.Exists(GetNativePath(name)))
                manifest.Add(name);
        }
    }
    const std::string text = manifest.Format();
    const std::string path = GetNativePath(COutputManifest::kFileName);
    if (files.HasContent(path, text))
        return;
    EFileError error = EFileError::None;
    if (const auto pFile = files.CreateReplacement(path, error)) {
        pFile->GetFile().Write(text);
        pFile->Commit();
    }
}
