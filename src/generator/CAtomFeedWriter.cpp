#include "generator/CAtomFeedWriter.h"

#include <algorithm>

#include "generator/CPublishText.h"

namespace {

// The first line of a title (a link's second line is its address), as text.
std::string PlainTitle(std::string_view title)
{
    const std::string text = CPublishText::Summary(title.substr(0, title.find_first_of("\r\n")), 200);
    return text.empty() ? std::string("Untitled") : text;
}

void AppendElement(std::string& xml, std::string_view indent, std::string_view name, std::string_view utf8)
{
    xml += indent;
    xml += '<';
    xml += name;
    xml += '>';
    xml += CPublishText::EscapeXml(utf8);
    xml += "</";
    xml += name;
    xml += ">\n";
}

} // namespace

std::string CAtomFeedWriter::Write(const CHead& head, const std::vector<CEntry>& entries, int64_t tFallback)
{
    int64_t tUpdated = entries.empty() ? tFallback : entries.front().tStamp;
    for (const CEntry& entry : entries)
        tUpdated = std::max(tUpdated, entry.tStamp);
    const std::string home = CPublishText::AbsoluteUrl(head.strBaseUrl, "");
    const std::string author = CPublishText::Summary(head.strAuthor, 200);

    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n";
    AppendElement(xml, "  ", "title", PlainTitle(head.strTitle));
    AppendElement(xml, "  ", "id", home);
    xml += "  <link rel=\"alternate\" type=\"text/html\" href=\"" + CPublishText::EscapeXml(home) + "\"/>\n";
    xml += "  <link rel=\"self\" type=\"application/atom+xml\" href=\""
        + CPublishText::EscapeXml(CPublishText::AbsoluteUrl(head.strBaseUrl, "feed.xml")) + "\"/>\n";
    AppendElement(xml, "  ", "updated", CPublishText::DateTime(tUpdated));
    xml += "  <author>\n";
    AppendElement(xml, "    ", "name", author.empty() ? PlainTitle(head.strTitle) : author);
    const std::string email = CPublishText::Summary(head.strEmail, 200);
    if (email.find('@') != std::string::npos && email.find(' ') == std::string::npos)
        AppendElement(xml, "    ", "email", email);
    xml += "  </author>\n";
    AppendElement(xml, "  ", "generator", "Pagewell");
    for (const CEntry& entry : entries) {
        const std::string url = CPublishText::AbsoluteUrl(head.strBaseUrl, entry.strReference);
        xml += "  <entry>\n";
        AppendElement(xml, "    ", "title", PlainTitle(entry.strTitle));
        AppendElement(xml, "    ", "id", url);
        xml += "    <link rel=\"alternate\" type=\"text/html\" href=\"" + CPublishText::EscapeXml(url)
            + "\"/>\n";
        AppendElement(xml, "    ", "updated", CPublishText::DateTime(entry.tStamp));
        const std::string summary = CPublishText::Summary(entry.strText, kSummaryBytes);
        if (!summary.empty())
            AppendElement(xml, "    ", "summary", summary);
        xml += "  </entry>\n";
    }
    xml += "</feed>\n";
    return xml;
}
