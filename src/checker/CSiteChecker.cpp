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
#include "model/CLanguageTag.h"
#include "model/CPagewellDoc.h"
#include "platform/CFileLocator.h"
#include "platform/CPlatformPaths.h"

namespace {

// A language that is not a tag reaches every page's lang attribute, where
// browsers, screen readers and search engines ignore it.
void CheckLanguage(const CSiteSettings& settings, std::vector<CFinding>& findings)
{
    if (settings.m_strLang.empty() || CLanguageTag::IsValid(settings.m_strLang))
        return;
    const CSiteSettings::CKey* pKey = CSiteSettings::FindKey("lang");
    findings.push_back(
        { ESeverity::Warning, {}, CLanguageTag::Explain(settings.m_strLang, CSiteSettings::FieldName(*pKey)),
            "correct it under File > Site Settings, or with pagewell-cli settings PROJECT.pwl lang=CODE" });
}

} // namespace

std::vector<CFinding> CSiteChecker::Check(CPagewellDoc& doc, CCheckOptions options)
{
    const CFileLocator locator(doc.GetFileSystem(), CFileLocator::DefaultShareDir());
    options.settings = doc.m_dlgGenerate.GetSiteSettings();
    options.strPictureCache = CPlatformPaths::CacheFolder() + "/pictures";
    CCheckContext context(doc.m_tree, doc.m_props, doc.m_dlgGenerate.m_bLowercase != 0,
        doc.m_dlgGenerate.m_strDestination, doc.GetFileSystem(), locator, options);
    std::vector<CFinding> findings = Check(context);
    CheckLanguage(doc.m_dlgGenerate.GetSiteSettings(), findings);
    return findings;
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
