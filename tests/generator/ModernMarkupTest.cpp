#include <algorithm>

#include "GeneratorFixture.h"
#include "generator/CFormatMacros.h"
#include "generator/CHtmlText.h"
#include "generator/CPageEncoding.h"
#include "model/CDocInfo.h"

namespace {

constexpr uint32_t Format(uint32_t align, uint32_t style)
{
    return align | (style << FORMAT_STYLE_SHIFT);
}

TEST(ModernMarkup, AlignStyleAndColorHaveNoObsoleteMarkup)
{
    struct CCase {
        const char* pszDef;
        uint32_t nFormat;
        const char* pszAlign;
        const char* pszStyle;
    } cases[] = {
        { "!", Format(ALIGN_CENTER, STYLE_H2), "<pw-center>", "<h2>" },
        { "!", Format(ALIGN_LEFT, STYLE_H4), "<pw-left>", "<h4>" },
        { "!", Format(ALIGN_RIGHT, 8), "<pw-right>", "<h6>" },
        { "!", Format(ALIGN_NONE, STYLE_NORMAL), "", "" },
        // The template's own texts stay as written.
        { "!P", Format(ALIGN_NONE, STYLE_NONE), "<P>", "<P>" },
        { "<div>", Format(ALIGN_CENTER, STYLE_H1), "<<div>>", "<div>" },
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(CFormatMacros::Align(c.pszDef, c.nFormat, EMarkup::Modern), c.pszAlign) << c.pszDef;
        EXPECT_EQ(CFormatMacros::Style(c.pszDef, c.nFormat, EMarkup::Modern), c.pszStyle) << c.pszDef;
    }
    CDocInfo info;
    info.m_clrText = 0x000000FF;
    info.m_clrBg = 0xAB563412;
    info.m_clrLink = 0x00FF0000;
    info.m_clrVLink = 0x0000FF00;
    EXPECT_EQ(CFormatMacros::Color("!", info, EMarkup::Modern),
        R"(class="pw-colors" style="color:#FF0000;background-color:#123456;--pw-link:#0000FF;--pw-vlink:#00FF00")");
}

TEST(ModernMarkup, TextsInAttributes)
{
    EXPECT_EQ(CHtmlText::EscapeAttribute(R"(a "b" & <c> 'd')"), "a &quot;b&quot; &amp; &lt;c> 'd'");
    EXPECT_EQ(CHtmlText::EncodeUrlPath("my pic (1)#2?.gif"), "my%20pic%20%281%29%232%3F.gif");
    EXPECT_EQ(CHtmlText::EncodeUrlPath("caf\xE9%.gif"), "caf\xE9%25.gif");
    EXPECT_EQ(CHtmlText::Reference("a b.htm#c\"d", EMarkup::Modern), "a%20b.htm#c%22d");
    EXPECT_EQ(CHtmlText::Reference("a b.htm#c\"d&", EMarkup::Classic), "a b.htm#c&quot;d&amp;");
}

TEST(ModernMarkup, Utf8PagesConvertTheTextsAndTheirCharacterReferences)
{
    struct CCase {
        const char* pszPage;
        const char* pszUtf8;
    } cases[] = {
        { "plain\r\n", "plain\r\n" },
        { "caf\xE9 \x80 \x81", "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81" },
        { "&#20013;&#128512;&#256;", "\xE4\xB8\xAD\xF0\x9F\x98\x80\xC4\x80" },
        // Kept: below 256, surrogates, noncharacters, beyond Unicode, not a
        // complete decimal reference.
        { "&#233;&#55296;&#65535;&#1114112;&#x4E2D;&#20013&#;&#99999999;",
            "&#233;&#55296;&#65535;&#1114112;&#x4E2D;&#20013&#;&#99999999;" },
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(CPageEncoding::Encode(c.pszPage, CPageEncoding::EEncoding::Utf8), c.pszUtf8) << c.pszPage;
        EXPECT_EQ(CPageEncoding::Encode(c.pszPage, CPageEncoding::EEncoding::Windows1252), c.pszPage);
    }
}

class ModernPages : public CGeneratorFixture {
protected:
    ModernPages() { m_settings.m_strSpare = "pagewell-settings 1\nmarkup=modern\nencoding=utf-8\n"; }
};

TEST_F(ModernPages, ImagesLinksAndContentsAreValidHtml)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Fish \"&\" <chips>");
    Add(hRoot, "my page", NODE_PAGE, "Sub");
    CNode& node = Node(hRoot);
    node.m_info.m_strIcon = "a b.gif";
    node.m_info.m_strLineImage = "line.gif";
    node.m_info.m_strBgBitmap = "paper.jpg";
    node.m_info.m_clrText = 0;
    node.m_info.m_clrBg = 0xFFFFFF;
    node.m_info.m_clrLink = 0xFF0000;
    node.m_info.m_clrVLink = 0x800080;
    m_props.m_strBullet = "dot.gif";
    EXPECT_EQ(ExpandWith("[@IMAGE=!][IMAGE]\n[@LINE=!][LINE]\n[@BULLET=!][@LINKS=!][LINKS]"
                         "[@COLOR=!][@BGIMAGE=!]<body [COLOR] [BGIMAGE]>\n[@HOMELINKS=!][HOMELINKS][TEXT]"),
        "<img src=\"a%20b.gif\" alt=\"\">\n"
        "<img src=\"line.gif\" alt=\"\">\n"
        "<img src=\"dot.gif\" alt=\"\" class=\"bullet\">  <a href=\"my%20page.htm#my%20page\">Sub</a>\n"
        "<body class=\"pw-colors\" style=\"--pw-vlink:#800080;background-image:url('paper.jpg')\" >\n"
        "<a href=\"my%20page.htm#my%20page\">Sub</a>\n");
    // The background joins the colours whichever comes first.
    m_pRun.reset();
    EXPECT_EQ(ExpandWith("[@BGIMAGE=!][@COLOR=!][@BGIMAGE=x.gif][BGIMAGE]|[COLOR]"),
        "|class=\"pw-colors\" style=\"--pw-vlink:#800080;background-image:url('paper.jpg'),url('x.gif')\"");
    // With the project's colours only, the style sheet has them all.
    node.m_info.m_clrVLink = m_props.m_clrVLink;
    m_pRun.reset();
    EXPECT_EQ(ExpandWith("[@COLOR=!][@BGIMAGE=!]<body [COLOR] [BGIMAGE]>"),
        "<body  style=\"background-image:url('paper.jpg')\">");
    Node(hRoot).m_strText = "[$i]";
    m_pRun.reset();
    EXPECT_EQ(ExpandWith("[@TEXT=!][TEXT]"),
        "<ul>\n<li>Page <a href=\"index.htm#index\">Fish \"&\" <chips></a>\n<ul>\n"
        "<li>Page <a href=\"my%20page.htm#my%20page\">Sub</a>\n</ul>\n</ul>\n");
}

// What a screen reader hears: a link is named once, without brackets or the
// line end before its URL, and an icon beside a shown title stays silent.
TEST_F(ModernPages, LinkNamesAndIconsAreSaidOnce)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home");
    const HTREEITEM hLink = Add(hRoot, "rhs", NODE_LINK, "Royal Society \r\n\r\nhttps://rhs.example/");
    Add(hRoot, "flat", NODE_LINK, "One line https://one.example/");
    const HTREEITEM hNews = Add(hRoot, "news", NODE_PARAGRAPH, "News");
    Node(hLink).m_info.m_strIcon = "globe.gif";
    Node(hNews).m_info.m_strIcon = "info.gif";
    WriteTemplates("[@LINKS=!][@HOMELINKS=!]<nav>[HOMELINKS]</nav>[LINKS][LINKBODY]",
        "[@IMAGE=!][@TITLE=!]<h2>[IMAGE][TITLE]</h2>\n",
        "[@IMAGE=!][@LINK=!][IMAGE]<a href=\"[LINK]\">[TITLE]</a>\n");
    const char* const kEntries = "<a href=\"index.htm#rhs\">Royal Society</a>\n"
                                 "<a href=\"index.htm#flat\">One line</a>\n"
                                 "<a href=\"index.htm#news\">News</a>\n";
    EXPECT_EQ(Expand(hRoot),
        std::string("<nav>") + kEntries + "</nav>  " + "<a href=\"index.htm#rhs\">Royal Society</a>\n  "
            + "<a href=\"index.htm#flat\">One line</a>\n  <a href=\"index.htm#news\">News</a>\n"
            + "<img src=\"globe.gif\" alt=\"\"><a href=\"https://rhs.example/\">Royal Society</a>\n"
            + "<a href=\"https://one.example/\">One line</a>\n"
            + "<h2><img src=\"info.gif\" alt=\"\">News</h2>\n");
    // With its title hidden, the icon speaks for the object.
    Node(hNews).m_nTitleFormat = STYLE_HIDDEN << FORMAT_STYLE_SHIFT;
    Node(hLink).m_nTitleFormat = STYLE_HIDDEN << FORMAT_STYLE_SHIFT;
    m_pRun.reset();
    const CString page = Expand(hRoot);
    EXPECT_NE(page.find("<h2><img src=\"info.gif\" alt=\"News\"></h2>"), CString::npos) << page;
    EXPECT_NE(page.find("<img src=\"globe.gif\" alt=\"Royal Society\"><a href"), CString::npos) << page;
}

// Modern markup draws a GIF from its SVG twin where the workspace has one;
// classic markup keeps the GIF the project names.
TEST_F(ModernPages, GifsGiveWayToTheirSvgTwins)
{
    Write("images/home.gif", "gif");
    Write("images/home.svg", "<svg/>");
    Write("images/star.gif", "gif");
    Write("bullets/dot.GIF", "gif");
    Write("bullets/dot.svg", "<svg/>");
    m_props.m_strHomeButton = "home.gif";
    m_props.m_strBullet = "dot.GIF";
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home");
    Add(hRoot, "sub", NODE_PAGE, "Sub");
    Node(hRoot).m_info.m_strIcon = "star.gif";
    const std::string kTemplate = "[@HOMEBUTTON=!][@IMAGE=!][@BULLET=!][@LINKS=!][HOMEBUTTON][IMAGE][LINKS]";
    EXPECT_EQ(ExpandWith(kTemplate),
        "<img src=\"home.svg\" alt=\"Home\"><img src=\"star.gif\" alt=\"\">"
        "<img src=\"dot.svg\" alt=\"\" class=\"bullet\">  <a href=\"sub.htm#sub\">Sub</a>\n");
    m_settings.m_strSpare.clear();
    m_pRun.reset();
    EXPECT_EQ(ExpandWith(kTemplate),
        "<IMG SRC=\"home.gif\" ALT=\"Home\" border=0><IMG SRC=\"star.gif\" ALT=\"Home\" border=0>"
        "<IMG SRC=\"dot.gif\" border=0 vspace=0>  <A HREF=\"sub.htm#sub\"> [Sub]</A>\n");
}

// A whole run publishes the SVG it names, sized from its root element, and
// not the GIF the project names.
TEST_F(ModernPages, SvgTwinsArePublishedAndSized)
{
    Write("images/star.gif", "GIF89a");
    Write("images/star.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"28\" height=\"14\"/>");
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home");
    Node(hRoot).m_info.m_strIcon = "star.gif";
    WriteTemplates("[@IMAGE=!][IMAGE]");
    Run().Run();
    EXPECT_EQ(Read("out/index.htm"), "<img src=\"star.svg\" alt=\"\" width=\"28\" height=\"14\">\r\n");
    EXPECT_EQ(Read("out/star.svg"), Read("images/star.svg"));
    const std::vector<std::string> names = OutNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "star.gif"), 0);
}

TEST_F(ModernPages, PageFilesAreWrittenInTheirEncoding)
{
    Add(nullptr, "index", NODE_PAGE, "Caf\xE9 &#20013;");
    WriteTemplates("[@CHARSET=!][@TITLE=!]<meta charset=\"[CHARSET]\">[TITLE]\n");
    Run().Run();
    EXPECT_EQ(Read("out/index.htm"), "<meta charset=\"utf-8\">Caf\xC3\xA9 \xE4\xB8\xAD\r\n\r\n");
}

} // namespace
