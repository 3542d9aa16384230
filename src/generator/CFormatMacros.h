#pragma once

#include <cstdint>
#include <string_view>

#include "platform/CString.h"

class CDocInfo;

// The macros whose value comes from the format state or the object's
// colours: ALIGN, STYLE and COLOR.
class CFormatMacros {
public:
    // "!" picks LEFT, RIGHT or CENTER from the format state's alignment, or
    // takes the text after "!"; a non-empty result is wrapped in "<" ">".
    static CString Align(std::string_view def, uint32_t format);
    // "!" picks H1 to H8 from the format state's style (nothing for normal
    // text), or takes the text after "!"; raw HTML ("<...") stays unchanged,
    // anything else is wrapped in "<" ">".
    static CString Style(std::string_view def, uint32_t format);
    // A definition beginning with "!" gives the four colour attributes of
    // the object; any other is the value unchanged.
    static CString Color(std::string_view def, const CDocInfo& info);
    // text="#RRGGBB" bgcolor=... link=... vlink=...
    static CString ColorAttributes(const CDocInfo& info);
};
