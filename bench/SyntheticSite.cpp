#include "SyntheticSite.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "model/CNode.h"
#include "model/CPagewellDoc.h"

namespace {

constexpr int kMaxDepth = 5;
constexpr size_t kBodySize = 1500;
constexpr size_t kSectionSize = 400;

constexpr std::array<const char*, 48> kWords = { "site", "page", "outline", "garden", "river", "stone",
    "window", "letter", "market", "summer", "winter", "north", "south", "bridge", "harbour", "lantern",
    "meadow", "orchard", "village", "library", "journey", "morning", "evening", "quiet", "bright", "gentle",
    "simple", "ancient", "modern", "little", "golden", "silver", "travel", "history", "recipe", "family",
    "music", "pictures", "notes", "friends", "weather", "project", "classic", "colour", "island", "forest",
    "valley", "mountain" };

// A small linear congruential generator: the same sequence everywhere.
class CRandom {
public:
    explicit CRandom(uint64_t seed)
        : m_nState(seed * 6364136223846793005ULL + 1442695040888963407ULL)
    { }
    uint32_t Next()
    {
        m_nState = m_nState * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(m_nState >> 33);
    }
    const char* Word() { return kWords[Next() % kWords.size()]; }

private:
    uint64_t m_nState;
};

std::string Words(CRandom& random, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += random.Word();
    }
    return text;
}

// Sentences with an occasional bold or italic word and a line break (CR LF,
// as the program holds texts) about every 250 characters.
std::string Text(CRandom& random, size_t size)
{
    std::string text;
    size_t lineStart = 0;
    while (text.size() < size) {
        const std::string word = random.Word();
        const uint32_t pick = random.Next() % 16;
        if (pick == 0)
            text += "<B>" + word + "</B>";
        else if (pick == 1)
            text += "<I>" + word + "</I>";
        else
            text += word;
        if (random.Next() % 9 == 0)
            text += '.';
        if (text.size() - lineStart > 250) {
            text += "\r\n";
            lineStart = text.size();
        } else {
            text += ' ';
        }
    }
    return text;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

HTREEITEM Insert(CPagewellDoc& doc, HTREEITEM hParent, const std::string& tag, uint32_t type,
    const std::string& title, const std::string& text)
{
    auto pNode = std::make_unique<CNode>(nullptr);
    pNode->m_nType = type;
    pNode->m_strTitle = title;
    pNode->m_strText = text;
    return doc.m_tree.InsertItem(tag, std::move(pNode), hParent, ETreeInsert::Last);
}

} // namespace

CSyntheticSite::CSyntheticSite(size_t nPages)
{
    if (nPages == 0)
        throw std::invalid_argument("a site needs at least one page");
    // The smallest branching whose full tree of kMaxDepth levels below the
    // root holds every page.
    for (m_nBranching = 2;; ++m_nBranching) {
        size_t capacity = 0, level = 1;
        for (int d = 0; d <= kMaxDepth && capacity < nPages; ++d, level *= m_nBranching)
            capacity += level;
        if (capacity >= nPages)
            break;
    }
    m_pages.resize(nPages);
    for (size_t i = 0; i < nPages; ++i) {
        CRandom random(i + 1);
        CPage& page = m_pages[i];
        page.strTag = "p" + std::to_string(i);
        page.strTitle = "Page " + std::to_string(i) + ": " + Words(random, 3);
        page.strBody = Text(random, kBodySize);
        for (int s = 1; s <= 3; ++s) {
            page.sections.push_back(
                { page.strTag + "s" + std::to_string(s), Words(random, 4), Text(random, kSectionSize) });
        }
        for (int l = 1; l <= 2; ++l) {
            page.links.push_back({ page.strTag + "l" + std::to_string(l), Words(random, 3),
                "http://example.com/" + page.strTag + "/" + random.Word() });
        }
        if (i > 0)
            m_pages[(i - 1) / m_nBranching].children.push_back(i);
    }
    for (size_t i = nPages - 1, depth = 0; i > 0; i = (i - 1) / m_nBranching)
        m_nDepth = static_cast<int>(++depth);
}

size_t CSyntheticSite::GetObjectCount() const
{
    return m_pages.size() * 6;
}

void CSyntheticSite::Fill(CPagewellDoc& doc) const
{
    doc.m_props.m_strTemplate = "Bench";
    doc.m_tree.DeleteAllItems();
    // Pre-order with an explicit stack: sections, links, then child pages.
    struct CEntry {
        size_t nPage;
        HTREEITEM hParent;
    };
    std::vector<CEntry> stack { { 0, nullptr } };
    while (!stack.empty()) {
        const CEntry entry = stack.back();
        stack.pop_back();
        const CPage& page = m_pages[entry.nPage];
        const HTREEITEM hPage
            = Insert(doc, entry.hParent, page.strTag, NODE_PAGE, page.strTitle, page.strBody);
        for (const CSection& section : page.sections)
            Insert(doc, hPage, section.strTag, NODE_PARAGRAPH, section.strTitle, section.strText);
        for (const CLink& link : page.links)
            Insert(doc, hPage, link.strTag, NODE_LINK, link.strText + "\r\n" + link.strUrl, "");
        for (auto it = page.children.rbegin(); it != page.children.rend(); ++it)
            stack.push_back({ *it, hPage });
    }
}

void CSyntheticSite::WriteHugoSite(const std::string& folder) const
{
    namespace fs = std::filesystem;
    fs::create_directories(folder + "/content");
    fs::create_directories(folder + "/layouts/_default");
    std::ofstream(folder + "/config.toml")
        << "baseURL = \"http://example.org/\"\n"
           "disableKinds = [\"home\", \"section\", \"taxonomy\", \"term\", "
           "\"RSS\", \"sitemap\", \"robotsTXT\", \"404\"]\n"
           "uglyURLs = true\n"
           "disableHugoGeneratorInject = true\n"
           "enableRobotsTXT = false\n"
           "[taxonomies]\n";
    std::ofstream(folder + "/layouts/_default/single.html")
        << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"windows-1252\">\n"
           "<title>{{ .Title }}</title>\n</head>\n<body>\n<h1>{{ .Title }}</h1>\n"
           "<p><a href=\"p0.html#main\">Home</a></p>\n<div class=\"text\">\n{{ .Content }}\n</div>\n"
           "<ul class=\"children\">\n{{ range .Params.children }}  <li><a href=\"{{ .href }}\">{{ .title "
           "}}</a>\n"
           "{{ end }}</ul>\n{{ range .Params.sections }}<h2 id=\"{{ .tag }}\">{{ .title }}</h2>\n"
           "<p>{{ .text | safeHTML }}</p>\n{{ end }}{{ range .Params.links }}<p id=\"{{ .tag }}\">"
           "<a href=\"{{ .url }}\">{{ .title }}</a></p>\n{{ end }}</body>\n</html>\n";
    for (const CPage& page : m_pages) {
        std::string out = "{\n\"title\": " + JsonString(page.strTitle) + ",\n\"children\": [";
        bool bFirst = true;
        const auto child = [&](const std::string& href, const std::string& title) {
            out += (bFirst ? "\n" : ",\n") + std::string("{\"href\": ") + JsonString(href)
                + ", \"title\": " + JsonString(title) + "}";
            bFirst = false;
        };
        for (const CSection& section : page.sections)
            child(page.strTag + ".html#" + section.strTag, section.strTitle);
        for (const CLink& link : page.links)
            child(page.strTag + ".html#" + link.strTag, link.strText);
        for (const size_t index : page.children)
            child(m_pages[index].strTag + ".html#" + m_pages[index].strTag,
                "[" + m_pages[index].strTitle + "]");
        out += "],\n\"sections\": [";
        for (size_t s = 0; s < page.sections.size(); ++s) {
            const CSection& section = page.sections[s];
            out += (s ? ",\n" : "\n") + std::string("{\"tag\": ") + JsonString(section.strTag)
                + ", \"title\": " + JsonString(section.strTitle)
                + ", \"text\": " + JsonString(section.strText) + "}";
        }
        out += "],\n\"links\": [";
        for (size_t l = 0; l < page.links.size(); ++l) {
            const CLink& link = page.links[l];
            out += (l ? ",\n" : "\n") + std::string("{\"tag\": ") + JsonString(link.strTag)
                + ", \"title\": " + JsonString(link.strText) + ", \"url\": " + JsonString(link.strUrl) + "}";
        }
        out += "]\n}\n" + page.strBody + "\n";
        std::ofstream(folder + "/content/" + page.strTag + ".html", std::ios::binary) << out;
    }
}
