#include <cstdlib>
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
    // The names of the run's list of its files, each followed by a space.
    std::string ListedNames() const
    {
        std::string names;
        const COutputManifest list = COutputManifest::Parse(Read("out/.pagewell-files"));
        for (const auto& entry : list.GetEntries())
            names += entry.strName + " ";
        return names;
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
    EXPECT_EQ(ListedNames(), "bluerib.gif index.htm pagewell.jpg ");
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
    EXPECT_EQ(ListedNames(), "bluerib.gif index.htm pagewell.jpg ");
}

// Whether xmllint, run with a home and a temporary folder of its own, finds
// the file well-formed.
bool IsWellFormed(const std::string& folder, const std::string& file)
{
    const std::string command = "env HOME='" + folder + "' TMPDIR='" + folder + "' XDG_CONFIG_HOME='" + folder
        + "' XDG_CACHE_HOME='" + folder + "' xmllint --noout '" + file + "'";
    return std::system(command.c_str()) == 0;
}

TEST_F(Publishing, FeedAndSitemapStayWellFormedForEveryKindOfCharacter)
{
    // Each class of code point, as a character reference in a title and its
    // text (the feed decodes them) and, for a control, as the byte itself.
    struct {
        const char* text;
        const char* kept; // what the feed shows between "a" and "b"
    } const cases[] = {
        { "&#0;", "&#0;" },
        { "&#1;", "" },
        { "\x01", "" },
        { "&#8;", "" },
        { "&#31;", "" },
        { "&#x1F;", "" },
        { "\x0B", " " }, // white space is folded
        { "&#12;", " " },
        { "&#9;", " " },
        { "&#127;", "\x7F" },
        { "&#128;", "\xC2\x80" },
        { "&#xD7FF;", "\xED\x9F\xBF" },
        { "&#xD800;", "&#xD800;" },
        { "&#xDFFF;", "&#xDFFF;" },
        { "&#xE000;", "\xEE\x80\x80" },
        { "&#65533;", "\xEF\xBF\xBD" },
        { "&#65534;", "" },
        { "&#65535;", "" },
        { "&#x10000;", "\xF0\x90\x80\x80" },
        { "&#x10FFFF;", "\xF4\x8F\xBF\xBF" },
        { "&#x110000;", "&#x110000;" },
        { "&#99999999999;", "&#99999999999;" },
    };
    const CClock::CScopedFake clock(1'000'000'000);
    SetBaseUrl("https://example.org/");
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home\x01&#65535;");
    Node(hRoot).m_tStamp = 999'000'000;
    int n = 0;
    for (const auto& c : cases) {
        const std::string text = std::string("a") + c.text + "b";
        const HTREEITEM h = Add(hRoot, "t" + std::to_string(n++), NODE_PAGE, text, text);
        Node(h).m_info.m_bNew = 1;
        Node(h).m_tStamp = 999'500'000;
    }
    m_props.m_strAuthor = "A\x02&#xFFFE;";
    Generate();

    const std::string feed = Read("out/feed.xml");
    EXPECT_TRUE(IsWellFormed(m_folder.Path(), m_folder.File("out/feed.xml"))) << feed;
    EXPECT_TRUE(IsWellFormed(m_folder.Path(), m_folder.File("out/sitemap.xml")));
    for (const auto& c : cases) {
        std::string expected = std::string("a") + c.kept + "b";
        if (const size_t amp = expected.find('&'); amp != std::string::npos)
            expected.replace(amp, 1, "&amp;");
        EXPECT_NE(feed.find("<title>" + expected + "</title>"), std::string::npos) << c.text;
        EXPECT_NE(feed.find("<summary>" + expected + "</summary>"), std::string::npos) << c.text;
    }
    EXPECT_NE(feed.find("<name>A</name>"), std::string::npos);
}

TEST(PublishText, EscapeXmlReplacesWhatIsNotUtf8)
{
    struct {
        std::string_view in;
        std::string_view out;
    } const cases[] = {
        { "<a href='x'>&\"</a>", "&lt;a href=&apos;x&apos;&gt;&amp;&quot;&lt;/a&gt;" },
        { "\xC3\xA9\xE2\x98\xBA\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x98\xBA\xF0\x9F\x98\x80" },
        { "a\xE9"
          "b",
            "a\xEF\xBF\xBD"
            "b" }, // a stray byte of another encoding
        { "a\xC3", "a\xEF\xBF\xBD" }, // cut at the end
        { "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD" }, // overlong "/"
        { "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" }, // a surrogate
        { "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" }, // past U+10FFFF
        { "\xEF\xBF\xBE\xEF\xBF\xBF\x1F\x7F", "\x7F" }, // U+FFFE, U+FFFF, a control
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPublishText::EscapeXml(c.in), c.out) << c.in;
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
    EXPECT_EQ(manifest.Format(), "pagewell-files 2\n- a.htm\n- c.gif\n");
    EXPECT_TRUE(COutputManifest::Parse("a.htm\n").GetEntries().empty());
}

} // namespace
