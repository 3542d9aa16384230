#pragma once

#include <cstdint>
#include <string_view>

#include "model/CSiteSettings.h"
#include "platform/CString.h"

class CDocInfo;
class CDocProperties;

// The macros whose value comes from the format state or the object's
// colours: ALIGN, STYLE and COLOR. With modern markup what they make of the
// object is valid HTML5: the alignments are the elements pw-left, pw-right and
// pw-center (an element without attributes, so that a closing directive can
// close it), headings stop at h6, and the colours are a style attribute, the
// link colours in the custom properties --pw-link and --pw-vlink, which the
// class pw-colors lets a style sheet apply (".pw-colors a:link").
class CFormatMacros {
public:
    // "!" picks LEFT, RIGHT or CENTER from the format state's alignment, or
    // takes the text after "!"; a non-empty result is wrapped in "<" ">".
    static CString Align(std::string_view def, uint32_t format, EMarkup markup = EMarkup::Classic);
    // "!" picks H1 to H8 from the format state's style (nothing for normal
    // text), or takes the text after "!"; raw HTML ("<...") stays unchanged,
    // anything else is wrapped in "<" ">".
    static CString Style(std::string_view def, uint32_t format, EMarkup markup = EMarkup::Classic);
    // A definition beginning with "!" gives the four colour attributes of
    // the object; any other is the value unchanged. With modern markup a
    // colour equal to the project's in pDefaults is left to the style sheet,
    // which can follow the reader's light or dark scheme: only the colours
    // chosen for the object are written.
    static CString Color(std::string_view def, const CDocInfo& info, EMarkup markup = EMarkup::Classic,
        const CDocProperties* pDefaults = nullptr);
    // text="#RRGGBB" bgcolor=... link=... vlink=...
    static CString ColorAttributes(const CDocInfo& info);
    // class="pw-colors" style="color:#RRGGBB;background-color:...;--pw-link:...;--pw-vlink:...",
    // without the colours equal to pDefaults'; nothing when all are.
    static CString ColorStyle(const CDocInfo& info, const CDocProperties* pDefaults = nullptr);
};
