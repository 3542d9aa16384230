#include "generator/CImageMacros.h"

#include "generator/CGenerationRun.h"
#include "generator/CHtmlText.h"
#include "generator/CMacroContext.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "platform/CPathRules.h"

namespace {

constexpr std::string_view kBackgroundStyle = "style=\"background-image:";

bool BeginsWith(const CString& text, char c)
{
    return !text.empty() && text.front() == c;
}

} // namespace

void CImageMacros::EvaluateWithFallback(int nMacro)
{
    const CDocProperties& props = m_run.GetProps();
    const CString* pProperty = &props.m_strBullet;
    if (nMacro == MACRO_LINE)
        pProperty = &m_node.m_info.m_strLineImage;
    else if (nMacro == MACRO_BGIMAGE)
        pProperty = &m_node.m_info.m_strBgBitmap;

    CString& value = m_context.m_strValue[static_cast<size_t>(nMacro)];
    CString def = m_context.m_strDef[static_cast<size_t>(nMacro)];
    if (BeginsWith(def, '!')) {
        if (!pProperty->empty()) {
            def = GetPropertyPath(nMacro, *pProperty);
        } else if (def == "!") {
            return;
        } else {
            def.erase(0, 1);
            // A background fallback only names the file: the attributes
            // gathered so far stay, and the new one is added below.
            if (nMacro != MACRO_BGIMAGE)
                value = def;
        }
    }
    if (BeginsWith(def, '<')) {
        value = def;
        return;
    }
    if (m_run.GetSiteSettings().IsModern())
        def = m_run.GetVectorImages().Prefer(def);
    m_run.GetCopyList().AddToCopyList(def);
    value = MakeFallbackValue(nMacro, def);
}

CString CImageMacros::GetPropertyPath(int nMacro, const CString& property)
{
    switch (nMacro) {
    case MACRO_LINE:
    case MACRO_BGIMAGE:
    case MACRO_BULLET:
        if (CPathRules::BeginsWithSeparator(property))
            return property;
        return (nMacro == MACRO_LINE             ? "lineimages/"
                       : nMacro == MACRO_BGIMAGE ? "background/"
                                                 : "bullets/")
            + property;
    default:
        return "images/" + property;
    }
}

CString CImageMacros::GetSource(const CString& path) const
{
    const CString base = m_run.GetNames().GetBaseName(path);
    if (m_run.GetSiteSettings().IsModern())
        return CHtmlText::EscapeAttribute(CHtmlText::EncodeUrlPath(base));
    return CHtmlText::EscapeAttribute(base);
}

CString CImageMacros::GetSizeAttributes(const CString& path) const
{
    const auto size = m_run.GetPictures().GetShownSize(path);
    if (!size)
        return {};
    return " width=\"" + std::to_string(size->first) + "\" height=\"" + std::to_string(size->second) + "\"";
}

CString CImageMacros::MakeFallbackValue(int nMacro, const CString& path)
{
    const CString source = GetSource(path);
    const CString& value = m_context.m_strValue[MACRO_BGIMAGE];
    if (!m_run.GetSiteSettings().IsModern()) {
        if (nMacro == MACRO_LINE)
            return "<IMG SRC=\"" + source + "\">";
        if (nMacro == MACRO_BGIMAGE)
            return value + "background=\"" + source + "\"";
        return "<IMG SRC=\"" + source + "\" border=0 vspace=0>";
    }
    // Decorative images: an empty alternative text.
    if (nMacro == MACRO_LINE)
        return "<img src=\"" + source + "\" alt=\"\"" + GetSizeAttributes(path) + ">";
    if (nMacro == MACRO_BULLET)
        return "<img src=\"" + source + "\" alt=\"\" class=\"bullet\"" + GetSizeAttributes(path) + ">";
    // A second background joins the first one's style attribute: an element
    // takes one style attribute only.
    const CString image = "url('" + source + "')";
    if (value.starts_with(kBackgroundStyle) && value.ends_with('"'))
        return value.substr(0, value.size() - 1) + "," + image + "\"";
    return value + (value.empty() ? "" : " ") + CString(kBackgroundStyle) + image + "\"";
}

CImageMacros::CImageSource CImageMacros::GetImageSource(int nMacro) const
{
    const CDocProperties& props = m_run.GetProps();
    const CDocInfo& info = m_node.m_info;
    switch (nMacro) {
    case MACRO_BACKBUTTON:
        return { &props.m_strBackButton, "Back", 1 };
    case MACRO_HOMEBUTTON:
        return { &props.m_strHomeButton, "Home", 1 };
    case MACRO_UPBUTTON:
        return { &props.m_strUpButton, "Up", 1 };
    case MACRO_NEWIMAGE:
        return { &props.m_strNewImage, "New", info.m_bNew };
    case MACRO_CONSTRIMAGE:
        return { &props.m_strConstructionImage, "Construction", info.m_bConstruction };
    case MACRO_UPDATEDIMAGE:
        return { &props.m_strUpdatedImage, "Updated", info.m_bUpdated };
    default:
        return { &info.m_strIcon, nullptr, 1 };
    }
}

void CImageMacros::EvaluateImage(int nMacro)
{
    const CImageSource source = GetImageSource(nMacro);
    CString& value = m_context.m_strValue[static_cast<size_t>(nMacro)];
    CString def = m_context.m_strDef[static_cast<size_t>(nMacro)];
    if (def == "!") {
        if (source.pProperty->empty()) {
            value.clear();
            return;
        }
        def = GetPropertyPath(nMacro, *source.pProperty);
    } else if (BeginsWith(def, '!')) {
        def.erase(0, 1);
    }
    if (BeginsWith(def, '<')) {
        value = def;
        return;
    }
    if (source.bRequired == 0)
        return;
    if (m_run.GetSiteSettings().IsModern())
        def = m_run.GetVectorImages().Prefer(def);
    m_run.GetCopyList().AddToCopyList(def);
    if (m_run.GetSiteSettings().IsModern()) {
        value = "<img src=\"" + GetSource(def) + "\" alt=\""
            + CHtmlText::EscapeAttribute(GetModernAlt(source)) + "\"" + GetSizeAttributes(def) + ">";
        return;
    }
    // Every form gets the ALT text of its macro: an image element needs one.
    const CString alt = source.pszAlt != nullptr
        ? CString(source.pszAlt)
        : m_run.GetPreparer().PrepareText(m_node.m_strTitle, m_node.m_nType == NODE_LINK, true);
    value = "<IMG SRC=\"" + GetSource(def) + "\" ALT=\"" + CHtmlText::EscapeAttribute(alt) + "\" border=0>";
}

CString CImageMacros::GetModernAlt(const CImageSource& source) const
{
    if (source.pszAlt != nullptr)
        return source.pszAlt;
    // The icon stands beside the title it would repeat: a screen reader
    // should say the title once. Only with the title hidden does the icon
    // speak for the object.
    if (GetStyle(m_node.m_nTitleFormat) != STYLE_HIDDEN)
        return {};
    if (m_node.m_nType == NODE_LINK)
        return m_run.GetPreparer().PrepareLinkName(m_node.m_strTitle);
    return m_run.GetPreparer().PrepareText(m_node.m_strTitle, false, true);
}
