#include "generator/CMacroEvaluator.h"

#include "generator/CFormatMacros.h"
#include "generator/CGenerationRun.h"
#include "generator/CHtmlText.h"
#include "generator/CImageMacros.h"
#include "generator/CLinkList.h"
#include "generator/CMacroContext.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"

CMacroEvaluator::CMacroEvaluator(CGenerationRun& run, HTREEITEM hItem, CMacroContext& context)
    : m_run(run)
    , m_hItem(hItem)
    , m_node(*hItem->GetNode())
    , m_context(context)
{ }

int CMacroEvaluator::GetLevel() const
{
    return CSiteTree::GetLevel(m_hItem);
}

bool CMacroEvaluator::IsFollowedByLink() const
{
    const HTREEITEM hNext = m_hItem->GetNextSibling();
    return hNext != nullptr && hNext->GetNode() != nullptr && hNext->GetNode()->m_nType == NODE_LINK;
}

CString& CMacroEvaluator::Value(int nMacro)
{
    return m_context.m_strValue[static_cast<size_t>(nMacro)];
}

void CMacroEvaluator::Evaluate(int nMacro)
{
    if (EvaluateText(nMacro) || EvaluateProject(nMacro) || EvaluateSite(nMacro) || EvaluateFormat(nMacro)
        || EvaluateLinks(nMacro))
        return;
    EvaluateImages(nMacro);
}

void CMacroEvaluator::JoinStyles()
{
    // An element takes one style attribute, and templates put COLOR and
    // BGIMAGE on the same one (<BODY [COLOR] [BGIMAGE]>): with modern markup
    // the background joins the colours' style attribute.
    CString& color = Value(MACRO_COLOR);
    CString& background = Value(MACRO_BGIMAGE);
    constexpr std::string_view kStyle = "style=\"";
    if (color.find(kStyle) == CString::npos || !color.ends_with('"') || !background.starts_with(kStyle)
        || !background.ends_with('"'))
        return;
    // A second background adds its image to the first one's list.
    constexpr std::string_view kImage = "background-image:";
    const std::string_view declaration = std::string_view(background).substr(kStyle.size());
    color.pop_back();
    if (color.find(kImage) != CString::npos && declaration.starts_with(kImage))
        color.append(",").append(declaration.substr(kImage.size()));
    else
        color.append(";").append(declaration);
    background.clear();
}

CString CMacroEvaluator::Prepare(bool bCutLastWord) const
{
    return m_run.GetPreparer().PrepareText(m_node.m_strTitle, bCutLastWord, true);
}

bool CMacroEvaluator::IsTitleHidden() const
{
    return GetStyle(m_node.m_nTitleFormat) == STYLE_HIDDEN;
}

bool CMacroEvaluator::EvaluateText(int nMacro)
{
    switch (nMacro) {
    case MACRO_TEXT:
        m_nFormat = m_node.m_nTextFormat;
        Value(nMacro) = m_run.GetPageLinks().RewriteText(
            m_run.GetPreparer().PrepareText(m_node.m_strText, false, true));
        if (m_run.GetSiteSettings().IsModern())
            Value(nMacro) = m_run.GetPictures().RewriteBodyText(Value(nMacro));
        return true;
    case MACRO_TITLE:
        m_nFormat = m_node.m_nTitleFormat;
        Value(nMacro) = IsTitleHidden() ? CString() : Prepare(false);
        return true;
    case MACRO_REFTITLE:
        Value(nMacro) = Prepare(false);
        return true;
    case MACRO_TAG:
        Value(nMacro) = m_run.GetNames().GetTag(m_hItem);
        return true;
    case MACRO_LINK:
        EvaluateLink();
        return true;
    default:
        return false;
    }
}

void CMacroEvaluator::EvaluateLink()
{
    // The URL is the text after the last blank or line end of the title.
    m_nFormat = m_node.m_nTitleFormat;
    const CString title = Prepare(false);
    const size_t start = FindUrlStart(title);
    if (start == std::string_view::npos)
        return;
    const std::string_view address = std::string_view(title).substr(start);
    const auto rewritten = m_run.GetPageLinks().RewriteReference(address);
    Value(MACRO_LINK) = rewritten ? *rewritten : CString(address);
    if (IsTitleHidden())
        Value(MACRO_TITLE).clear();
    else if (m_run.GetSiteSettings().IsModern())
        Value(MACRO_TITLE) = m_run.GetPreparer().PrepareLinkName(m_node.m_strTitle);
    else
        Value(MACRO_TITLE) = Prepare(true);
}

size_t CMacroEvaluator::FindUrlStart(std::string_view title)
{
    for (size_t k = title.size(); k-- > 1;) {
        if (title[k] == ' ' || title[k] == '\n')
            return k + 1;
    }
    return std::string_view::npos;
}

bool CMacroEvaluator::EvaluateProject(int nMacro)
{
    const CDocProperties& props = m_run.GetProps();
    const CSiteNames& names = m_run.GetNames();
    CSiteNames::CRef ref;
    switch (nMacro) {
    case MACRO_ADDRESS:
        m_nFormat = 0;
        Value(nMacro) = props.m_strEmail;
        return true;
    case MACRO_AUTHOR:
        m_nFormat = 0;
        Value(nMacro) = props.m_strAuthor;
        return true;
    case MACRO_GENERATOR:
        Value(nMacro) = kGeneratorName;
        return true;
    case MACRO_HOME:
        ref = names.GetHomeRef();
        Value(MACRO_HOMENAME) = ref.strName;
        break;
    case MACRO_PARENT:
        ref = names.GetParentRef(m_hItem);
        Value(MACRO_PARENTNAME) = ref.strName;
        break;
    case MACRO_UP:
        ref = names.GetUpRef(m_hItem);
        Value(MACRO_UPNAME) = ref.strName;
        break;
    default:
        return false;
    }
    Value(nMacro) = CHtmlText::Reference(ref.strRef, m_run.GetSiteSettings().GetMarkup());
    return true;
}

bool CMacroEvaluator::EvaluateSite(int nMacro)
{
    const CSiteSettings& settings = m_run.GetSiteSettings();
    const CString* pSetting = nullptr;
    switch (nMacro) {
    case MACRO_LANG:
        pSetting = &settings.m_strLang;
        break;
    case MACRO_DESCRIPTION:
        pSetting = &settings.m_strDescription;
        break;
    case MACRO_BASEURL:
        pSetting = &settings.m_strBaseUrl;
        break;
    case MACRO_CHARSET:
        Value(nMacro) = settings.m_strEncoding;
        return true;
    case MACRO_FAVICON:
        // The run copies the favicon beside the pages whether or not a
        // template names it.
        Value(nMacro) = settings.m_strFavicon.empty() ? CString()
                                                      : "<link rel=\"icon\" href=\""
                + CHtmlText::EscapeAttribute(m_run.GetNames().GetBaseName(settings.m_strFavicon)) + "\">";
        return true;
    case MACRO_FEED:
        // The run writes the feed only where the site has an address.
        Value(nMacro) = settings.m_strBaseUrl.empty()
            ? CString()
            : CString("<link rel=\"alternate\" type=\"application/atom+xml\" href=\"feed.xml\">");
        return true;
    default:
        return false;
    }
    // "!text" falls back to text when the setting is empty, as the image
    // macros fall back to a file. The value is plain text, escaped for the
    // attributes it is meant for (<html lang>, <meta content>, <link href>).
    const CString& def = m_context.m_strDef[static_cast<size_t>(nMacro)];
    const bool bFallback = pSetting->empty() && def.size() > 1 && def.front() == '!';
    Value(nMacro) = CHtmlText::EscapeAttribute(bFallback ? std::string_view(def).substr(1) : *pSetting);
    return true;
}

bool CMacroEvaluator::EvaluateFormat(int nMacro)
{
    const CString& def = m_context.m_strDef[static_cast<size_t>(nMacro)];
    const EMarkup markup = m_run.GetSiteSettings().GetMarkup();
    switch (nMacro) {
    case MACRO_ALIGN:
        Value(nMacro) = CFormatMacros::Align(def, m_nFormat, markup);
        return true;
    case MACRO_STYLE:
        Value(nMacro) = CFormatMacros::Style(def, m_nFormat, markup);
        return true;
    case MACRO_COLOR:
        Value(nMacro) = CFormatMacros::Color(def, m_node.m_info, markup, &m_run.GetProps());
        if (markup == EMarkup::Modern)
            JoinStyles();
        return true;
    default:
        return false;
    }
}

bool CMacroEvaluator::EvaluateLinks(int nMacro)
{
    switch (nMacro) {
    case MACRO_LINKS:
        m_nFormat = 0;
        CLinkList(m_run, m_context).Evaluate(m_hItem);
        return true;
    case MACRO_LINKBODY:
        m_nFormat = 0;
        return true;
    case MACRO_HOMELINKS:
        Value(nMacro) = m_run.GetHomeLinks();
        return true;
    default:
        return false;
    }
}

bool CMacroEvaluator::EvaluateImages(int nMacro)
{
    CImageMacros images(m_run, m_context, m_node);
    switch (nMacro) {
    case MACRO_LINE:
    case MACRO_BGIMAGE:
    case MACRO_BULLET:
        images.EvaluateWithFallback(nMacro);
        if (nMacro == MACRO_BGIMAGE && m_run.GetSiteSettings().IsModern())
            JoinStyles();
        return true;
    case MACRO_IMAGE:
    case MACRO_BACKBUTTON:
    case MACRO_HOMEBUTTON:
    case MACRO_UPBUTTON:
    case MACRO_NEWIMAGE:
    case MACRO_CONSTRIMAGE:
    case MACRO_UPDATEDIMAGE:
        images.EvaluateImage(nMacro);
        return true;
    default:
        return false;
    }
}
