#include "generator/CSiteOutput.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "generator/CAtomFeedWriter.h"
#include "generator/CGenerationRun.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CAtomicFile.h"
#include "platform/CClock.h"
#include "platform/CCodePage.h"
#include "platform/CFile.h"
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
        const CString reference = pNode->m_nType == NODE_PAGE ? names.GetPageFile(names.GetTag(hItem))
                                                              : names.GetReference(hItem);
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

bool CSiteOutput::IsAmongSources(const std::string& destination)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path workspace = fs::weakly_canonical(fs::current_path(error), error);
    if (error)
        return false;
    const fs::path folder = fs::weakly_canonical(fs::absolute(destination, error), error);
    if (error)
        return false;
    auto itWorkspace = workspace.begin();
    auto itFolder = folder.begin();
    // A trailing separator is an empty last part.
    for (; itWorkspace != workspace.end() && !itWorkspace->empty(); ++itWorkspace, ++itFolder) {
        if (itFolder == folder.end() || *itFolder != *itWorkspace)
            return false;
    }
    if (itFolder == folder.end() || itFolder->empty())
        return true;
    // The workspace's folders are found whatever their letter case.
    for (const std::string_view source : { "templates", "images", "lineimages", "bullets", "background" }) {
        if (CCodePage::CompareNoCase(itFolder->string(), source) == 0)
            return true;
    }
    return false;
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
    // Sorted now: the page thread looks names up in it.
    m_last.GetEntries();
}

bool CSiteOutput::MayHold(const std::string& name) const
{
    return !m_bListed || m_existing.contains(name);
}

void CSiteOutput::Want(std::string_view name)
{
    m_wanted.Add(name);
}

void CSiteOutput::Produced(std::string_view name, const std::optional<CDigest>& digest, bool bWritten)
{
    m_wanted.Add(name);
    m_produced.Add(name);
    const COutputManifest::CEntry* pLast = bWritten ? nullptr : m_last.Find(name);
    if (bWritten || (pLast != nullptr && pLast->digest && pLast->digest == digest))
        m_ours.Add(name, digest);
    // Listed by a version that kept no digests: still listed, and still
    // never removed.
    else if (pLast != nullptr && !pLast->digest)
        m_ours.Add(name);
}

bool CSiteOutput::NeedsDigest(std::string_view name) const
{
    const COutputManifest::CEntry* pLast = m_last.Find(name);
    return pLast != nullptr && pLast->digest;
}

void CSiteOutput::ProducedPage(std::string_view name, const CString& fileName, int64_t tStamp,
    const std::optional<CDigest>& digest, bool bWritten)
{
    Produced(name, digest, bWritten);
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
        Produced(name, CDigest::Of(bytes), false);
        return;
    }
    EFileError error = EFileError::None;
    const auto pFile = files.CreateReplacement(path, error);
    if (pFile != nullptr) {
        pFile->GetFile().Write(bytes);
        if (pFile->Commit() == EFileError::None) {
            Produced(name, CDigest::Of(bytes), true);
            return;
        }
    }
    m_run.GetUserInterface().MessageBox(
        "Unable to open destination file " + CPathRules::AppendName(m_run.GetDestination(), fileName),
        "CreatePage() ERROR", EMessageIcon::Exclamation, EMessageButtons::Ok);
}

void CSiteOutput::WritePublishFiles()
{
    // A robots.txt of the workspace was copied with the images.
    for (const auto& [name, bytes] : MakePublishFiles(m_run, m_pages, !m_wanted.Contains(kRobotsName)))
        WriteFile(name, bytes);
}

std::vector<std::pair<CString, std::string>> CSiteOutput::MakePublishFiles(
    CGenerationRun& run, const std::vector<CSitemapWriter::CPage>& pages, bool bRobots)
{
    const CString& baseUrl = run.GetSiteSettings().m_strBaseUrl;
    std::vector<std::pair<CString, std::string>> files;
    files.emplace_back(kSitemapName, CSitemapWriter::Sitemap(baseUrl, pages));
    if (bRobots)
        files.emplace_back(kRobotsName, CSitemapWriter::Robots(baseUrl));
    const CSiteTree& tree = run.GetTree();
    const HTREEITEM hRoot = tree.GetRootItem();
    const CDocProperties& props = run.GetProps();
    const CAtomFeedWriter::CHead head { baseUrl,
        hRoot != nullptr && hRoot->GetNode() != nullptr ? hRoot->GetNode()->m_strTitle : CString(),
        props.m_strAuthor, props.m_strEmail };
    files.emplace_back(kFeedName,
        CAtomFeedWriter::Write(
            head, CollectNews(tree, run.GetNames(), CClock::Now64()), GetNewestStamp(tree)));
    return files;
}

void CSiteOutput::RemoveStale()
{
    // Only files an earlier run listed as its own, still holding what it
    // wrote: whatever else the destination holds is the user's.
    CFileSystem& files = m_run.GetFileSystem();
    for (const COutputManifest::CEntry& entry : m_last.Without(m_wanted)) {
        const std::string path = GetNativePath(entry.strName);
        if (!files.Exists(path))
            continue;
        if (StillHolds(entry))
            files.RemoveFile(path);
        else
            m_run.GetLog().Add({ "Keeping ", CPathRules::AppendName(m_run.GetDestination(), entry.strName),
                entry.digest ? ": it changed since Pagewell wrote it."
                             : ": what Pagewell wrote there is not known." });
    }
}

bool CSiteOutput::StillHolds(const COutputManifest::CEntry& entry)
{
    return entry.digest && ReadDigest(GetNativePath(entry.strName), entry.digest->nSize) == entry.digest;
}

std::optional<CSiteOutput::CDigest> CSiteOutput::ReadDigest(const std::string& path, uint64_t nMaxSize)
{
    EFileError error = EFileError::None;
    const auto pFile = m_run.GetFileSystem().OpenForRead(path, error);
    if (pFile == nullptr)
        return std::nullopt;
    COutputManifest::CDigester digester;
    std::string buffer(size_t { 64 } << 10, '\0');
    for (;;) {
        const ssize_t got = pFile->Read(buffer.data(), buffer.size());
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return digester.Get();
        digester.Add(std::string_view(buffer.data(), static_cast<size_t>(got)));
        if (digester.GetSize() > nMaxSize)
            return std::nullopt;
    }
}

void CSiteOutput::WriteManifest(bool bClean)
{
    // The files of the last list this run did not produce stay ours as long
    // as they are there: all of them, or when cleaning those the run meant
    // to write (and could not). A file found as this run would write it is
    // produced, but ours only when the last list said so.
    COutputManifest manifest = m_ours;
    CFileSystem& files = m_run.GetFileSystem();
    for (const COutputManifest::CEntry& entry : m_last.GetEntries()) {
        if (!m_produced.Contains(entry.strName) && (!bClean || m_wanted.Contains(entry.strName))
            && files.Exists(GetNativePath(entry.strName)))
            manifest.Add(entry.strName, entry.digest);
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
