#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

// The site's news feed: an Atom feed (RFC 4287) of the objects whose "New" or
// "Updated" banner shows, written beside the pages as feed.xml.
class CAtomFeedWriter {
public:
    // Texts are the project's Windows-1252 texts; titles and summaries have
    // their markup removed here.
    struct CHead {
        CString strBaseUrl;
        CString strTitle; // the home page's title
        CString strAuthor;
        CString strEmail;
    };
    struct CEntry {
        CString strTitle;
        CString strReference; // the object's place in its page: "page.htm#tag"
        int64_t tStamp = 0;
        CString strText;
    };

    // The whole feed.xml, UTF-8; entries as given (the caller orders them).
    // The feed's own time is its newest entry's, or tFallback without
    // entries, so that an unchanged site writes the same bytes again.
    static std::string Write(const CHead& head, const std::vector<CEntry>& entries, int64_t tFallback);
    static constexpr size_t kSummaryBytes = 300;
};
