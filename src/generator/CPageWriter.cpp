#include "generator/CPageWriter.h"

#include "generator/CGenerationRun.h"
#include "generator/CPageRenderer.h"
#include "model/CNode.h"
#include "platform/CAtomicFile.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

namespace {

// Results that may wait for the run's thread: each holds a page's text, so
// the run stops to take them when more are behind.
constexpr size_t kMaxBehind = 32;

} // namespace

CPageWriter::~CPageWriter()
{
    Abandon();
}

CString CPageWriter::GetPagePath(const CString& destination, const CString& fileName)
{
    return CPathRules::JoinPath(destination, fileName);
}

void CPageWriter::ReportUnableToOpen(const CString& path)
{
    m_run.GetUserInterface().MessageBox("Unable to open destination file " + path, "CreatePage() ERROR",
        EMessageIcon::Exclamation, EMessageButtons::Ok);
}

CWorkerThread& CPageWriter::GetWorker()
{
    if (!m_worker)
        m_worker.emplace();
    return *m_worker;
}

void CPageWriter::LookAhead(HTREEITEM hItem)
{
    const CString tag = m_run.GetNames().GetTag(hItem);
    if (!CPathRules::IsPlainFileName(tag))
        return;
    const CString fileName = m_run.GetNames().GetPageFile(tag);
    std::string native = CPathRules::ToNative(GetPagePath(m_run.GetDestination(), fileName));
    const CSiteOutput& output = m_run.GetOutput();
    const bool bCompareFirst = output.CompareFirst() && output.MayHold(CPathRules::ToNative(fileName));
    const auto pAhead = std::make_shared<CAhead>();
    pAhead->hItem = hItem;
    pAhead->native = std::move(native);
    pAhead->bCompareFirst = bCompareFirst;
    pAhead->nJob = GetWorker().Post([this, pAhead] {
        if (pAhead->bClaimed.exchange(true))
            return;
        try {
            pAhead->prepared = Prepare(pAhead->native, pAhead->bCompareFirst);
        } catch (...) {
            pAhead->pError = std::current_exception();
        }
    });
    m_ahead.push_back(pAhead);
}

CPageWriter::CPrepared CPageWriter::TakePrepared()
{
    CAhead& ahead = *m_ahead.front();
    // Rather than wait for the page thread, the run's thread does it.
    if (!ahead.bClaimed.exchange(true))
        ahead.prepared = Prepare(ahead.native, ahead.bCompareFirst);
    else
        GetWorker().WaitFor(ahead.nJob, 0);
    if (ahead.pError)
        std::rethrow_exception(ahead.pError);
    CPrepared prepared = std::move(ahead.prepared);
    m_ahead.pop_front();
    return prepared;
}

void CPageWriter::ClearAhead()
{
    // The thread skips the pages it has not got to; the others it finished
    // or finishes with the entries it shares.
    for (const std::shared_ptr<CAhead>& pAhead : m_ahead)
        pAhead->bClaimed = true;
    m_ahead.clear();
}

// An old page that may be unchanged is compared after the page
// is expanded, so that it keeps its file and its time; otherwise the new page
// goes to a temporary file, made before the page is expanded (a page that
// cannot be created is not expanded at all).
CPageWriter::CPrepared CPageWriter::Prepare(const std::string& native, bool bCompareFirst)
{
    CFileSystem& files = m_run.GetFileSystem();
    CPrepared prepared;
    if (bCompareFirst && files.IsRegularFile(native)) {
        prepared.bOldFile = true;
        return prepared;
    }
    EFileError error = EFileError::None;
    prepared.pFile = files.CreateReplacement(native, error);
    return prepared;
}

// On the thread: the page replaces the old file only when complete, so a
// killed or failed run never leaves a page missing or cut short. False when
// the page could not be written whole (a full disk).
bool CPageWriter::Finish(CPrepared prepared, const CString& text, bool bWritten, CBehind& behind)
{
    CFileSystem& files = m_run.GetFileSystem();
    if (prepared.bOldFile) {
        if (files.HasContent(behind.native, text)) {
            if (behind.bNeedsDigest)
                behind.digest = COutputManifest::CDigest::Of(text);
            return true;
        }
        EFileError error = EFileError::None;
        prepared.pFile = files.CreateReplacement(behind.native, error);
        if (prepared.pFile == nullptr)
            return false;
    }
    if (!bWritten) {
        prepared.pFile->GetFile().Write(text);
        behind.digest = COutputManifest::CDigest::Of(text);
    }
    if (prepared.pFile->Commit() != EFileError::None)
        return false;
    behind.bReplaced = true;
    behind.committedStamp = prepared.pFile->GetCommittedStamp();
    return true;
}

void CPageWriter::CreatePage(HTREEITEM hItem)
{
    const CString tag = m_run.GetNames().GetTag(hItem);
    const CString fileName = m_run.GetNames().GetPageFile(tag);
    const CString path = GetPagePath(m_run.GetDestination(), fileName);
    m_run.GetLog().Add({ "Generating... ", path });
    m_run.GetUserInterface().SetStatusText(EStatusLine::CurrentFile, path);

    // A tag that is not a plain file name would put the page outside the
    // destination (or nowhere): refused like a file that cannot be created.
    if (!CPathRules::IsPlainFileName(tag)) {
        ReportUnableToOpen(path);
        return;
    }
    std::string native = CPathRules::ToNative(path);
    m_run.GetOutput().Want(CPathRules::ToNative(fileName));
    // Pages are looked ahead in the order they are written; a page written
    // out of that order is looked at now.
    if (!m_ahead.empty() && m_ahead.front()->hItem != hItem)
        ClearAhead();
    if (m_ahead.empty())
        LookAhead(hItem);
    CPrepared prepared = TakePrepared();
    if (!prepared.bOldFile && prepared.pFile == nullptr) {
        ReportUnableToOpen(path);
        return;
    }
    CRenderedPage page = CPageRenderer(m_run).Render(hItem);
    // Without its template the page would be a bare line end: the old page
    // stays, and a missing one is not made.
    if (!page.bComplete)
        return;
    // A new file is seen by no one until it is committed, and commits keep
    // the page order: when the thread is behind, the run's thread writes the
    // file itself and leaves the thread only the commit.
    const bool bWritten = prepared.pFile != nullptr && IsThreadBehind();
    CBehind& behind = m_behind.emplace_back();
    if (bWritten) {
        prepared.pFile->GetFile().Write(page.strText);
        behind.digest = COutputManifest::CDigest::Of(page.strText);
        page.strText = CString();
    }
    behind.bNeedsDigest = m_run.GetOutput().NeedsDigest(CPathRules::ToNative(fileName));
    behind.path = path;
    behind.fileName = fileName;
    behind.tStamp = hItem->GetNode()->m_tStamp;
    behind.native = std::move(native);
    behind.nJob = GetWorker().Post(
        [this, &behind, prepared = std::move(prepared), text = std::move(page.strText), bWritten]() mutable {
            try {
                behind.bWritten = Finish(std::move(prepared), text, bWritten, behind);
            } catch (...) {
                behind.pError = std::current_exception();
            }
        });
    m_nLastJob = behind.nJob;
    while (m_behind.size() > kMaxBehind)
        TakeOldest();
}

bool CPageWriter::IsThreadBehind()
{
    // About four pages' jobs.
    constexpr uint64_t kJobsBehind = 8;
    return m_nLastJob > kJobsBehind && !GetWorker().IsDone(m_nLastJob - kJobsBehind);
}

void CPageWriter::TakeOldest()
{
    GetWorker().WaitFor(m_behind.front().nJob);
    CBehind behind = std::move(m_behind.front());
    m_behind.pop_front();
    if (behind.pError)
        std::rethrow_exception(behind.pError);
    // Its message must not wait for the pages after it.
    const bool bWasTaking = m_bTaking;
    m_bTaking = true;
    try {
        // A page that could not be written whole is reported like one that
        // could not be created, not passed over in silence.
        if (behind.bWritten) {
            m_run.GetOutput().ProducedPage(CPathRules::ToNative(behind.fileName), behind.fileName,
                behind.tStamp, behind.digest, behind.bReplaced);
            if (behind.committedStamp.bExists)
                m_run.NoteCommitted(behind.native, behind.committedStamp);
        } else {
            ReportUnableToOpen(behind.path);
        }
    } catch (...) {
        m_bTaking = bWasTaking;
        throw;
    }
    m_bTaking = bWasTaking;
}

void CPageWriter::Drain()
{
    while (!m_bTaking && !m_behind.empty())
        TakeOldest();
}

void CPageWriter::Abandon()
{
    // The thread finishes the jobs given to it, which still fill in the
    // entries below, before they go.
    m_worker.reset();
    m_ahead.clear();
    m_behind.clear();
}
