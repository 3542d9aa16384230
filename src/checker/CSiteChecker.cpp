#include "checker/CSiteChecker.h"

#include <memory>

#include "checker/CBannerCheck.h"
#include "checker/CContrastCheck.h"
#include "checker/CFileNameCheck.h"
#include "checker/CImageCheck.h"
#include "checker/CLinkCheck.h"
#include "checker/CPictureCheck.h"
#include "checker/CTemplateCheck.h"
#include "checker/CTitleCheck.h"
#include "checker/CTypeCheck.h"
#include "model/CPagewellDoc.h"
#include "platform/CFileLocator.h"
#include "platform/CPlatformPaths.h"

std::vector<CFinding> CSiteChecker::Check(CPagewellDoc& doc, CCheckOptions options)
{
    const CFileLocator locator(doc.GetFileSystem(), CFileLocator::DefaultShareDir());
    options.settings = doc.m_dlgGenerate.GetSiteSettings();
    options.strPictureCache = CPlatformPaths::CacheFolder() + "/pictures";
    CCheckContext context(doc.m_tree, doc.m_props, doc.m_dlgGenerate.m_bLowercase != 0,
        doc.m_dlgGenerate.m_strDestination, doc.GetFileSystem(), locator, options);
    return Check(context);
}

std::vector<CFinding> CSiteChecker::Check(CCheckContext& context)
{
    if (context.GetTree().GetRootItem() == nullptr)
        return {};
    // The templates first: they tell which image properties a run takes.
    std::unique_ptr<ICheck> checks[] = { std::make_unique<CTypeCheck>(), std::make_unique<CTemplateCheck>(),
        std::make_unique<CFileNameCheck>(), std::make_unique<CImageCheck>(), std::make_unique<CLinkCheck>(),
        std::make_unique<CBannerCheck>(), std::make_unique<CContrastCheck>(), std::make_unique<CTitleCheck>(),
        std::make_unique<CPictureCheck>() };
    for (const auto& pCheck : checks)
        pCheck->Run(context);
    return std::move(context.GetFindings());
}
