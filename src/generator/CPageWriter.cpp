#include "generator/CPageWriter.h"

#include <algorithm>

#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/CPageEncoding.h"
#include "platform/CFile.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

CString CPageWriter::GetPagePath(const CString& destination, const CString& tag)
{
    return CPathRules::JoinPath(destination, tag + ".htm");
}

CString CPageWriter::MakePageText(std::string_view expansion)
{
    // Room for a CR every 8 characters, so that a page is rarely copied
    // again as it grows (counting the line ends first costs more).
    CString text;
    text.reserve(expansion.size() + expansion.size() / 8 + 2);
    for (size_t start = 0; start < expansion.size();) {
        const size_t lf = std::min(expansion.find('\n', start), expansion.size());
        text.append(expansion.substr(start, lf - start));
        if (lf < expansion.size())
            text.append("\r\n");
        start = lf + 1;
    }
    text.append("\r\n");
    return text;
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
    // An old page (or a link left in its place) is deleted and a new file made.
    EFileError error = EFileError::None;
    const auto pFile = m_run.GetFileSystem().ReplaceForWrite(CPathRules::ToNative(path), error);
    if (pFile == nullptr) {
        ReportUnableToOpen(path);
        return;
    }
    const auto pContext = m_run.CreateNode(hItem);
    // A page that could not be written whole (a full disk) is reported like
    // one that could not be created, not passed over in silence.
    CString text = MakePageText(pContext->m_strOutput);
    if (m_run.GetSiteSettings().IsUtf8())
        text = CPageEncoding::Encode(text, CPageEncoding::EEncoding::Utf8);
    const bool bWritten = pFile->Write(text);
    if (!pFile->Close() || !bWritten)
        ReportUnableToOpen(path);
}
