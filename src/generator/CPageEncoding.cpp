#include "generator/CPageEncoding.h"

#include "platform/CCodePage.h"

namespace {

// Whether a character reference may be written as the character: a scalar
// value of 256 or more that is neither a surrogate nor a noncharacter (both
// invalid in a page as themselves). Smaller ones were typed as references on
// purpose, since every such character has a byte in Windows-1252 or is a
// control character.
bool IsWritable(char32_t c)
{
    if (c < 0x100 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    return !(c >= 0xFDD0 && c <= 0xFDEF) && (c & 0xFFFE) != 0xFFFE;
}

// The character of a reference "&#N;" at the start of text, and its length;
// 0 when text does not start with one that IsWritable.
size_t ReadReference(std::string_view text, char32_t& c)
{
    if (!text.starts_with("&#"))
        return 0;
    constexpr size_t kMaxDigits = 7; // 1114111
    size_t i = 2;
    uint32_t value = 0;
    while (i < text.size() && i - 2 < kMaxDigits && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + static_cast<uint32_t>(text[i++] - '0');
    if (i == 2 || i >= text.size() || text[i] != ';' || !IsWritable(value))
        return 0;
    c = value;
    return i + 1;
}

} // namespace

CString CPageEncoding::Encode(std::string_view page, EEncoding encoding)
{
    if (encoding == EEncoding::Windows1252)
        return CString(page);
    CString out;
    out.reserve(page.size() + page.size() / 16);
    for (size_t i = 0; i < page.size();) {
        char32_t c = 0;
        if (page[i] == '&') {
            if (const size_t length = ReadReference(page.substr(i), c); length > 0) {
                CCodePage::AppendUtf8(out, c);
                i += length;
                continue;
            }
        }
        CCodePage::AppendUtf8(out, CCodePage::ToCodePoint(static_cast<unsigned char>(page[i])));
        ++i;
    }
    return out;
}
