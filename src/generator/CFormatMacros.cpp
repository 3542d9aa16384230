#include "generator/CFormatMacros.h"

#include <algorithm>
#include <cstdio>

#include "model/CDocInfo.h"
#include "model/CDocProperties.h"
#include "model/NodeTypes.h"

namespace {

// A COLORREF (red in the low byte) as red x 65536 + green x 256 + blue.
unsigned long RedFirst(COLORREF color)
{
    const unsigned long red = color & 0xFF;
    const unsigned long green = (color >> 8) & 0xFF;
    const unsigned long blue = (color >> 16) & 0xFF;
    return red * 65536 + green * 256 + blue;
}

} // namespace

CString CFormatMacros::Align(std::string_view def, uint32_t format, EMarkup markup)
{
    const bool bModern = markup == EMarkup::Modern;
    CString text(def);
    if (!text.empty() && text.front() == '!') {
        switch (GetAlignment(format)) {
        case ALIGN_LEFT:
            text = bModern ? "pw-left" : "LEFT";
            break;
        case ALIGN_RIGHT:
            text = bModern ? "pw-right" : "RIGHT";
            break;
        case ALIGN_CENTER:
            text = bModern ? "pw-center" : "CENTER";
            break;
        default:
            text.erase(0, 1);
            break;
        }
    }
    return text.empty() ? CString() : "<" + text + ">";
}

CString CFormatMacros::Style(std::string_view def, uint32_t format, EMarkup markup)
{
    CString text(def);
    if (!text.empty() && text.front() == '!') {
        const uint32_t style = GetStyle(format);
        if (style >= 1 && style <= 8 && markup == EMarkup::Modern)
            text = "h" + std::to_string(std::min<uint32_t>(style, 6)); // HTML has no h7 or h8
        else if (style >= 1 && style <= 8)
            text = "H" + std::to_string(style);
        else if (style == STYLE_NORMAL)
            text.clear();
        else
            text.erase(0, 1);
        if (text.empty())
            return {};
    }
    if (!text.empty() && text.front() == '<')
        return text;
    return "<" + text + ">";
}

CString CFormatMacros::Color(
    std::string_view def, const CDocInfo& info, EMarkup markup, const CDocProperties* pDefaults)
{
    if (!def.empty() && def.front() == '!')
        return markup == EMarkup::Modern ? ColorStyle(info, pDefaults) : ColorAttributes(info);
    return CString(def);
}

CString CFormatMacros::ColorAttributes(const CDocInfo& info)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer,
        "text=\"#%06lX\" bgcolor=\"#%06lX\" link=\"#%06lX\" vlink=\"#%06lX\"", RedFirst(info.m_clrText),
        RedFirst(info.m_clrBg), RedFirst(info.m_clrLink), RedFirst(info.m_clrVLink));
    return buffer;
}

CString CFormatMacros::ColorStyle(const CDocInfo& info, const CDocProperties* pDefaults)
{
    const struct {
        const char* pszProperty;
        COLORREF color;
        COLORREF project;
    } kColors[] = {
        { "color", info.m_clrText, pDefaults != nullptr ? pDefaults->m_clrText : 0 },
        { "background-color", info.m_clrBg, pDefaults != nullptr ? pDefaults->m_clrBg : 0 },
        { "--pw-link", info.m_clrLink, pDefaults != nullptr ? pDefaults->m_clrLink : 0 },
        { "--pw-vlink", info.m_clrVLink, pDefaults != nullptr ? pDefaults->m_clrVLink : 0 },
    };
    CString style;
    for (const auto& entry : kColors) {
        // The high byte of a COLORREF is no part of the colour.
        if (pDefaults != nullptr && ((entry.color ^ entry.project) & 0xFFFFFF) == 0)
            continue;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%s%s:#%06lX", style.empty() ? "" : ";", entry.pszProperty,
            RedFirst(entry.color));
        style += buffer;
    }
    if (style.empty())
        return {};
    return "class=\"pw-colors\" style=\"" + style + "\"";
}
