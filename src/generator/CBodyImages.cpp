#include "generator/CBodyImages.h"

#include <cctype>

#include "generator/CHtmlText.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Reads the attributes of a start tag from pos to its '>'; false when the
// tag does not end.
bool ReadAttributes(std::string_view text, size_t& pos, CBodyImages::CImg& img)
{
    while (pos < text.size()) {
        while (pos < text.size() && (IsBlank(text[pos]) || text[pos] == '/'))
            ++pos;
        if (pos >= text.size())
            return false;
        if (text[pos] == '>') {
            ++pos;
            return true;
        }
        const size_t nameStart = pos;
        while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '=' && text[pos] != '>'
            && text[pos] != '/')
            ++pos;
        const std::string_view name = text.substr(nameStart, pos - nameStart);
        size_t look = pos;
        while (look < text.size() && IsBlank(text[look]))
            ++look;
        size_t valueStart = pos;
        size_t valueEnd = pos;
        std::string_view value;
        if (look < text.size() && text[look] == '=') {
            pos = look + 1;
            while (pos < text.size() && IsBlank(text[pos]))
                ++pos;
            valueStart = pos;
            if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
                const size_t close = text.find(text[pos], pos + 1);
                if (close == std::string_view::npos)
                    return false;
                value = text.substr(pos + 1, close - pos - 1);
                pos = close + 1;
            } else {
                while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '>')
                    ++pos;
                value = text.substr(valueStart, pos - valueStart);
            }
            valueEnd = pos;
        }
        if (EqualNoCase(name, "src") && !img.src) {
            img.src = value;
            img.nSrcStart = valueStart;
            img.nSrcEnd = valueEnd;
        }
        img.bHasSize = img.bHasSize || EqualNoCase(name, "width") || EqualNoCase(name, "height");
        img.bHasSrcset = img.bHasSrcset || EqualNoCase(name, "srcset");
        img.bHasLoading = img.bHasLoading || EqualNoCase(name, "loading");
        img.bHasDecoding = img.bHasDecoding || EqualNoCase(name, "decoding");
        img.bHasAlt = img.bHasAlt || EqualNoCase(name, "alt");
    }
    return false;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

CString MakeSrcset(const CPicture& picture)
{
    CString srcset;
    for (const CPicture::CSource& source : picture.srcset) {
        if (!srcset.empty())
            srcset += ", ";
        srcset += CHtmlText::EncodeUrlPath(source.strName) + " " + std::to_string(source.nWidth) + "w";
    }
    return CHtmlText::EscapeAttribute(srcset);
}

} // namespace

std::vector<CBodyImages::CImg> CBodyImages::FindImages(std::string_view text)
{
    std::vector<CImg> images;
    for (size_t pos = text.find('<'); pos != std::string_view::npos; pos = text.find('<', pos)) {
        const size_t start = pos++;
        if (text.size() - pos < 4 || !EqualNoCase(text.substr(pos, 3), "img")
            || !(IsBlank(text[pos + 3]) || text[pos + 3] == '>' || text[pos + 3] == '/'))
            continue;
        CImg img;
        img.nStart = start;
        pos += 3;
        if (!ReadAttributes(text, pos, img))
            break;
        img.nEnd = pos;
        images.push_back(img);
    }
    return images;
}

std::optional<CString> CBodyImages::GetImageName(std::string_view src)
{
    CString name;
    for (size_t i = 0; i < src.size(); ++i) {
        if (src[i] == '%' && i + 2 < src.size() && HexValue(src[i + 1]) >= 0 && HexValue(src[i + 2]) >= 0) {
            name += static_cast<char>(HexValue(src[i + 1]) * 16 + HexValue(src[i + 2]));
            i += 2;
        } else if (src.substr(i).starts_with("&amp;")) {
            name += '&';
            i += 4;
        } else {
            name += src[i];
        }
    }
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:?#") != CString::npos)
        return std::nullopt;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < ' ')
            return std::nullopt;
    }
    return name;
}

CString CBodyImages::Rewrite(std::string_view text, const CLookup& lookup, int& nPagePictures)
{
    const std::vector<CImg> images = FindImages(text);
    if (images.empty())
        return CString(text);
    CString result;
    result.reserve(text.size() + images.size() * 160);
    size_t done = 0;
    for (const CImg& img : images) {
        const bool bFirst = nPagePictures++ == 0;
        const std::optional<CString> name = img.src ? GetImageName(*img.src) : std::nullopt;
        const CPicture* pPicture = name ? lookup(*name) : nullptr;
        if (pPicture == nullptr)
            continue;
        size_t end = img.nEnd - 1;
        if (end > img.nStart && text[end - 1] == '/')
            --end;
        while (end > img.nStart && IsBlank(text[end - 1]))
            --end;
        result.append(text.substr(done, img.nSrcStart - done));
        result += "\"" + CHtmlText::EscapeAttribute(CHtmlText::EncodeUrlPath(pPicture->strSrc)) + "\"";
        result.append(text.substr(img.nSrcEnd, end - img.nSrcEnd));
        if (!img.bHasSize && pPicture->nWidth > 0)
            result += " width=\"" + std::to_string(pPicture->nWidth) + "\" height=\""
                + std::to_string(pPicture->nHeight) + "\"";
        if (!img.bHasSrcset && !pPicture->srcset.empty())
            result += " srcset=\"" + MakeSrcset(*pPicture)
                + "\" sizes=\"(max-width: " + std::to_string(pPicture->nWidth) + "px) 100vw, "
                + std::to_string(pPicture->nWidth) + "px\"";
        if (!bFirst && !img.bHasLoading)
            result += " loading=\"lazy\"";
        if (!bFirst && !img.bHasDecoding)
            result += " decoding=\"async\"";
        done = end;
    }
    result.append(text.substr(done));
    return result;
}
