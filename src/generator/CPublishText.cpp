#include "generator/CPublishText.h"

#include <cctype>
#include <ctime>

#include "platform/CCodePage.h"

namespace {

// Whether XML 1.0 allows the code point in a document: tab, the line ends,
// and everything from the blank on but the surrogates, U+FFFE and U+FFFF.
bool IsXmlChar(char32_t code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The length of the well-formed UTF-8 sequence at utf8[pos] and its code
// point; 0 when the bytes there are not one (a stray or cut byte, an overlong
// form, a surrogate).
size_t DecodeUtf8(std::string_view utf8, size_t pos, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (utf8.size() - pos < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[pos + i]);
        if ((byte & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string CPublishText::EscapeXml(std::string_view utf8)
{
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t code = 0;
        const size_t length = DecodeUtf8(utf8, pos, code);
        if (length == 0) {
            out += kReplacement;
            ++pos;
            continue;
        }
        switch (code) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (IsXmlChar(code))
                out += utf8.substr(pos, length);
        }
        pos += length;
    }
    return out;
}

namespace {

// Appends bytes of UTF-8 text to a URL, percent-encoding those that keep is
// false for.
template <typename Keep> void AppendEncoded(std::string& url, std::string_view utf8, Keep keep)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (keep(byte)) {
            url += c;
            continue;
        }
        url += '%';
        url += kHex[byte >> 4];
        url += kHex[byte & 15];
    }
}

bool IsUnreserved(unsigned char byte)
{
    return (byte < 0x80 && std::isalnum(byte) != 0) || byte == '-' || byte == '.' || byte == '_'
        || byte == '~';
}

} // namespace

std::string CPublishText::AbsoluteUrl(std::string_view baseUrl, std::string_view fileName)
{
    // The base URL keeps its own delimiters; only what no URL may hold
    // (blanks, controls, quotes, bytes beyond ASCII) is encoded.
    std::string url;
    AppendEncoded(url, CCodePage::ToUtf8(baseUrl), [](unsigned char byte) {
        return byte > 0x20 && byte < 0x7F
            && std::string_view("\"<>\\^`{|}").find(static_cast<char>(byte)) == std::string_view::npos;
    });
    if (url.empty() || url.back() != '/')
        url += '/';
    AppendEncoded(url, CCodePage::ToUtf8(fileName),
        [](unsigned char byte) { return IsUnreserved(byte) || byte == '#'; });
    return url;
}

std::string CPublishText::DateTime(int64_t time)
{
    const auto t = static_cast<std::time_t>(time);
    std::tm utc {};
    gmtime_r(&t, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buffer;
}

namespace {

int DigitValue(char c, int nBase)
{
    const auto byte = static_cast<unsigned char>(c);
    int value = 99;
    if (std::isdigit(byte) != 0)
        value = c - '0';
    else if (std::isxdigit(byte) != 0)
        value = (c | 0x20) - 'a' + 10;
    return value < nBase ? value : -1;
}

// The code point of a character reference's name ("amp", "#38", "#x26"), or 0.
char32_t ReferenceCode(std::string_view name)
{
    static constexpr struct {
        std::string_view name;
        char32_t code;
    } kNamed[] = { { "amp", '&' }, { "lt", '<' }, { "gt", '>' }, { "quot", '"' }, { "apos", '\'' },
        { "nbsp", ' ' } };
    for (const auto& entry : kNamed) {
        if (name == entry.name)
            return entry.code;
    }
    if (name.size() < 2 || name[0] != '#')
        return 0;
    const bool bHex = name[1] == 'x' || name[1] == 'X';
    const int nBase = bHex ? 16 : 10;
    char32_t code = 0;
    for (size_t i = bHex ? 2 : 1; i < name.size(); ++i) {
        const int digit = DigitValue(name[i], nBase);
        if (digit < 0 || code > 0x10FFFF)
            return 0;
        code = code * static_cast<char32_t>(nBase) + static_cast<char32_t>(digit);
    }
    return code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ? 0 : code;
}

// Whether the tag starting at pos breaks a line or a block of text, so that
// the words on either side stay apart when it is removed.
bool IsBreakingTag(std::string_view html, size_t pos)
{
    size_t start = pos + 1;
    if (start < html.size() && html[start] == '/')
        ++start;
    size_t end = start;
    while (end < html.size() && std::isalnum(static_cast<unsigned char>(html[end])) != 0)
        ++end;
    std::string name(html.substr(start, end - start));
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::string_view kBreaking[] = { "br", "p", "div", "li", "ul", "ol", "dl", "dt", "dd",
        "h1", "h2", "h3", "h4", "h5", "h6", "hr", "table", "tr", "td", "th", "blockquote", "pre" };
    for (const std::string_view breaking : kBreaking) {
        if (name == breaking)
            return true;
    }
    return false;
}

// Where a tag or comment starting at pos ends (one past it).
size_t SkipMarkup(std::string_view html, size_t pos)
{
    const bool bComment = html.substr(pos, 4) == "<!--";
    const size_t end = bComment ? html.find("-->", pos + 4) : html.find('>', pos);
    if (end == std::string_view::npos)
        return html.size();
    return end + (bComment ? 3 : 1);
}

} // namespace

std::string CPublishText::Summary(std::string_view html, size_t nMaxBytes)
{
    std::string plain;
    for (size_t pos = 0; pos < html.size();) {
        if (html[pos] == '<') {
            if (IsBreakingTag(html, pos))
                plain += ' ';
            pos = SkipMarkup(html, pos);
            continue;
        }
        if (html.substr(pos, 4) == "[$i]") {
            pos += 4;
            continue;
        }
        if (html[pos] == '&') {
            const size_t semicolon = html.find(';', pos);
            const char32_t code = semicolon == std::string_view::npos || semicolon - pos > 10
                ? 0
                : ReferenceCode(html.substr(pos + 1, semicolon - pos - 1));
            if (code != 0) {
                CCodePage::AppendUtf8(plain, code);
                pos = semicolon + 1;
                continue;
            }
        }
        CCodePage::AppendUtf8(plain, CCodePage::ToCodePoint(static_cast<unsigned char>(html[pos++])));
    }
    std::string folded;
    for (const char c : plain) {
        const bool bSpace = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (bSpace && (folded.empty() || folded.back() == ' '))
            continue;
        folded += bSpace ? ' ' : c;
    }
    while (!folded.empty() && folded.back() == ' ')
        folded.pop_back();
    if (folded.size() <= nMaxBytes)
        return folded;
    size_t cut = folded.rfind(' ', nMaxBytes);
    if (cut == std::string::npos || cut < nMaxBytes / 2) {
        cut = nMaxBytes;
        // Never cut a UTF-8 sequence in two.
        while (cut > 0 && (static_cast<unsigned char>(folded[cut]) & 0xC0) == 0x80)
            --cut;
    }
    folded.resize(cut);
    folded += "\xE2\x80\xA6";
    return folded;
}
