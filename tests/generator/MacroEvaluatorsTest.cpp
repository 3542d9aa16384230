#include "GeneratorFixture.h"
#include "generator/CFormatMacros.h"
#include "generator/CTextPreparer.h"
#include "model/CDocInfo.h"

namespace {

constexpr uint32_t Format(uint32_t align, uint32_t style)
{
    return align | (style << FORMAT_STYLE_SHIFT);
}

TEST(MacroFormat, AlignAndStyle)
{
    struct CCase {
        const char* pszDef;
        uint32_t nFormat;
        const char* pszAlign;
        const char* pszStyle;
    } cases[] = {
        { "!", Format(ALIGN_CENTER, STYLE_H2), "<CENTER>", "<H2>" },
        { "!", Format(ALIGN_LEFT, STYLE_H4), "<LEFT>", "<H4>" },
        { "!", Format(ALIGN_RIGHT, 8), "<RIGHT>", "<H8>" },
        { "!", Format(ALIGN_NONE, STYLE_NORMAL), "", "" },
        { "!P", Format(ALIGN_NONE, STYLE_NONE), "<P>", "<P>" },
        { "!P", Format(5, STYLE_HIDDEN), "<P>", "<P>" },
        { "!P", Format(ALIGN_NONE, STYLE_NORMAL), "<P>", "" },
        { "!<b>", Format(ALIGN_NONE, STYLE_NONE), "<<b>>", "<b>" },
        { "<div>", Format(ALIGN_CENTER, STYLE_H1), "<<div>>", "<div>" },
        { "BLOCKQUOTE", 0, "<BLOCKQUOTE>", "<BLOCKQUOTE>" },
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(CFormatMacros::Align(c.pszDef, c.nFormat), c.pszAlign) << c.pszDef << " " << c.nFormat;
        EXPECT_EQ(CFormatMacros::Style(c.pszDef, c.nFormat), c.pszStyle) << c.pszDef << " " << c.nFormat;
    }
}

TEST(MacroFormat, ColorPrintsRedFirstAndIgnoresTheTopByte)
{
    CDocInfo info;
    info.m_clrText = 0x000000FF; // pure red
    info.m_clrBg = 0xAB563412;
    info.m_clrLink = 0x00FF0000; // blue
    info.m_clrVLink = 0x0000FF00;
    const CString attributes = R"(text="#FF0000" bgcolor="#123456" link="#0000FF" vlink="#00FF00")";
    EXPECT_EQ(CFormatMacros::Color("!", info), attributes);
    EXPECT_EQ(CFormatMacros::Color("!ignored", info), attributes);
    EXPECT_EQ(CFormatMacros::Color("bgcolor=white", info), "bgcolor=white");
}

TEST(MacroPrepareText, CutsStripsAndExpands)
{
    // Without a table of contents writer the macro is simply left out.
    const CTextPreparer preparer(nullptr);
    struct CCase {
        const char* pszText;
        bool bCut;
        const char* pszResult;
    } cases[] = {
        { "AB[$$CD", false, "AB[$CD" },
        { "AB[$xCD", false, "ABxCD" },
        { "AB[$", false, "AB" },
        { "A\r\nB\r\n", false, "A\nB\n" },
        { "Text\r\nhttp://x", true, "Text\n" },
        { "two words", true, "two " },
        { "nourl", true, "" },
        { "[$$ keep", true, "[$ " },
    };
    for (const CCase& c : cases)
        EXPECT_EQ(preparer.PrepareText(c.pszText, c.bCut, true), c.pszResult) << c.pszText;
    EXPECT_EQ(preparer.PrepareText("AB[$$CD", false, false), "AB[$$CD");
}

TEST(MacroPrepareText, LinkNamesAreTheFirstLineOrTheUrl)
{
    const CTextPreparer preparer(nullptr);
    const struct {
        const char* pszTitle;
        const char* pszName;
    } cases[] = {
        { "Royal Society \r\n\r\nhttps://rhs.example/", "Royal Society" },
        { "One line https://one.example/", "One line" },
        { "First\r\nSecond https://x.example/", "First" },
        // Nothing before the URL: the link is named by it.
        { "https://bare.example/", "https://bare.example/" },
        { "  \r\nhttps://blank.example/", "https://blank.example/" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(preparer.PrepareLinkName(c.pszTitle), c.pszName) << c.pszTitle;
}

class MacroEvaluators : public CGeneratorFixture { };

TEST_F(MacroEvaluators, ObjectAndProjectTexts)
{
    const HTREEITEM hRoot = Add(nullptr, "Index", NODE_PAGE, "Home\r\npage", "Body\r\ntext");
    m_props.m_strAuthor = "Ann";
    m_props.m_strEmail = "ann@example.org";
    EXPECT_EQ(ExpandWith("[@TEXT=!][@TITLE=!][@TAG=!][@AUTHOR=!][@ADDRESS=!][@GENERATOR=!][@REFTITLE=!]"
                         "[TEXT]|[TITLE]|[TAG]|[AUTHOR]|[ADDRESS]|[GENERATOR]|[REFTITLE]"),
        "Body\ntext|Home\npage|index|Ann|ann@example.org|Pagewell 0.3b|Home\npage");
    // A hidden title gives an empty TITLE but a full REFTITLE.
    Node(hRoot).m_nTitleFormat = Format(ALIGN_NONE, STYLE_HIDDEN);
    EXPECT_EQ(Expand(hRoot), "Body\ntext||index|Ann|ann@example.org|Pagewell 0.3b|Home\npage");
}

TEST_F(MacroEvaluators, SiteSettingsFollowTheTemplateRules)
{
    Add(nullptr, "index", NODE_PAGE, "T", "B");
    const std::string tmpl = "[LANG]0[@LANG=!][@DESCRIPTION=x][@BASEURL=!][@CHARSET=!]"
                             "[LANG]|[DESCRIPTION]|[BASEURL]|[CHARSET]|[/LANG= lang][/CHARSET][@LANG=]"
                             "[lang][/baseurl=!][@LANG=!en][@BASEURL=!\"&][LANG][BASEURL]";
    // No settings: empty texts and the old encoding; closings of empty values write nothing.
    EXPECT_EQ(ExpandWith(tmpl), "0|||windows-1252|</indows-1252en&quot;&amp;");
    m_settings.m_strSpare = "pagewell-settings 1\nlang=de-CH\ndescription=Fish & \"chips\" <3\n"
                            "baseurl=https://x.org/?a=1&b=2\nencoding=utf-8\n";
    m_pRun.reset();
    // Texts are escaped for the attributes they go into; an empty
    // definition keeps the value; a fallback serves only an empty setting.
    EXPECT_EQ(ExpandWith(tmpl),
        "0de-CH|Fish &amp; &quot;chips&quot; &lt;3|https://x.org/?a=1&amp;b=2|utf-8| "
        "lang</tf-8de-CH!de-CHhttps://x.org/?a=1&amp;b=2");
}

TEST_F(MacroEvaluators, FormatStateFollowsTextTitleAndResets)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "T", "B");
    Node(hRoot).m_nTextFormat = Format(ALIGN_CENTER, STYLE_H2);
    Node(hRoot).m_nTitleFormat = Format(ALIGN_RIGHT, STYLE_NORMAL);
    EXPECT_EQ(ExpandWith("[@ALIGN=!][@STYLE=!]0[ALIGN][STYLE]\n"
                         "[@TEXT=!][@ALIGN=!][@STYLE=!]1[ALIGN][STYLE][/STYLE]\n"
                         "[@TITLE=!][@ALIGN=!][@STYLE=!]2[ALIGN][STYLE][/STYLE]\n"
                         "[@TEXT=!][@AUTHOR=!][@ALIGN=!X][@STYLE=!]3[ALIGN][STYLE]\n"
                         "[@TEXT=!][@REFTITLE=!][@TAG=!][@ALIGN=!]4[ALIGN]\n"),
        "0\n1<CENTER><H2></H2>\n2<RIGHT>\n3<X>\n4<CENTER>\n");
}

TEST_F(MacroEvaluators, References)
{
    const HTREEITEM hRoot = Add(nullptr, "Index", NODE_PAGE, "Root title");
    const HTREEITEM hPage = Add(hRoot, "About", NODE_PAGE, "About us");
    const HTREEITEM hPara = Add(hPage, "Team", NODE_PARAGRAPH, "The team");
    const HTREEITEM hLink = Add(hPara, "Me", NODE_LINK, "Me\r\nhttp://me");
    const std::string refs
        = "[@HOME=!][@PARENT=!][@UP=!][HOME] [HOMENAME]|[PARENT] [PARENTNAME]|[UP] [UPNAME]";
    WriteTemplates(refs, refs, refs);
    EXPECT_EQ(Expand(hRoot), "index.htm#main Root title|index.htm#main Root title|#index Root title");
    EXPECT_EQ(Expand(hPage), "index.htm#main Root title|index.htm#index Root title|#about About us");
    EXPECT_EQ(Expand(hPara), "index.htm#main Root title|about.htm#about About us|#about About us");
    EXPECT_EQ(Expand(hLink), "index.htm#main Root title|about.htm#team The team|#about About us");
}

TEST_F(MacroEvaluators, LinkSplitsTheTitleIntoTextAndUrl)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hLink = Add(hRoot, "l", NODE_LINK, "Our site\r\nhttp://example.org/");
    const HTREEITEM hBare = Add(hRoot, "b", NODE_LINK, "http://bare");
    const HTREEITEM hSpace = Add(hRoot, "s", NODE_LINK, " leading");
    WriteTemplates("", "", "[@TITLE=!][@LINK=!][LINK]|[TITLE]|[@ALIGN=!][ALIGN]");
    Node(hLink).m_nTitleFormat = Format(ALIGN_LEFT, STYLE_NONE);
    EXPECT_EQ(Expand(hLink), "http://example.org/|Our site\n|<LEFT>");
    EXPECT_EQ(Expand(hBare), "|http://bare|"); // no blank or line end: unchanged
    EXPECT_EQ(Expand(hSpace), "| leading|"); // the first character is not searched
    Node(hLink).m_nTitleFormat = Format(ALIGN_NONE, STYLE_HIDDEN);
    EXPECT_EQ(Expand(hLink), "http://example.org/||");
}

TEST_F(MacroEvaluators, ImagesWithFallback)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    CNode& node = Node(hRoot);
    EXPECT_EQ(ExpandWith("[@LINE=<hr>][@LINE=!][LINE]|[@LINE=!none.gif][LINE]|[@BULLET=!][BULLET]"),
        "<hr>|<IMG SRC=\"none.gif\">|");
    EXPECT_EQ(Run().GetCopyList().GetText(), "[none.gif]");

    node.m_info.m_strLineImage = "Rule.GIF";
    m_props.m_strBullet = "\\abs\\Dot.gif";
    m_pRun.reset();
    EXPECT_EQ(Expand(hRoot),
        "<IMG SRC=\"rule.gif\">|<IMG SRC=\"rule.gif\">|<IMG SRC=\"dot.gif\" border=0 vspace=0>");
    EXPECT_EQ(Run().GetCopyList().GetText(), "[lineimages/Rule.GIF][\\abs\\Dot.gif]");

    m_settings.m_bLowercase = 0;
    m_pRun.reset();
    EXPECT_EQ(ExpandWith("[@LINE=!][LINE]"), "<IMG SRC=\"Rule.GIF\">");
}

TEST_F(MacroEvaluators, BackgroundAttributesAccumulate)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    // Two assignments give two attributes; a fallback file name does not
    // replace what was gathered before.
    EXPECT_EQ(ExpandWith("[@BGIMAGE=a.gif][@BGIMAGE=!fb.gif][BGIMAGE]|[@BGIMAGE=!][BGIMAGE]"),
        "background=\"a.gif\"background=\"fb.gif\"|background=\"a.gif\"background=\"fb.gif\"");
    Node(hRoot).m_info.m_strBgBitmap = "Paper.jpg";
    m_pRun.reset();
    EXPECT_EQ(ExpandWith("[@BGIMAGE=!fb.gif][BGIMAGE]"), "background=\"paper.jpg\"");
    EXPECT_EQ(Run().GetCopyList().GetText(), "[background/Paper.jpg]");
}

TEST_F(MacroEvaluators, ImagesButtonsAndBanners)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Logo & co");
    CNode& node = Node(hRoot);
    node.m_info.m_strIcon = "Logo.GIF";
    m_props.m_strHomeButton = "home.gif";
    m_props.m_strBackButton = "";
    m_props.m_strNewImage = "new.gif";
    m_props.m_strUpdatedImage = "upd.gif";
    WriteTemplates(
        "[@IMAGE=!][IMAGE]|[@HOMEBUTTON=!][HOMEBUTTON]|[@BACKBUTTON=<b>][@BACKBUTTON=!][BACKBUTTON]|"
        "[@UPBUTTON=!icons\\Up.gif][UPBUTTON]|[@NEWIMAGE=!][NEWIMAGE]|"
        "[@UPDATEDIMAGE=<i>][UPDATEDIMAGE][@UPDATEDIMAGE=!][UPDATEDIMAGE]|[@CONSTRIMAGE=c.gif][CONSTRIMAGE]");
    node.m_info.m_bNew = 0;
    node.m_info.m_bUpdated = 0;
    node.m_info.m_bConstruction = 0;
    EXPECT_EQ(Expand(hRoot),
        "<IMG SRC=\"logo.gif\" ALT=\"Logo &amp; co\" border=0>|<IMG SRC=\"home.gif\" ALT=\"Home\" border=0>||"
        "<IMG SRC=\"up.gif\" ALT=\"Up\" border=0>||<i><i>|");
    EXPECT_EQ(Run().GetCopyList().GetText(), "[images/Logo.GIF][images/home.gif][icons\\Up.gif]");

    node.m_info.m_bNew = 1;
    node.m_info.m_bUpdated = 1;
    node.m_info.m_bConstruction = 1;
    EXPECT_EQ(Expand(hRoot),
        "<IMG SRC=\"logo.gif\" ALT=\"Logo &amp; co\" border=0>|<IMG SRC=\"home.gif\" ALT=\"Home\" border=0>||"
        "<IMG SRC=\"up.gif\" ALT=\"Up\" border=0>|<IMG SRC=\"new.gif\" ALT=\"New\" border=0>|"
        "<i><IMG SRC=\"upd.gif\" ALT=\"Updated\" border=0>|<IMG SRC=\"c.gif\" ALT=\"Construction\" "
        "border=0>");
    // Each path enters the copy list once.
    EXPECT_EQ(Run().GetCopyList().GetText(),
        "[images/Logo.GIF][images/home.gif][icons\\Up.gif][images/new.gif][images/upd.gif][c.gif]");
}

TEST_F(MacroEvaluators, IconAltTextOfALinkLeavesOutTheUrl)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hLink = Add(hRoot, "l", NODE_LINK, "Site\r\nhttp://x");
    Node(hLink).m_info.m_strIcon = "i.gif";
    WriteTemplates("", "", "[@IMAGE=!][IMAGE]");
    EXPECT_EQ(Expand(hLink), "<IMG SRC=\"i.gif\" ALT=\"Site\n\" border=0>");
}

} // namespace
