#include "generator/CGenerateDlg.h"

#include "generator/CGenerationRun.h"
#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CFileLocator.h"
#include "platform/CPlatformPaths.h"

CGenerateDlg::CGenerateDlg()
    : m_strDestination(CPlatformPaths::DefaultDestination())
{ }

void CGenerateDlg::Serialize(CArchive& ar)
{
    ar.Exchange(m_strDestination);
    ar.Exchange(m_strSpare);
}

void CGenerateDlg::SetSiteSettings(const CSiteSettings& settings)
{
    if (settings == GetSiteSettings())
        return;
    m_strSpare = settings.ToSpare();
}

COutputManifest CGenerateDlg::OnGenerate(CPagewellDoc& doc) const
{
    const CFileLocator locator(doc.GetFileSystem(), CFileLocator::DefaultShareDir());
    CGenerationRun run(doc.m_tree, doc.m_props, *this, doc.GetUserInterface(), doc.GetFileSystem(), locator);
    run.SetRecordFolder(CPlatformPaths::CacheFolder());
    run.SetProjectFile(doc.GetFileRead());
    run.Run();
    return run.GetProduced();
}

void CGenerateDlg::OnGenerate() const
{
    if (g_pDocument != nullptr)
        OnGenerate(*g_pDocument);
}
