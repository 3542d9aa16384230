#include "model/CSiteSettings.h"

#include <algorithm>
#include <array>
#include <string>

#include "model/CLanguageTag.h"
#include "platform/CCodePage.h"

namespace {

constexpr std::array<std::string_view, 2> kMarkups
    = { CSiteSettings::kMarkupClassic, CSiteSettings::kMarkupModern };
constexpr std::array<std::string_view, 2> kEncodings
    = { CSiteSettings::kEncodingWindows1252, CSiteSettings::kEncodingUtf8 };
constexpr std::array<std::string_view, 2> kYesNo = { "no", "yes" };
constexpr std::array<std::string_view, 2> kExtensions
    = { CSiteSettings::kExtensionHtm, CSiteSettings::kExtensionHtml };

const std::array<CSiteSettings::CKey, 11> kKeys = { {
    { "lang", &CSiteSettings::m_strLang, "", {}, "Site &language:",
        "The language of the pages, as a language tag such as en or de-CH (the LANG macro)." },
    { "description", &CSiteSettings::m_strDescription, "", {}, "Site &description:",
        "One or two sentences about the site, for search engines (the DESCRIPTION macro)." },
    { "baseurl", &CSiteSettings::m_strBaseUrl, "", {}, "&Base URL:",
        "The address where the site is published, such as https://example.org/ (the BASEURL macro)." },
    { "markup", &CSiteSettings::m_strMarkup, CSiteSettings::kMarkupClassic, kMarkups, "&Markup:",
        "modern: what the generator writes itself is valid HTML5. classic: as earlier versions wrote it." },
    { "encoding", &CSiteSettings::m_strEncoding, CSiteSettings::kEncodingWindows1252, kEncodings,
        "Page &encoding:",
        "The character set of the page files (the CHARSET macro); utf-8 is the modern one." },
    { "favicon", &CSiteSettings::m_strFavicon, "", {}, "&Favicon:",
        "An image of the images folder that browsers show for the site, such as favicon.svg (the FAVICON "
        "macro)." },
    { "extension", &CSiteSettings::m_strExtension, CSiteSettings::kExtensionHtm, kExtensions,
        "Page file e&xtension:",
        "html: page files end in .html, which every host serves at a folder's address as index.html. "
        "htm: as earlier versions named them." },
    { "publish", &CSiteSettings::m_strPublish, "", {}, "&Publish to:",
        "Where Publish sends the site: sftp://user@host/path/ or ftps://user@host/path/ for a web host, "
        "s3://bucket/prefix/?endpoint=https://host for object storage, or file:///path/ for a folder of "
        "this computer." },
    { "cachecontrol", &CSiteSettings::m_strCacheControl, "", {}, "&Cache-Control:",
        "What object storage tells browsers and CDNs about caching the files it serves, such as "
        "max-age=300 (empty: nothing)." },
    { "maxwidth", &CSiteSettings::m_strMaxWidth, "", {}, "Largest picture &width:",
        "Pictures wider than this many pixels are published scaled down, with smaller variants for "
        "phones (modern markup; empty: published at their own size)." },
    { "keepmetadata", &CSiteSettings::m_strKeepMetadata, "no", kYesNo, "&Keep picture metadata:",
        "yes: published pictures keep their EXIF, XMP and IPTC data, such as the place they were taken "
        "(modern markup). no: it is removed." },
} };

// Whether text is an address a sitemap and a feed can start their addresses
// with: empty (no base URL), or http:// or https:// and a host, without
// control characters (a space is written percent-encoded).
bool IsBaseUrl(std::string_view text)
{
    if (text.empty())
        return true;
    CString lower(text);
    CCodePage::AsciiLower(lower);
    const size_t nScheme = lower.starts_with("https://") ? 8 : lower.starts_with("http://") ? 7 : 0;
    if (nScheme == 0 || text.size() == nScheme || text[nScheme] == '/')
        return false;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f')
            return false;
    }
    return true;
}

// Whether text can be a publishing address: empty, or one of the schemes
// the publisher speaks, one line, without a password (the project is not
// the place for one).
bool IsPublishUrl(std::string_view text, CString& error)
{
    if (text.empty())
        return true;
    const size_t schemeEnd = text.find("://");
    const std::string_view scheme = text.substr(0, schemeEnd);
    if (schemeEnd == std::string_view::npos
        || (scheme != "sftp" && scheme != "file" && scheme != "ftp" && scheme != "ftps" && scheme != "s3")) {
        error
            = "publish must be an address starting with sftp://, ftps://, ftp://, s3:// or file://, such as "
              "sftp://me@example.org/www/";
        return false;
    }
    const size_t start = schemeEnd + 3;
    const std::string_view authority = text.substr(start, text.find_first_of("/?", start) - start);
    if (const size_t at = authority.rfind('@');
        at != std::string_view::npos && authority.substr(0, at).find(':') != std::string_view::npos) {
        error = "publish must not hold a password: Pagewell asks for it when it is needed";
        return false;
    }
    return true;
}

// Whether text is empty or a width a picture may be scaled down to.
bool IsPixelCount(std::string_view text)
{
    if (text.empty())
        return true;
    if (text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const int value = std::stoi(std::string(text));
    return value >= CSiteSettings::kMinPictureWidth && value <= CSiteSettings::kMaxPictureWidth;
}

// The spare string split into lines, each without its line end.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    }
    return lines;
}

} // namespace

CSiteSettings::CSiteSettings()
{
    for (const CKey& key : kKeys)
        this->*key.pMember = key.strDefault;
}

std::span<const CSiteSettings::CKey> CSiteSettings::Keys()
{
    return kKeys;
}

const CSiteSettings::CKey* CSiteSettings::FindKey(std::string_view name)
{
    for (const CKey& key : kKeys) {
        if (key.strName == name)
            return &key;
    }
    return nullptr;
}

bool CSiteSettings::IsSettingsSpare(std::string_view spare)
{
    const std::vector<std::string_view> lines = SplitLines(spare);
    return !lines.empty() && lines.front() == kHeader;
}

CSiteSettings CSiteSettings::FromSpare(std::string_view spare)
{
    CSiteSettings settings;
    if (!IsSettingsSpare(spare))
        return settings;
    const std::vector<std::string_view> lines = SplitLines(spare);
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const size_t eq = line.find('=');
        CString error;
        // A value this version does not allow is kept like an unknown key,
        // rather than lost on the next save.
        if (eq == std::string_view::npos
            || !settings.Assign(line.substr(0, eq), line.substr(eq + 1), error, true)) {
            if (!line.empty())
                settings.m_unknownLines.emplace_back(line);
        }
    }
    return settings;
}

CString CSiteSettings::ToSpare() const
{
    CString body;
    for (const CKey& key : kKeys) {
        const CString& value = this->*key.pMember;
        if (value != key.strDefault)
            body.append(key.strName).append("=").append(value).append("\n");
    }
    for (const CString& line : m_unknownLines)
        body.append(line).append("\n");
    if (body.empty())
        return {};
    return CString(kHeader) + "\n" + body;
}

CSiteSettings CSiteSettings::ForNewProject()
{
    CSiteSettings settings;
    settings.m_strMarkup = kMarkupModern;
    settings.m_strEncoding = kEncodingUtf8;
    // The installed workspace has one, so that a new site has an icon.
    settings.m_strFavicon = "favicon.svg";
    settings.m_strMaxWidth = "1600";
    // Every host serves index.html at a folder's address.
    settings.m_strExtension = kExtensionHtml;
    return settings;
}

CString CSiteSettings::Get(std::string_view name) const
{
    const CKey* pKey = FindKey(name);
    return pKey != nullptr ? this->*pKey->pMember : CString();
}

CString CSiteSettings::FieldName(const CKey& key)
{
    CString name;
    for (const char c : key.strLabel) {
        if (c != '&')
            name += c;
    }
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    return name;
}

bool CSiteSettings::Set(std::string_view name, std::string_view value, CString& error)
{
    return Assign(name, value, error, false);
}

bool CSiteSettings::Assign(std::string_view name, std::string_view value, CString& error, bool bStored)
{
    const CKey* pKey = FindKey(name);
    if (pKey == nullptr) {
        error = "unknown setting '" + CString(name) + "'";
        return false;
    }
    CString text(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    if (!pKey->choices.empty()) {
        for (char& c : text)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        // An empty value of a choice means its default.
        if (text.empty())
            text = pKey->strDefault;
        bool bAllowed = false;
        for (const std::string_view choice : pKey->choices)
            bAllowed = bAllowed || choice == text;
        if (!bAllowed) {
            error = FieldName(*pKey) + " must be";
            for (size_t i = 0; i < pKey->choices.size(); ++i)
                error.append(i == 0 ? " " : " or ").append(pKey->choices[i]);
            return false;
        }
    }
    if (pKey->pMember == &CSiteSettings::m_strMaxWidth && !IsPixelCount(text)) {
        error = "maxwidth must be a number of pixels from 16 to 16384, or empty";
        return false;
    }
    if (pKey->pMember == &CSiteSettings::m_strBaseUrl && !IsBaseUrl(text)) {
        error = FieldName(*pKey)
            + " must be an address starting with http:// or https://, such as "
              "https://example.org/";
        return false;
    }
    if (pKey->pMember == &CSiteSettings::m_strLang && !bStored && !text.empty()
        && !CLanguageTag::IsValid(text)) {
        error = CLanguageTag::Explain(text, FieldName(*pKey));
        return false;
    }
    if (pKey->pMember == &CSiteSettings::m_strPublish && !IsPublishUrl(text, error))
        return false;
    // Sent as a header as it is: printable ASCII only.
    if (pKey->pMember == &CSiteSettings::m_strCacheControl
        && std::any_of(text.begin(), text.end(), [](char c) { return c < ' ' || c > '~'; })) {
        error = "cachecontrol must be plain ASCII, such as max-age=300";
        return false;
    }
    this->*pKey->pMember = text;
    // A kept line of the same key (a value of a later version) is replaced.
    const CString prefix = CString(name) + "=";
    std::erase_if(m_unknownLines, [&](const CString& line) { return line.starts_with(prefix); });
    return true;
}

CString CSiteSettings::GetPageExtension() const
{
    return "." + m_strExtension;
}

int CSiteSettings::GetMaxWidth() const
{
    return m_strMaxWidth.empty() ? 0 : std::stoi(m_strMaxWidth);
}

bool CSiteSettings::operator==(const CSiteSettings& other) const
{
    for (const CKey& key : kKeys) {
        if (this->*key.pMember != other.*key.pMember)
            return false;
    }
    return m_unknownLines == other.m_unknownLines;
}
