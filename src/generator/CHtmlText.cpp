#include "generator/CHtmlText.h"

#include "platform/CCharSet.h"

CString CHtmlText::EscapeAttribute(std::string_view text)
{
    static constexpr CCharSet kEscaped("&\"<");
    if (kEscaped.FindFirstIn(text) == CCharSet::npos)
        return CString(text);
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

CString CHtmlText::EncodeUrlPath(std::string_view name)
{
    static constexpr CCharSet kEncoded(" \"'<>()\\%#?`{}|^[]");
    static constexpr char kHex[] = "0123456789ABCDEF";
    CString out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kEncoded.Contains(c)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

CString CHtmlText::Reference(std::string_view reference, EMarkup markup)
{
    if (markup == EMarkup::Classic)
        return EscapeAttribute(reference);
    const size_t hash = reference.find('#');
    if (hash == std::string_view::npos)
        return EscapeAttribute(EncodeUrlPath(reference));
    return EscapeAttribute(
        EncodeUrlPath(reference.substr(0, hash)) + "#" + EncodeUrlPath(reference.substr(hash + 1)));
}
