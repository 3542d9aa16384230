#include "checker/CContrastCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "checker/CCheckContext.h"
#include "model/CNode.h"

namespace {

double Linear(uint32_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t clr)
{
    return 0.2126 * Linear(clr & 0xFF) + 0.7152 * Linear((clr >> 8) & 0xFF)
        + 0.0722 * Linear((clr >> 16) & 0xFF);
}

// As the COLOR macro prints it: red first.
CString Hex(uint32_t clr)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF);
    return buffer;
}

} // namespace

double CContrastCheck::GetContrast(uint32_t clrA, uint32_t clrB)
{
    const double a = Luminance(clrA);
    const double b = Luminance(clrB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void CContrastCheck::Run(CCheckContext& context)
{
    struct CUse {
        HTREEITEM hFirst;
        size_t nPages;
    };
    // (which colour, foreground, background) -> first page; in the order found.
    std::map<std::tuple<int, uint32_t, uint32_t>, size_t> index;
    std::vector<std::pair<std::tuple<int, uint32_t, uint32_t>, CUse>> uses;
    constexpr const char* kNames[] = { "text", "link", "visited-link" };
    for (const HTREEITEM hPage : context.GetPages()) {
        const CDocInfo& info = hPage->GetNode()->m_info;
        const uint32_t bg = info.m_clrBg & 0xFFFFFF;
        const uint32_t colors[]
            = { info.m_clrText & 0xFFFFFFu, info.m_clrLink & 0xFFFFFFu, info.m_clrVLink & 0xFFFFFFu };
        for (int i = 0; i < 3; ++i) {
            const auto key = std::tuple { i, colors[i], bg };
            const auto [it, bNew] = index.emplace(key, uses.size());
            if (bNew)
                uses.push_back({ key, { hPage, 1 } });
            else
                ++uses[it->second].second.nPages;
        }
    }
    for (const auto& [key, use] : uses) {
        const auto [i, fg, bg] = key;
        const double contrast = GetContrast(fg, bg);
        if (contrast >= kMinContrast)
            continue;
        char ratio[16];
        std::snprintf(ratio, sizeof ratio, "%.1f:1", contrast);
        CString message = CString("the ") + kNames[i] + " colour " + Hex(fg) + " on the background " + Hex(bg)
            + " has a contrast of " + ratio;
        if (use.nPages > 1)
            message += " (on " + std::to_string(use.nPages) + " pages)";
        context.Add(ESeverity::Warning, use.hFirst, message,
            "choose colours with a contrast of at least 4.5:1 in the object's properties");
    }
}
