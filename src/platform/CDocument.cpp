#include "platform/CDocument.h"

#include <algorithm>
#include <chrono>

#include "platform/CArchive.h"
#include "platform/CAtomicFile.h"
#include "platform/CCodePage.h"
#include "platform/CFile.h"
#include "platform/CHeapReserve.h"
#include "platform/CView.h"
#include "platform/IUserInterface.h"

namespace {

CString Format1(const char* pattern, const std::string& path)
{
    CString text = pattern;
    const size_t at = text.find("%1");
    if (at != CString::npos)
        text.replace(at, 2, CCodePage::FromUtf8(path));
    return text;
}

} // namespace

CDocument::CDocument(IUserInterface& ui, CFileSystem& files)
    : m_ui(ui)
    , m_files(files)
{ }

std::string CDocument::GetTitle() const
{
    if (m_strPathName.empty())
        return "Untitled";
    const size_t slash = m_strPathName.find_last_of('/');
    return slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}

void CDocument::AddView(CView* pView)
{
    m_views.push_back(pView);
}

void CDocument::RemoveView(CView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
}

void CDocument::UpdateAllViews(CView* pSender, long lHint)
{
    // A copy: a view may detach itself while being updated.
    const std::vector<CView*> views = m_views;
    for (CView* pView : views) {
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint);
    }
}

void CDocument::ReportMessage(const CString& text)
{
    m_ui.MessageBox(text, kApplicationTitle, EMessageIcon::Exclamation, EMessageButtons::Ok);
}

void CDocument::ReportFileError(EFileError error, const std::string& path, bool bSaving)
{
    switch (error) {
    case EFileError::NotFound:
        ReportMessage(Format1("%1 was not found.", path));
        return;
    case EFileError::AccessDenied:
        ReportMessage(Format1("Access to %1 was denied.", path));
        return;
    case EFileError::BadPath:
        ReportMessage(Format1("%1 contains an invalid path.", path));
        return;
    case EFileError::DiskFull:
        ReportMessage("Destination disk is full.");
        return;
    case EFileError::None:
    case EFileError::Generic:
        break;
    }
    ReportMessage(bSaving ? "Failed to save document." : "Failed to open document.");
}

void CDocument::NotifyLoaded()
{
    m_strTitleNote.clear();
    const std::vector<IDocumentListener*> listeners = m_listeners;
    for (IDocumentListener* pListener : listeners)
        pListener->OnDocumentLoaded();
}

void CDocument::NotifySaved()
{
    m_strTitleNote.clear();
    const std::vector<IDocumentListener*> listeners = m_listeners;
    for (IDocumentListener* pListener : listeners)
        pListener->OnDocumentSaved(m_bSaveRecreated);
}

void CDocument::OnInitialUpdate()
{
    const std::vector<CView*> views = m_views;
    for (CView* pView : views)
        pView->OnInitialUpdate();
}

bool CDocument::SaveModified()
{
    if (!m_bModified)
        return true;
    const int answer = m_ui.MessageBox(Format1("Save changes to %1?", GetTitle()), kApplicationTitle,
        EMessageIcon::Exclamation, EMessageButtons::YesNoCancel);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDNO)
        return true;
    return DoFileSave();
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    m_fileRead.reset();
    m_strPathName.clear();
    return true;
}

void CDocument::LoadDocument(CArchive& ar)
{
    Serialize(ar);
}

bool CDocument::ReadArchive(CArchive& ar, CFile& file, const std::string& path)
{
    bool bFormatError = false;
    std::string reason;
    try {
        // An empty file opens and reads nothing.
        if (!ar.IsAtEnd())
            LoadDocument(ar);
    } catch (const CArchiveException& e) {
        bFormatError = true;
        if (e.HasReason())
            reason = e.what();
    }
    // A file that could not be read to its end reports why, not its format.
    if (file.GetError() != EFileError::None) {
        ReportFileError(file.GetError(), path, false);
        return false;
    }
    if (bFormatError) {
        ReportMessage(
            reason.empty() ? CString("Unexpected file format.") : "Unexpected file format: " + reason + ".");
        return false;
    }
    return true;
}

bool CDocument::ReadFromFile(CFile& file, const std::string& path)
{
    // The objects built from a file take somewhat more memory than the file.
    if (const off_t size = file.GetSize(); size > 0)
        CHeapReserve::Prepare(static_cast<size_t>(size) * 2);
    // The file is read in pieces while the document is built from it.
    CArchive ar(file, CArchive::EMode::Load);
    return ReadArchive(ar, file, path);
}

void CDocument::WriteToFile(CFile& file)
{
    CArchive ar(file, CArchive::EMode::Store);
    Serialize(ar);
    ar.Flush();
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    m_fileRead.reset();
    EFileError error = EFileError::None;
    const auto pFile = m_files.OpenForRead(path, error);
    if (pFile == nullptr) {
        ReportFileError(error, path, false);
        return false;
    }
    const int64_t tReadNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
                                .count();
    const CFileStamp stampBefore = CFileStamp::OfDescriptor(pFile->GetDescriptor());
    if (!ReadFromFile(*pFile, path))
        return false;
    SetModifiedFlag(false);
    m_diskStamp = stampBefore;
    // A file written to while it was read holds something else now.
    if (stampBefore.bExists && CFileStamp::OfDescriptor(pFile->GetDescriptor()) == stampBefore)
        m_fileRead = CFileRead { stampBefore, tReadNs };
    return true;
}

bool CDocument::HasFileChangedOnDisk() const
{
    if (!m_diskStamp || m_strPathName.empty())
        return false;
    const CFileStamp now = CFileStamp::Of(m_strPathName);
    // Permissions and links (the inode's change time) leave the contents alone.
    return now.bExists != m_diskStamp->bExists || now.nSize != m_diskStamp->nSize
        || now.nInode != m_diskStamp->nInode || now.nDevice != m_diskStamp->nDevice
        || now.nModified != m_diskStamp->nModified;
}

void CDocument::AcceptDiskStamp()
{
    if (m_strPathName.empty())
        m_diskStamp.reset();
    else
        m_diskStamp = CFileStamp::Of(m_strPathName);
}

void CDocument::AddListener(IDocumentListener* pListener)
{
    m_listeners.push_back(pListener);
}

void CDocument::RemoveListener(IDocumentListener* pListener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), pListener), m_listeners.end());
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    // The file this document came from, changed by someone else since: the
    // user says whether to replace it. One that is gone is written anew.
    const bool bSamePath = path == m_strPathName && m_diskStamp.has_value();
    const bool bGone = bSamePath && m_diskStamp->bExists && !CFileStamp::Of(path).bExists;
    if (bSamePath && !bGone && HasFileChangedOnDisk()) {
        const int answer = m_ui.MessageBox(Format1("%1 was changed by another program since it was opened or "
                                                   "saved here.\n\nReplace it with this version?",
                                               path),
            kApplicationTitle, EMessageIcon::Exclamation, EMessageButtons::YesNo);
        if (answer != IDYES)
            return false;
    }
    // The document is written in pieces as it is serialised; the old file is
    // replaced only when the new one is complete on the disk.
    EFileError error = EFileError::None;
    if (const auto pFile = m_files.CreateAtomic(path, error)) {
        WriteToFile(pFile->GetFile());
        error = pFile->Commit();
    }
    if (error != EFileError::None) {
        ReportFileError(error, path, true);
        return false;
    }
    SetModifiedFlag(false);
    m_fileRead.reset();
    m_diskStamp = CFileStamp::Of(path);
    m_bSaveRecreated = bGone;
    return true;
}

bool CDocument::DoFileNew()
{
    if (!SaveModified())
        return false;
    if (!OnNewDocument())
        return false;
    m_diskStamp.reset();
    OnInitialUpdate();
    NotifyLoaded();
    return true;
}

bool CDocument::DoFileOpen(const std::string& path)
{
    if (!SaveModified())
        return false;
    if (!OnOpenDocument(path))
        return false;
    m_strPathName = path;
    OnInitialUpdate();
    NotifyLoaded();
    return true;
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty()) {
        std::string path = GetTitle() + ".pwl";
        if (!m_ui.PromptSavePath(path))
            return false;
        return DoFileSaveAs(path);
    }
    if (!OnSaveDocument(m_strPathName))
        return false;
    NotifySaved();
    return true;
}

bool CDocument::DoFileSaveAs(const std::string& path)
{
    if (!OnSaveDocument(path))
        return false;
    m_strPathName = path;
    NotifySaved();
    return true;
}
