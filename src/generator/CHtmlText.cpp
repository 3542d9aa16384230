#include "generator/CHtmlText.h"

CString CHtmlText::EscapeAttribute(std::string_view text)
{
    CString out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}
