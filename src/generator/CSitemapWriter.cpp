#include "generator/CSitemapWriter.h"

#include "generator/CPublishText.h"

std::string CSitemapWriter::Sitemap(std::string_view baseUrl, const std::vector<CPage>& pages)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (const CPage& page : pages) {
        xml += "  <url>\n    <loc>";
        xml += CPublishText::EscapeXml(CPublishText::AbsoluteUrl(baseUrl, page.strFileName));
        xml += "</loc>\n    <lastmod>";
        xml += CPublishText::DateTime(page.tStamp);
        xml += "</lastmod>\n  </url>\n";
    }
    xml += "</urlset>\n";
    return xml;
}

std::string CSitemapWriter::Robots(std::string_view baseUrl)
{
    return "User-agent: *\nAllow: /\n\nSitemap: " + CPublishText::AbsoluteUrl(baseUrl, "sitemap.xml") + "\n";
}
