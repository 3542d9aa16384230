#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text rules shared by the files a run writes for publishing (sitemap, feed):
// XML escaping, absolute addresses and dates. Outputs are UTF-8.
class CPublishText {
public:
    // UTF-8 text with "&", "<", ">", '"' and "'" as XML character entities,
    // every character XML 1.0 forbids (controls, surrogates, U+FFFE, U+FFFF)
    // left out and each byte that is not well-formed UTF-8 replaced by U+FFFD,
    // so that any text makes a well-formed document.
    static std::string EscapeXml(std::string_view utf8);
    // The base URL (Windows-1252, as the settings hold it) with one "/"
    // before the file name (Windows-1252), whose bytes outside
    // the unreserved set of RFC 3986 are percent-encoded (as UTF-8).
    static std::string AbsoluteUrl(std::string_view baseUrl, std::string_view fileName);
    // The time as "YYYY-MM-DDThh:mm:ssZ" (UTC), the form of sitemaps and feeds.
    static std::string DateTime(int64_t time);
    // A plain UTF-8 summary of a Windows-1252 HTML text: tags, comments and
    // the table of contents mark removed, character references decoded, white
    // space folded, cut at a word boundary after at most nMaxBytes bytes.
    static std::string Summary(std::string_view html, size_t nMaxBytes);
};
