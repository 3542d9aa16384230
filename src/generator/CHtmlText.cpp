#include "generator/CHtmlText.h"

#include <cctype>

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

namespace {

// Whether text[pos] is the '&' of a character reference: a name or a decimal
// or hexadecimal number, ended by ';'.
bool BeginsReference(std::string_view text, size_t pos)
{
    size_t end = pos + 1;
    const bool bNumber = end < text.size() && text[end] == '#';
    if (bNumber) {
        ++end;
        if (end < text.size() && (text[end] == 'x' || text[end] == 'X'))
            ++end;
    }
    const size_t start = end;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])) != 0)
        ++end;
    return end > start && end < text.size() && text[end] == ';';
}

} // namespace

CString CHtmlText::EscapeTextForAttribute(std::string_view text, char quote)
{
    const char special[] = { '&', '<', quote, '\0' };
    if (text.find_first_of(special) == std::string_view::npos)
        return CString(text);
    CString out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&' && !BeginsReference(text, i))
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == quote)
            out += quote == '"' ? "&quot;" : "&#39;";
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
