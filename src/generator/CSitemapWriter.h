#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

// The sitemap (sitemaps.org protocol 0.9) and the robots.txt that names it,
// written beside the pages when the site settings hold a base URL.
class CSitemapWriter {
public:
    struct CPage {
        CString strFileName; // as written into the destination, e.g. "news.htm"
        int64_t tStamp = 0; // the object's stamp: the page's last modification
    };

    // The whole sitemap.xml, UTF-8, one <url> per page in the given order.
    static std::string Sitemap(std::string_view baseUrl, const std::vector<CPage>& pages);
    // A robots.txt that allows everything and names the sitemap.
    static std::string Robots(std::string_view baseUrl);
};
