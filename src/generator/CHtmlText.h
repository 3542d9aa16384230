#pragma once

#include <string_view>

#include "platform/CString.h"

// Plain text on its way into HTML the generator builds itself.
class CHtmlText {
public:
    // The text as an attribute value between double quotes: '&' as "&amp;",
    // '"' as "&quot;" and '<' as "&lt;", everything else unchanged.
    static CString EscapeAttribute(std::string_view text);
};
