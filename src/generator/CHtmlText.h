#pragma once

#include <string_view>

#include "model/CSiteSettings.h"
#include "platform/CString.h"

// Plain text on its way into HTML the generator builds itself.
class CHtmlText {
public:
    // The text as an attribute value between double quotes: '&' as "&amp;",
    // '"' as "&quot;" and '<' as "&lt;", everything else unchanged.
    static CString EscapeAttribute(std::string_view text);
    // A project's HTML text (a title, the author) as the value of an
    // attribute quoted with quote: the quote and '<' escaped, and '&' unless
    // it begins a character reference ("&eacute;", "&#20013;"), which keeps
    // its meaning. Text without them is returned unchanged.
    static CString EscapeTextForAttribute(std::string_view text, char quote = '"');
    // A file name as a relative URL: blanks, quotes, brackets, backslashes,
    // "%", "#", "?" and control characters percent-encoded, so that the
    // browser asks for the file of that name. Other characters stay.
    static CString EncodeUrlPath(std::string_view name);
    // A reference "file#anchor" as an href value: escaped, and with modern
    // markup both parts URL-encoded.
    static CString Reference(std::string_view reference, EMarkup markup);
};
