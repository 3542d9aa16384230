#include "generator/CGenerationRun.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <future>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator/CFileCopier.h"
#include "generator/CGenerateDlg.h"
#include "generator/CMacroContext.h"
#include "generator/CNodeExpander.h"
#include "generator/CPageLimitError.h"
#include "generator/CPageWriter.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "model/CTreeStream.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "platform/CCodePage.h"
#include "platform/CFileStamp.h"
#include "platform/CFileSystem.h"
#include "platform/CHash128.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

namespace {

// About what the log lines of one object take besides the template name and
// the destination: "Parsing template file: templates/" ".hdr.txt" and, for a
// page, "Generating... " "/" tag ".htm", each with its CR LF.
constexpr size_t kLogBytesPerObject = 80;
// Past this the log grows as it goes: a guess must not fail a run.
constexpr size_t kMaxLogReserve = size_t { 64 } << 20;

size_t GuessLogSize(size_t count, size_t perObject)
{
    return count > kMaxLogReserve / perObject ? kMaxLogReserve : count * perObject;
}

} // namespace

CGenerationRun::CGenerationRun(const CSiteTree& tree, const CDocProperties& props,
    const CGenerateDlg& settings, IUserInterface& ui, CFileSystem& files, const CFileLocator& locator)
    : m_tree(tree)
    , m_props(props)
    , m_strDestination(settings.m_strDestination)
    , m_siteSettings(settings.GetSiteSettings())
    , m_ui(ui, [this] { m_pageWriter.Drain(); })
    , m_files(files)
    , m_locator(m_files, locator.GetShareDir())
    , m_names(tree.GetRootItem(), settings.m_bLowercase != 0, m_siteSettings.GetPageExtension())
    , m_contents(m_names, m_siteSettings.GetMarkup())
    , m_preparer(&m_contents)
    , m_bClean(settings.m_bClean != 0)
    , m_bLowercase(settings.m_bLowercase != 0)
{ }

const CPageLinks& CGenerationRun::GetPageLinks()
{
    if (!m_pageLinks) {
        m_pageLinks.emplace(m_names.GetPageExtension(), [this](std::string_view fileName) {
            if (!m_pageFiles) {
                m_pageFiles.emplace();
                for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
                    if (h->GetNode()->m_nType == NODE_PAGE)
                        m_pageFiles->insert(m_names.GetPageFile(m_names.GetTag(h)));
                }
            }
            return m_pageFiles->contains(CString(fileName));
        });
    }
    return *m_pageLinks;
}

void CGenerationRun::Run()
{
    // Pages joined to an empty destination would go to the root of the file
    // system.
    if (m_strDestination.empty()) {
        m_ui.MessageBox("No destination folder is set.", kApplicationTitle, EMessageIcon::Exclamation,
            EMessageButtons::Ok);
        return;
    }
    if (CSiteOutput::IsAmongSources(CPathRules::ToNative(m_strDestination))) {
        m_ui.MessageBox("The destination folder " + m_strDestination
                + " is the workspace or one of the folders the run reads (templates, images, lineimages, "
                  "bullets, background). Choose another folder, such as a new folder of the workspace.",
            kApplicationTitle, EMessageIcon::Exclamation, EMessageButtons::Ok);
        return;
    }
    // A project that lost its objects (a damaged or emptied file) would
    // take every page of the site with it.
    if (m_bClean && m_tree.GetRootItem() == nullptr) {
        m_ui.MessageBox(
            "The project has no objects: nothing was generated or removed in " + m_strDestination + ".",
            kApplicationTitle, EMessageIcon::Exclamation, EMessageButtons::Ok);
        return;
    }
    // Running out of memory ends the run; every page written so far is
    // complete and the others are as they were.
    try {
        RunSteps();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    } catch (const std::length_error&) {
        ReportOutOfMemory();
    }
}

void CGenerationRun::ReportOutOfMemory()
{
    m_log.Clear();
    m_copyList.Clear();
    m_strHomeLinks.clear();
    m_strHomeLinks.shrink_to_fit();
    m_ui.MessageBox("Out of memory.", kApplicationTitle, EMessageIcon::Stop, EMessageButtons::Ok);
}

void CGenerationRun::RunSteps()
{
    m_strHomeLinks.clear();
    m_copyList.Clear();
    m_log.Clear();
    m_strRecordNote.clear();
    std::string recordPath;
    // The project is hashed beside the run (the tree does not change while
    // it goes) unless a record of this destination needed the hash first.
    std::string key;
    std::future<std::string> futureKey;
    const int64_t tStartNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    if (!m_strRecordFolder.empty()) {
        const std::string destination = CPathRules::ToNative(m_strDestination);
        recordPath = CRunRecord::GetPath(m_strRecordFolder, destination);
        if (AnswerFromRecord(recordPath, key))
            return;
        if (key.empty() && IsProjectFileSettled())
            key = MakeRecordKey();
        else if (key.empty())
            futureKey = std::async(std::launch::async, [this] { return MakeRecordKey(); });
        m_files.StartRecording(destination);
        m_ui.StartRecording();
    }
    const size_t count = m_tree.GetCount();
    // Every object logs its template and every page its file: room for all
    // of it at once, as a log of many pages is copied on each growth.
    m_log.Reserve(
        GuessLogSize(count, kLogBytesPerObject + m_props.m_strTemplate.size() + m_strDestination.size()));
    ShowStart();
    // Temporary files of a run that was killed are cleared away first.
    m_files.RemoveLeftovers(CPathRules::ToNative(m_strDestination));
    m_output.Start();
    if (m_siteSettings.IsModern())
        m_pictures.PrepareBodyPictures();
    WritePages();
    m_ui.SetStatusText(EStatusLine::CurrentFile, "Copying image files...");
    AddSiteFiles();
    CopyFiles(m_strDestination);
    m_pictures.WriteBodyPictures();
    if (!m_strDestination.empty())
        m_output.Finish(m_bClean);
    if (!recordPath.empty())
        SaveRecord(recordPath, key.empty() ? futureKey.get() : key, tStartNs);
    // Not kept in the record: the record that replaces it is sound.
    if (!m_strRecordNote.empty())
        m_log.Add(m_strRecordNote);
    ShowEnd();
    m_log.Clear();
    m_copyList.Clear();
}

void CGenerationRun::ShowStart()
{
    const size_t count = m_tree.GetCount();
    m_ui.SetProgressRange(0, count > INT_MAX ? INT_MAX : static_cast<int>(count));
    m_ui.SetProgressPos(0);
}

void CGenerationRun::ShowEnd()
{
    m_ui.SetStatusText(EStatusLine::Log, m_log.GetText());
    m_ui.SetStatusText(EStatusLine::CurrentFile, "Done...");
    m_ui.Beep(EBeep::Default);
    m_ui.SetProgressPos(0);
    m_ui.SetStatusText(EStatusLine::CurrentTag, "");
}

std::string CGenerationRun::MakeRecordKey() const
{
    CHash128 hash;
    hash.AddString("Pagewell run key 1");
    // Another build of the program may write other pages.
    const CFileStamp program = CFileStamp::Of("/proc/self/exe");
    for (const uint64_t part : { program.nSize, program.nDevice, program.nInode,
             static_cast<uint64_t>(program.nModified), static_cast<uint64_t>(program.nChanged) })
        hash.AddNumber(part);
    hash.AddString(m_strDestination);
    hash.AddNumber(m_bLowercase ? 1 : 0);
    hash.AddNumber(m_bClean ? 1 : 0);
    hash.AddString(m_siteSettings.ToSpare());
    hash.AddString(m_locator.GetShareDir());
    hash.AddNumber(m_limits.nMaxBytes);
    hash.AddNumber(m_limits.nMaxSteps);
    if (IsProjectFileSettled()) {
        const CFileStamp& stamp = m_projectFile->stamp;
        hash.AddString("project file");
        for (const uint64_t part : { stamp.nSize, stamp.nDevice, stamp.nInode,
                 static_cast<uint64_t>(stamp.nModified), static_cast<uint64_t>(stamp.nChanged) })
            hash.AddNumber(part);
        return hash.GetHex();
    }
    // The project as its file would hold it.
    CArchive ar([&hash](std::string_view bytes) { hash.Add(bytes); });
    CDocProperties props = m_props;
    props.Serialize(ar);
    CTreeStream::Write(ar, m_tree);
    ar.Flush();
    return hash.GetHex();
}

bool CGenerationRun::IsProjectFileSettled() const
{
    if (!m_projectFile)
        return false;
    const int64_t tSettled = m_projectFile->tReadNs - m_nStampWindowNs;
    return m_projectFile->stamp.nModified < tSettled && m_projectFile->stamp.nChanged < tSettled;
}

bool CGenerationRun::AnswerFromRecord(const std::string& recordPath, std::string& key)
{
    CRunRecord record;
    const CRunRecord::ELoad loaded = record.Load(recordPath, CRunRecord::GetMaxBytes(m_tree.GetCount()));
    if (loaded == CRunRecord::ELoad::Refused)
        m_strRecordNote = "Not using the run record " + CCodePage::FromUtf8(recordPath)
            + ": it or its folder belongs to another user or may be written by others.";
    if (loaded != CRunRecord::ELoad::Loaded)
        return false;
    // Whichever costs less is looked at first: the key where the project is
    // known by its file's stamp, otherwise the files (where one changed,
    // nothing is hashed).
    const bool bKeyFirst = IsProjectFileSettled();
    if (bKeyFirst && (key = MakeRecordKey()) != record.strKey)
        return false;
    if (!record.FilesUnchanged(CClock::Now64()))
        return false;
    if (!bKeyFirst && (key = MakeRecordKey()) != record.strKey)
        return false;
    ShowStart();
    for (const CRunRecord::CMessage& message : record.messages)
        m_ui.MessageBox(message.strText, message.strCaption, message.icon, EMessageButtons::Ok);
    m_ui.SetStatusText(EStatusLine::CurrentFile, "Copying image files...");
    m_log.SetText(std::move(record.strLog));
    m_output.Replay(record.produced);
    ShowEnd();
    m_log.Clear();
    return true;
}

void CGenerationRun::SaveRecord(const std::string& recordPath, const std::string& key, int64_t tStartNs)
{
    // A question could have been answered otherwise next time.
    if (!m_ui.OnlyInformed())
        return;
    CRunRecord record;
    record.strKey = key;
    // Only the feed depends on the time of the run.
    if (!m_siteSettings.m_strBaseUrl.empty())
        record.tValidUntil = CRunRecord::GetNextExpiry(m_tree, CClock::Now64());
    // Reading a project file clears the banners that have expired: known by
    // the file's stamp, the project stays the same only until the next one
    // of those it read expires.
    if (IsProjectFileSettled()) {
        constexpr int64_t kNsPerSecond = 1'000'000'000;
        record.tValidUntil = std::min(record.tValidUntil,
            CRunRecord::GetNextExpiry(m_tree, m_projectFile->tReadNs / kNsPerSecond, true));
    }
    // The pages this run committed were stamped then; the other files now.
    std::vector<std::optional<CFileStamp>> stampsThen;
    std::vector<size_t> unstamped;
    std::vector<std::string> unstampedPaths;
    auto noted = m_files.TakePaths();
    record.files.reserve(noted.size());
    stampsThen.reserve(noted.size());
    for (auto& [path, what] : noted) {
        if (what.stampThen || !what.committed.bExists) {
            unstamped.push_back(record.files.size());
            unstampedPaths.push_back(path);
        }
        stampsThen.push_back(what.stampThen);
        record.files.emplace_back(std::move(path), what.committed);
    }
    const std::vector<CFileStamp> stampsNow = CFileStamp::OfAll(unstampedPaths);
    for (size_t i = 0; i < unstamped.size(); ++i)
        record.files[unstamped[i]].second = stampsNow[i];
    // A source changed while the run read it, or just before, is not kept.
    for (size_t i = 0; i < record.files.size(); ++i) {
        const CFileStamp& stamp = record.files[i].second;
        if (stampsThen[i]
            && (stamp != *stampsThen[i] || stamp.nModified >= tStartNs - m_nStampWindowNs
                || stamp.nChanged >= tStartNs - m_nStampWindowNs))
            return;
    }
    record.messages = m_ui.GetMessages();
    record.produced = m_output.GetProduced().GetNames();
    // The log of a large run takes megabytes: lent to the record, not copied.
    record.strLog = m_log.TakeText();
    record.Save(m_strRecordFolder, recordPath, CRunRecord::GetMaxBytes(m_tree.GetCount()));
    m_log.SetText(std::move(record.strLog));
}

void CGenerationRun::AddSiteFiles()
{
    for (const char* pszImage : kFixedImages)
        m_copyList.AddToCopyList(pszImage);
    // The favicon is copied whether or not a template names it.
    if (!m_siteSettings.m_strFavicon.empty())
        m_copyList.AddToCopyList("images/" + m_siteSettings.m_strFavicon);
    // A robots.txt of the workspace's own replaces the one the run writes.
    if (!m_siteSettings.m_strBaseUrl.empty() && m_files.IsRegularFile("robots.txt"))
        m_copyList.AddToCopyList("robots.txt");
}

void CGenerationRun::WritePages()
{
    // Parent first, in the order of the tree, the root page first of all.
    std::vector<HTREEITEM> pages;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr;
         hItem = CSiteTree::GetNextPreOrder(hItem)) {
        if (hItem->GetNode() != nullptr && hItem->GetNode()->m_nType == NODE_PAGE)
            pages.push_back(hItem);
    }
    // The file of the next page is looked at while this one is expanded.
    constexpr size_t kLookAhead = 16;
    try {
        for (size_t i = 0, ahead = 0; i < pages.size(); ++i) {
            for (; ahead < pages.size() && ahead <= i + kLookAhead; ++ahead)
                m_pageWriter.LookAhead(pages[ahead]);
            m_pageWriter.CreatePage(pages[i]);
        }
        m_pageWriter.Drain();
    } catch (...) {
        m_pageWriter.Abandon();
        throw;
    }
    m_pageWriter.Abandon();
}

std::unique_ptr<CMacroContext> CGenerationRun::CreateNode(HTREEITEM hItem)
{
    if (m_nNesting >= kMaxNesting) {
        m_ui.MessageBox("Unable to expand " + m_names.GetTag(hItem) + ": objects nested too deeply",
            "CreateNode() ERROR", EMessageIcon::Exclamation, EMessageButtons::Ok);
        return std::make_unique<CMacroContext>(m_log);
    }
    if (++m_nPageSteps > m_limits.nMaxSteps)
        throw CPageLimitError("the page takes too many steps");
    // Kept right when a page is abandoned by an exception.
    struct CNestingLevel {
        int& nNesting;
        explicit CNestingLevel(int& n)
            : nNesting(++n)
        { }
        ~CNestingLevel() { --nNesting; }
    } level(m_nNesting);
    return CNodeExpander(*this).CreateNode(hItem);
}

void CGenerationRun::CopyFiles(const CString& destination)
{
    CFileCopier(*this).CopyFiles(m_copyList, destination);
}
