#include <filesystem>
#include <sys/stat.h>

#include "GeneratorFixture.h"
#include "generator/CAtomFeedWriter.h"
#include "generator/COutputManifest.h"
#include "generator/CPublishText.h"
#include "platform/CClock.h"

namespace {

class Publishing : public CGeneratorFixture {
protected:
    Publishing()
    {
        WriteTemplates("[@TITLE=!][@FEED=!]<h1>[TITLE]</h1>[FEED]\n", "<p>[TITLE]</p>\n");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
    }
    void Generate()
    {
        m_pRun.reset();
        Run().Run();
    }
    int64_t ModifiedTime(const std::string& path) const
    {
        struct stat info { };
        return ::stat(m_folder.File(path).c_str(), &info) == 0
            ? info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec
            : -1;
    }
    void SetBaseUrl(const CString& url)
    {
        CSiteSettings settings = m_settings.GetSiteSettings();
        CString error;
        ASSERT_TRUE(settings.Set("baseurl", url, error)) << error;
        m_settings.SetSiteSettings(settings);
    }
};

TEST_F(Publishing, NoBaseUrlWritesNoPublishingFilesButTheList)
{
    Add(nullptr, "index");
    Generate();
    EXPECT_EQ(Read("out/index.htm"), "<h1>index</h1>\r\n\r\n");
    EXPECT_FALSE(Exists("out/sitemap.xml"));
    EXPECT_FALSE(Exists("out/feed.xml"));
    EXPECT_EQ(Read("out/.pagewell-files"), "pagewell-files 1\nbluerib.gif\nindex.htm\npagewell.jpg\n");
}

TEST_F(Publishing, BaseUrlWritesSitemapFeedAndRobots)
{
    const CClock::CScopedFake clock(1'000'000'000);
    SetBaseUrl("https://example.org/my site");
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home & <b>garden</b>");
    Node(hRoot).m_tStamp = 999'000'000;
    const HTREEITEM hNews = Add(hRoot, "news", NODE_PARAGRAPH, "News", "<p>Fresh</p><p>beans &amp; peas</p>");
    Node(hNews).m_info.m_bNew = 1;
    Node(hNews).m_tStamp = 999'500'000;
    const HTREEITEM hOld = Add(hRoot, "old", NODE_PAGE, "Old");
    Node(hOld).m_info.m_bUpdated = 1;
    Node(hOld).m_info.m_nExpireDays = 1; // long expired at the fake time
    Write("out/robots.txt", "mine");
    Generate();

    const std::string sitemap = Read("out/sitemap.xml");
    EXPECT_NE(sitemap.find("<loc>https://example.org/my%20site/index.htm</loc>\n    <lastmod>2001-08-28T"),
        std::string::npos)
        << sitemap;
    EXPECT_NE(sitemap.find("my%20site/old.htm"), std::string::npos);
    const std::string feed = Read("out/feed.xml");
    EXPECT_NE(feed.find("<title>Home &amp; garden</title>"), std::string::npos) << feed;
    EXPECT_NE(feed.find("<id>https://example.org/my%20site/index.htm#news</id>"), std::string::npos);
    EXPECT_NE(feed.find("<summary>Fresh beans &amp; peas</summary>"), std::string::npos);
    EXPECT_EQ(feed.find("old.htm"), std::string::npos) << "an expired banner is no news";
    // A robots.txt the user put there is replaced only by one of the workspace.
    EXPECT_EQ(Read("out/robots.txt"),
        "User-agent: *\nAllow: /\n\nSitemap: https://example.org/my%20site/sitemap.xml\n");
    EXPECT_NE(Read("out/index.htm").find("href=\"feed.xml\""), std::string::npos);
}

TEST_F(Publishing, UnchangedFilesAreNotRewrittenAndTheLogStaysTheSame)
{
    SetBaseUrl("https://example.org/");
    Add(Add(nullptr, "index"), "child");
    Generate();
    const CString firstLog = ShownLog();
    const int64_t page = ModifiedTime("out/child.htm");
    const int64_t image = ModifiedTime("out/bluerib.gif");
    const int64_t sitemap = ModifiedTime("out/sitemap.xml");
    Generate();
    EXPECT_EQ(ShownLog(), firstLog);
    EXPECT_EQ(ModifiedTime("out/child.htm"), page);
    EXPECT_EQ(ModifiedTime("out/bluerib.gif"), image);
    EXPECT_EQ(ModifiedTime("out/sitemap.xml"), sitemap);

    Node(m_tree.GetRootItem()).m_strTitle = "Changed";
    Write("images/bluerib.gif", "new gif");
    Generate();
    EXPECT_EQ(Read("out/index.htm"),
        "<h1>Changed</h1><link rel=\"alternate\" type=\"application/atom+xml\" "
        "href=\"feed.xml\">\r\n\r\n");
    EXPECT_EQ(Read("out/bluerib.gif"), "new gif");
}

TEST_F(Publishing, CleanRemovesOnlyOurOwnFilesThatTheRunNoLongerWrites)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hGone = Add(hRoot, "gone");
    Generate();
    ASSERT_TRUE(Exists("out/gone.htm"));
    m_tree.DeleteItem(hGone);
    Write("out/mine.htm", "the user's");
    Write("elsewhere.htm", "outside");
    // An edited list cannot make a run remove anything outside its folder.
    Write("out/.pagewell-files", Read("out/.pagewell-files") + "../elsewhere.htm\n/etc/passwd\n");

    Generate();
    EXPECT_TRUE(Exists("out/gone.htm")) << "without clean nothing is removed";
    EXPECT_NE(Read("out/.pagewell-files").find("gone.htm"), std::string::npos);

    m_settings.m_bClean = 1;
    Generate();
    EXPECT_FALSE(Exists("out/gone.htm"));
    EXPECT_TRUE(Exists("out/mine.htm"));
    EXPECT_TRUE(Exists("elsewhere.htm"));
    EXPECT_EQ(Read("out/.pagewell-files"), "pagewell-files 1\nbluerib.gif\nindex.htm\npagewell.jpg\n");
}

TEST(PublishText, SummaryAndManifestParsing)
{
    struct {
        std::string_view html;
        size_t max;
        std::string_view summary;
    } const cases[] = {
        { "a<b>b</b>c", 80, "abc" },
        { "one<br>two<!-- x > y -->three", 80, "one twothree" },
        { "[$i]  x\r\n\ty&#233;&#x263A;&unknown; &", 80, "x y\xC3\xA9\xE2\x98\xBA&unknown; &" },
        { "word word word", 9, "word word\xE2\x80\xA6" },
        { "\xE9\xE9\xE9\xE9", 3, "\xC3\xA9\xE2\x80\xA6" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPublishText::Summary(c.html, c.max), c.summary) << c.html;

    const COutputManifest manifest
        = COutputManifest::Parse("pagewell-files 1\na.htm\n..\nsub/b.htm\n.pagewell-files\n\nc.gif\n");
    EXPECT_EQ(manifest.Format(), "pagewell-files 1\na.htm\nc.gif\n");
    EXPECT_TRUE(COutputManifest::Parse("a.htm\n").GetNames().empty());
}

} // namespace
