#include "GeneratorFixture.h"
#include "generator/CPageLinks.h"

namespace {

TEST(PageLinks, RewritesOnlyPagesOfTheSiteByTheOldExtension)
{
    const auto isPage = [](std::string_view name) { return name == "news.html" || name == "a b.html"; };
    const CPageLinks links(".html", isPage);
    const std::pair<const char*, const char*> kCases[] = {
        { "news.htm", "news.html" },
        { "news.htm#today", "news.html#today" },
        { " news.htm?x=.htm ", " news.html?x=.htm " },
        { "a b.htm", "a b.html" },
        { "news.html", nullptr }, // already right
        { "News.htm", nullptr }, // no page of that name
        { "other.htm", nullptr },
        { "sub/news.htm", nullptr },
        { "http://example.org/news.htm", nullptr },
        { ".htm", nullptr },
        { "#news.htm", nullptr },
        { "", nullptr },
    };
    for (const auto& [pszIn, pszOut] : kCases) {
        const auto rewritten = links.RewriteReference(pszIn);
        EXPECT_EQ(rewritten.value_or("(none)"), pszOut != nullptr ? pszOut : "(none)") << pszIn;
    }
    // A site that keeps .htm rewrites nothing.
    EXPECT_FALSE(CPageLinks(".htm", isPage).RewriteReference("news.htm"));
    EXPECT_EQ(links.RewriteText("<p><A HREF=news.htm>a</A> <a title=\"news.htm\" href='news.htm#x'>b</a> "
                                "<img src=\"news.htm\"> news.htm <a href=\"other.htm\">c</a></p>"),
        "<p><A HREF=news.html>a</A> <a title=\"news.htm\" href='news.html#x'>b</a> "
        "<img src=\"news.htm\"> news.htm <a href=\"other.htm\">c</a></p>");
}

class PageExtension : public CGeneratorFixture {
protected:
    PageExtension()
    {
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
        WriteTemplates(
            "[@HOME=!][@LINKS=!][@TEXT=!][@LINKBODY=!]home=[HOME] links=[LINKS] text=[TEXT] [LINKBODY]\n", "",
            "[@LINK=!]link=[LINK]\n");
        const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home", "<a href=\"news.htm#x\">n</a> [$i]");
        Add(hRoot, "news", NODE_PAGE, "News", "<a href=\"index.htm\">i</a> <a href=\"gone.htm\">g</a>");
        Add(hRoot, "go", NODE_LINK, "Go\r\nnews.htm#top");
    }

    void Generate(const char* pszExtension)
    {
        CSiteSettings settings;
        CString error;
        ASSERT_TRUE(settings.Set("baseurl", "https://example.org/", error));
        ASSERT_TRUE(settings.Set("extension", pszExtension, error));
        m_settings.SetSiteSettings(settings);
        m_pRun.reset();
        Run().Run();
    }
};

TEST_F(PageExtension, HtmlNamesEveryPageFileAndEveryReferenceToAPage)
{
    Generate("html");
    const std::vector<std::string> names = OutNames();
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                  [](const std::string& name) { return name.ends_with(".html"); }),
        2);
    EXPECT_TRUE(std::none_of(
        names.begin(), names.end(), [](const std::string& name) { return name.ends_with(".htm"); }));
    const std::string index = Read("out/index.html");
    // Home, the link list, the table of contents, the body text and the link object.
    for (const char* pszPart : { "home=index.html#main", "<A HREF=\"news.html#news\">",
             "\"index.html#index\"", "href=\"news.html#x\"", "link=news.html#top" })
        EXPECT_NE(index.find(pszPart), std::string::npos) << pszPart << " in " << index;
    EXPECT_EQ(index.find(".htm#"), std::string::npos) << index;
    const std::string news = Read("out/news.html");
    EXPECT_NE(news.find("href=\"index.html\""), std::string::npos) << news;
    EXPECT_NE(news.find("href=\"gone.htm\""), std::string::npos) << news;
    const std::string sitemap = Read("out/sitemap.xml");
    EXPECT_NE(sitemap.find("https://example.org/news.html</loc>"), std::string::npos) << sitemap;
}

TEST_F(PageExtension, HtmKeepsEveryLinkAsWritten)
{
    Generate("htm");
    EXPECT_TRUE(Exists("out/index.htm"));
    EXPECT_FALSE(Exists("out/index.html"));
    const std::string index = Read("out/index.htm");
    EXPECT_NE(index.find("href=\"news.htm#x\""), std::string::npos) << index;
    EXPECT_NE(index.find("link=news.htm#top"), std::string::npos) << index;
}

} // namespace
