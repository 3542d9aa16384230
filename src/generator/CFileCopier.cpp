#include "generator/CFileCopier.h"

#include <utility>
#include <vector>

#include "generator/CCopyList.h"
#include "generator/CGenerationRun.h"
#include "platform/CAtomicFile.h"
#include "platform/CCodePage.h"
#include "platform/CFile.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/IUserInterface.h"

namespace {

// Whether the generator converts a file of that name (modern markup).
bool IsConvertedPicture(const CString& name)
{
    CString lower = name;
    CCodePage::AsciiLower(lower);
    for (const std::string_view extension : { ".jpg", ".jpeg", ".png", ".webp" }) {
        if (lower.ends_with(extension))
            return true;
    }
    return false;
}

} // namespace

void CFileCopier::CopyFiles(const CCopyList& copyList, const CString& destination)
{
    const bool bConvert = m_run.GetSiteSettings().IsModern();
    std::vector<std::pair<CString, CString>> pictures;
    for (const CString& source : copyList.GetEntries()) {
        CString name = CPathRules::GetFileName(source);
        // Only the file name is lowered: a lowered folder would be another folder.
        if (m_run.GetNames().IsLowercase())
            CCodePage::AsciiLower(name);
        if (bConvert && IsConvertedPicture(name) && CPathRules::IsInsideWorkspace(source)
            && m_run.GetFileSystem().IsRegularFile(m_run.GetLocator().LocateForRead(source)))
            pictures.emplace_back(source, name);
        else
            CopyFile(source, CPathRules::AppendName(destination, name));
    }
    m_run.GetPictures().PublishCopies(pictures);
}

void CFileCopier::CopyFile(const CString& source, const CString& destination)
{
    // A project is a document people send each other: its image names must
    // not publish any file of the machine beside the pages.
    if (m_run.GetLocator().LiesOutside(source)) {
        m_run.GetUserInterface().MessageBox("Unable to copy " + source + ": it lies outside the workspace.",
            "CopyFiles() ERROR", EMessageIcon::Exclamation, EMessageButtons::Ok);
        return;
    }
    CFileSystem& files = m_run.GetFileSystem();
    CSiteOutput& output = m_run.GetOutput();
    const std::string name = CPathRules::ToNative(CPathRules::GetFileName(destination));
    output.Want(name);
    EFileError error = EFileError::None;
    const std::string sourcePath = m_run.GetLocator().LocateForRead(source);
    const auto pIn = files.OpenForRead(sourcePath, error);
    if (pIn == nullptr) {
        m_run.GetLog().Add({ "Unable to open ", source, " for read." });
        return;
    }
    // A copy that is there already, byte for byte, keeps its file and time.
    const std::string destinationPath = CPathRules::ToNative(destination);
    if (output.CompareFirst() && files.HaveSameContent(sourcePath, destinationPath)) {
        m_run.GetUserInterface().SetStatusText(EStatusLine::CurrentTag, source);
        m_run.GetLog().Add({ "Copying file ", source, " to ", destination });
        output.Produced(
            name, output.NeedsDigest(name) ? output.ReadDigest(destinationPath) : std::nullopt, false);
        return;
    }
    // The copy replaces the old file only when complete.
    const auto pOut = files.CreateReplacement(CPathRules::ToNative(destination), error);
    if (pOut == nullptr) {
        m_run.GetLog().Add({ "Unable to open ", destination, " for write." });
        return;
    }
    m_run.GetUserInterface().SetStatusText(EStatusLine::CurrentTag, source);
    m_run.GetLog().Add({ "Copying file ", source, " to ", destination });
    // A copy that fails half-way is reported with the message of its side,
    // not passed over in silence.
    char buffer[kBlockSize];
    COutputManifest::CDigester digester;
    for (;;) {
        const ssize_t got = pIn->Read(buffer, sizeof buffer);
        if (got < 0) {
            m_run.GetLog().Add({ "Unable to open ", source, " for read." });
            return;
        }
        if (got == 0)
            break;
        const std::string_view block(buffer, static_cast<size_t>(got));
        if (!pOut->GetFile().Write(block)) {
            m_run.GetLog().Add({ "Unable to open ", destination, " for write." });
            return;
        }
        digester.Add(block);
    }
    if (pOut->Commit() != EFileError::None) {
        m_run.GetLog().Add({ "Unable to open ", destination, " for write." });
        return;
    }
    output.Produced(name, digester.Get(), true);
}
