#include "generator/CPageWriter.h"

#include <optional>

#include "generator/CGenerationRun.h"
#include "generator/CPageRenderer.h"
#include "model/CNode.h"
#include "platform/CAtomicFile.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

CString CPageWriter::GetPagePath(const CString& destination, const CString& tag)
{
    return CPathRules::JoinPath(destination, tag + ".htm");
}

void CPageWriter::ReportUnableToOpen(const CString& path)
{
    m_run.GetUserInterface().MessageBox("Unable to open destination file " + path, "CreatePage() ERROR",
        EMessageIcon::Exclamation, EMessageButtons::Ok);
}

void CPageWriter::CreatePage(HTREEITEM hItem)
{
    const CString tag = m_run.GetNames().GetTag(hItem);
    const CString path = GetPagePath(m_run.GetDestination(), tag);
    m_run.GetLog().Add({ "Generating... ", path });
    m_run.GetUserInterface().SetStatusText(EStatusLine::CurrentFile, path);

    // A tag that is not a plain file name would put the page outside the
    // destination (or nowhere): refused like a file that cannot be created.
    if (!CPathRules::IsPlainFileName(tag)) {
        ReportUnableToOpen(path);
        return;
    }
    const CString fileName = tag + ".htm";
    const std::string native = CPathRules::ToNative(path);
    CSiteOutput& output = m_run.GetOutput();
    output.Want(CPathRules::ToNative(fileName));
    CFileSystem& files = m_run.GetFileSystem();
    // An old page that may be unchanged is compared before anything is made,
    // so that an unchanged page keeps its file and its time.
    std::optional<CRenderedPage> rendered;
    if (output.CompareFirst() && files.IsRegularFile(native)) {
        rendered = CPageRenderer(m_run).Render(hItem);
        if (!rendered->bComplete)
            return;
        if (files.HasContent(native, rendered->strText)) {
            output.ProducedPage(CPathRules::ToNative(fileName), fileName, hItem->GetNode()->m_tStamp);
            return;
        }
    }
    // The new page goes to a temporary file first, made before the page is
    // expanded (a page that cannot be created is not expanded at all), and
    // replaces the old page only when complete: a killed or failed run never
    // leaves a page missing or cut short.
    EFileError error = EFileError::None;
    const auto pFile = files.CreateReplacement(native, error);
    if (pFile == nullptr) {
        ReportUnableToOpen(path);
        return;
    }
    const CRenderedPage page = rendered ? std::move(*rendered) : CPageRenderer(m_run).Render(hItem);
    // Without its template the page would be a bare line end: the old page
    // stays, and a missing one is not made.
    if (!page.bComplete)
        return;
    // A page that could not be written whole (a full disk) is reported like
    // one that could not be created, not passed over in silence.
    pFile->GetFile().Write(page.strText);
    if (pFile->Commit() != EFileError::None) {
        ReportUnableToOpen(path);
        return;
    }
    output.ProducedPage(CPathRules::ToNative(fileName), fileName, hItem->GetNode()->m_tStamp);
}
