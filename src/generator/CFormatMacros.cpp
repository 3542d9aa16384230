#include "generator/CFormatMacros.h"

#include <cstdio>

#include "model/CDocInfo.h"
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

CString CFormatMacros::Align(std::string_view def, uint32_t format)
{
    CString text(def);
    if (!text.empty() && text.front() == '!') {
        switch (GetAlignment(format)) {
        case ALIGN_LEFT:
            text = "LEFT";
            break;
        case ALIGN_RIGHT:
            text = "RIGHT";
            break;
        case ALIGN_CENTER:
            text = "CENTER";
            break;
        default:
            text.erase(0, 1);
            break;
        }
    }
    return text.empty() ? CString() : "<" + text + ">";
}

CString CFormatMacros::Style(std::string_view def, uint32_t format)
{
    CString text(def);
    if (!text.empty() && text.front() == '!') {
        const uint32_t style = GetStyle(format);
        if (style >= 1 && style <= 8)
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

CString CFormatMacros::Color(std::string_view def, const CDocInfo& info)
{
    if (!def.empty() && def.front() == '!')
        return ColorAttributes(info);
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
