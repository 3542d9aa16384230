#include "generator/CPageWriter.h"

#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "platform/CFile.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

CString CPageWriter::GetPagePath(const CString& destination, const CString& tag)
{
    return CPathRules::JoinPath(destination, tag + ".htm");
}

CString CPageWriter::ToCrLf(std::string_view text)
{
    CString out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t start = 0; start < text.size();) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            out.append(text.substr(start));
            break;
        }
        out.append(text.substr(start, lf - start));
        out.append("\r\n");
        start = lf + 1;
    }
    return out;
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
    // An old page is replaced, never written through (it may be a link).
    EFileError error = EFileError::None;
    const auto pFile = m_run.GetFileSystem().ReplaceForWrite(CPathRules::ToNative(path), error);
    if (pFile == nullptr) {
        ReportUnableToOpen(path);
        return;
    }
    const auto pContext = m_run.CreateNode(hItem);
    // A page that could not be written whole (a full disk) is reported like
    // one that could not be created, not passed over in silence.
    const bool bWritten = pFile->Write(ToCrLf(pContext->m_strOutput + "\n"));
    if (!pFile->Close() || !bWritten)
        ReportUnableToOpen(path);
}
