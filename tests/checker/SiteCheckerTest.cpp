#include <filesystem>
#include <functional>
#include <unistd.h>

#include "../generator/GeneratorFixture.h"
#include "checker/CBannerCheck.h"
#include "checker/CContrastCheck.h"
#include "checker/CSiteChecker.h"

namespace {

constexpr int64_t kAsOf = 1'800'000'000; // 2027-01-15
constexpr int64_t kDay = 86400;

void SetExtension(CGenerateDlg& generate, const char* pszExtension)
{
    CSiteSettings settings = generate.GetSiteSettings();
    CString error;
    ASSERT_TRUE(settings.Set("extension", pszExtension, error)) << error;
    generate.SetSiteSettings(settings);
}

// A small clean site in its own workspace: Index with the page About (its
// paragraph Team) and the link Home. Each case spoils one thing.
class SiteChecker : public CGeneratorFixture {
protected:
    SiteChecker()
    {
        WriteTemplates(
            "[@TAG=!][@IMAGE=!][@LINE=!][@BGIMAGE=!][@HOMEBUTTON=!][@UPBUTTON=!]<A NAME=\"[TAG]\"></A>\n",
            "[@TAG=!][TAG]\n", "[@LINK=!][LINK]\n");
        for (const char* image :
            { "images/pagewell.jpg", "images/bluerib.gif", "images/home.gif", "images/Back.gif" })
            Write(image, "gif");
        m_hRoot = Add(nullptr, "Index", NODE_PAGE, "Home", "See <a href=\"about.htm#team\">the team</a>.");
        m_hAbout = Add(m_hRoot, "About", NODE_PAGE, "About us", "<img src=\"home.gif\" alt=\"Home\">");
        m_hTeam = Add(m_hAbout, "Team", NODE_PARAGRAPH, "The team", "Ask <a href=\"#main\">us</a>.");
        Add(m_hRoot, "Home", NODE_LINK, "Our club\r\nhttps://example.org/");
        for (HTREEITEM h = m_hRoot; h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            Node(h).m_info.m_clrVLink = 0x800080; // purple: the default green is too light
    }

    std::vector<CFinding> Check()
    {
        const CFileLocator locator(Files(), m_strShareDir);
        CCheckContext context(m_tree, m_props, m_settings.m_bLowercase != 0, m_settings.m_strDestination,
            Files(), locator, { kAsOf, 14, m_settings.GetSiteSettings() });
        return CSiteChecker::Check(context);
    }

    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hAbout = nullptr;
    HTREEITEM m_hTeam = nullptr;
};

TEST_F(SiteChecker, TheCleanSiteHasNoFinding)
{
    for (const CFinding& finding : Check())
        ADD_FAILURE() << finding.FormatLine();
    // Its link to about.htm is rewritten once the pages end in .html.
    SetExtension(m_settings, "html");
    for (const CFinding& finding : Check())
        ADD_FAILURE() << finding.FormatLine();
}

class SiteCheckerFinds;
struct CCase {
    const char* pszName;
    std::function<void(SiteCheckerFinds&, HTREEITEM hRoot, HTREEITEM hAbout, HTREEITEM hTeam)> spoil;
    ESeverity severity;
    const char* pszPath;
    const char* pszMessage; // a part of the message
};

class SiteCheckerFinds : public SiteChecker, public ::testing::WithParamInterface<CCase> {
public:
    HTREEITEM Add(HTREEITEM hParent, const CString& tag, uint32_t type = NODE_PAGE, const CString& title = "")
    {
        const HTREEITEM hItem = SiteChecker::Add(hParent, tag, type, title);
        Node(hItem).m_info.m_clrVLink = 0x800080;
        return hItem;
    }
    using SiteChecker::Node;
    using SiteChecker::Write;
    CDocProperties& Props() { return m_props; }
    CGenerateDlg& Settings() { return m_settings; }
};

TEST_P(SiteCheckerFinds, OneFindingForEachFault)
{
    const CCase& c = GetParam();
    c.spoil(*this, m_hRoot, m_hAbout, m_hTeam);
    const std::vector<CFinding> findings = Check();
    ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "none" : findings.back().FormatLine().c_str());
    EXPECT_EQ(findings[0].severity, c.severity) << findings[0].FormatLine();
    if (*c.pszPath != '\0')
        EXPECT_EQ(findings[0].GetPathText(), c.pszPath);
    else
        EXPECT_EQ(findings[0].path.size(), 2u + CGenerationRun::kMaxNesting);
    EXPECT_NE(findings[0].message.find(c.pszMessage), CString::npos) << findings[0].FormatLine();
    EXPECT_FALSE(findings[0].hint.empty());
}

using T = SiteCheckerFinds;
const CCase kCases[] = {
    { "EqualTags", [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Add(r, "About"); }, ESeverity::Error,
        "Index/About", "writes the same file about.htm as Index/About" },
    { "TagsEqualOnceLowered", [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Add(r, "ABOUT"); },
        ESeverity::Error, "Index/ABOUT", "equal once lowered" },
    { "TagsEqualButForCase",
        [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) {
            t.Settings().m_bLowercase = 0;
            t.Node(r).m_strText.clear(); // its link would now lead to the new page
            t.Add(r, "about");
        },
        ESeverity::Warning, "Index/about", "differs only in letter case from About.htm" },
    { "LinkByAnExtensionThePagesDoNotHave",
        [](T&, HTREEITEM r, HTREEITEM, HTREEITEM) { r->GetNode()->m_strText = "<a href=\"about.html\">"; },
        ESeverity::Error, "Index", "about.html leads to no page: the site's page files end in .htm" },
    // Not rewritten (the letter case differs), so broken once pages end in .html.
    { "OldExtensionInAnotherCase",
        [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) {
            SetExtension(t.Settings(), "html");
            r->GetNode()->m_strText = "<a href=\"About.htm\">";
        },
        ESeverity::Error, "Index", "About.htm leads to no page: the site's page files end in .html" },
    { "PageNamedLikeACopiedImage",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM) {
            t.Props().m_strUpButton = "About.htm";
            t.Write("images/About.htm", "gif");
        },
        ESeverity::Error, "Index/About", "has the name of the image images/About.htm" },
    { "RefusedTag", [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Add(r, ".."); }, ESeverity::Error,
        "Index/..", "writes no page" },
    { "NestedTooDeeply",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM team) {
            for (int i = 1; i < CGenerationRun::kMaxNesting; ++i)
                team = t.Add(team, "P" + std::to_string(i), NODE_PARAGRAPH);
        },
        ESeverity::Error, "", "nested 200 levels" },
    { "MissingTemplate",
        [](T&, HTREEITEM, HTREEITEM, HTREEITEM) { std::filesystem::remove("templates/Default.pgh.txt"); },
        ESeverity::Error, "Index/About/Team", "templates/Default.pgh.txt is missing" },
    { "UnknownMacro",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM) {
            t.Write("templates/Default.lnk.txt", "#\n[@LINK=!][LNK]\n");
        },
        ESeverity::Error, "(project)",
        "templates/Default.lnk.txt:2: Unknown macro name (in template file) : LNK" },
    { "UnclosedDirective",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM) { t.Write("templates/Default.pgh.txt", "[@TAG=!][TAG\n"); },
        ESeverity::Error, "(project)", "templates/Default.pgh.txt:1: no \"]\" closes the directive [TAG" },
    { "MissingIcon", [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) { t.Node(a).m_info.m_strIcon = "gone.gif"; },
        ESeverity::Error, "Index/About", "the icon \"images/gone.gif\" is missing" },
    { "ImageThatIsAFolder",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) {
            std::filesystem::create_directories("lineimages/line.gif");
            t.Node(a).m_info.m_strLineImage = "line.gif";
        },
        ESeverity::Error, "Index/About", "lineimages/line.gif\" is not a regular file" },
    { "ImageOutsideTheWorkspace",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) { t.Node(a).m_info.m_strBgBitmap = "\\etc\\passwd"; },
        ESeverity::Error, "Index/About", "the background \"\\etc\\passwd\" lies outside the workspace" },
    { "ImageLinkedFromOutside",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) {
            ASSERT_EQ(::symlink("/etc/passwd", "images/passwd.gif"), 0);
            t.Node(a).m_info.m_strIcon = "passwd.gif";
        },
        ESeverity::Error, "Index/About", "the icon \"images/passwd.gif\" lies outside the workspace" },
    { "TemplateLinkedFromOutside",
        [](T&, HTREEITEM, HTREEITEM, HTREEITEM) {
            std::filesystem::remove("templates/Default.pgh.txt");
            ASSERT_EQ(::symlink("/etc/passwd", "templates/Default.pgh.txt"), 0);
        },
        ESeverity::Error, "Index/About/Team", "templates/Default.pgh.txt lies outside the workspace" },
    { "TemplateImageMissing",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM) {
            t.Write("templates/Default.lnk.txt", "[@IMAGE=!logo.gif]\n");
        },
        ESeverity::Error, "(project)", "the image in templates/Default.lnk.txt \"logo.gif\" is missing" },
    { "UnusedImagePropertiesAreLeftAlone",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM m) {
            t.Props().m_strBackButton = "gone.gif"; // no template takes it
            t.Node(m).m_info.m_strIcon = "gone.gif"; // the paragraph template takes no icon
            t.Node(m).m_strTitle.clear();
        },
        ESeverity::Warning, "Index/About/Team", "the title is empty" },
    { "LinkToAMissingPage",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM m) {
            t.Node(m).m_strText = "<A HREF=\"news.htm\">news</A>";
        },
        ESeverity::Error, "Index/About/Team", "news.htm leads to a page the site does not have" },
    { "LinkToAMissingAnchor",
        [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) {
            t.Node(r).m_strText = "<a href='about.htm#board'>x</a>";
        },
        ESeverity::Error, "Index", "about.htm#board names an anchor that no object" },
    { "LinkInAnotherCase",
        [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Node(r).m_strText = "<a href=About.htm>x</a>"; },
        ESeverity::Warning, "Index", "differs in letter case from the page file about.htm" },
    { "BodyImageMissing",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) {
            t.Node(a).m_strText = "<IMG SRC=\"pic.gif\" ALT=\"\">";
        },
        ESeverity::Warning, "Index/About", "pic.gif is neither copied by the run nor in the destination" },
    { "ImageWithoutAlt",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) { t.Node(a).m_strText = "<IMG SRC=\"home.gif\"></IMG>"; },
        ESeverity::Warning, "Index/About", "home.gif has no alt text" },
    { "LinkStillHttp",
        [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Add(r, "New", NODE_LINK, kNewLinkTitle); },
        ESeverity::Error, "Index/New", "still \"http://\"" },
    { "BannerExpired",
        [](T& t, HTREEITEM, HTREEITEM a, HTREEITEM) {
            t.Node(a).m_info.m_bNew = 1;
            t.Node(a).m_info.m_nExpireDays = 2;
            t.Node(a).m_tStamp = static_cast<int32_t>(kAsOf - 2 * kDay - 1);
        },
        ESeverity::Warning, "Index/About", "the New banner expired on 2027-01-15" },
    { "BannersExpiringSoon",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM m) {
            t.Node(m).m_info.m_bUpdated = 1;
            t.Node(m).m_info.m_bConstruction = 1;
            t.Node(m).m_info.m_nExpireDays = 30;
            t.Node(m).m_tStamp = static_cast<int32_t>(kAsOf - 16 * kDay);
        },
        ESeverity::Warning, "Index/About/Team", "the Updated, Construction banner expires on 2027-01-29" },
    { "LowContrast", [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Node(r).m_info.m_clrLink = 0x00FFFF; },
        ESeverity::Warning, "Index",
        "the link colour #FFFF00 on the background #FFFFFF has a contrast of 1.1:1" },
    { "UnknownType", [](T& t, HTREEITEM r, HTREEITEM, HTREEITEM) { t.Add(r, "Odd", 3, "Odd"); },
        ESeverity::Error, "Index/Odd", "the unknown type 3" },
    { "NegativeType",
        [](T& t, HTREEITEM, HTREEITEM, HTREEITEM m) { t.Node(m).m_nType = static_cast<uint32_t>(-1); },
        ESeverity::Error, "Index/About/Team", "the unknown type -1" },
    { "EmptyTitle", [](T& t, HTREEITEM, HTREEITEM, HTREEITEM m) { t.Node(m).m_strTitle = " \r\n"; },
        ESeverity::Warning, "Index/About/Team", "the title is empty" },
};

INSTANTIATE_TEST_SUITE_P(Faults, SiteCheckerFinds, ::testing::ValuesIn(kCases),
    [](const auto& info) { return info.param.pszName; });

TEST_F(SiteChecker, FindingsOfADeepBranchShareTheirPaths)
{
    // A finding on each object of a deep branch: each path is its parent's
    // and one more tag, and its text shows its two ends.
    HTREEITEM h = m_hTeam;
    constexpr int kDepth = 3000;
    for (int i = 3; i < kDepth; ++i) {
        h = Add(h, "p" + std::to_string(i), NODE_PARAGRAPH, "p");
        Node(h).m_strText = "<a href=\"#nowhere\">x</a>";
    }
    size_t nAnchors = 0;
    for (const CFinding& finding : Check()) {
        if (finding.message.find("#nowhere") == CString::npos)
            continue;
        const size_t depth = finding.path.size();
        EXPECT_EQ(finding.path[depth - 1], "p" + std::to_string(depth - 1));
        ++nAnchors;
    }
    EXPECT_EQ(nAnchors, static_cast<size_t>(kDepth - 3));

    const auto Path = [](size_t n) {
        CTagPath path;
        for (size_t i = 0; i < n; ++i)
            path = path.Append("t" + std::to_string(i));
        return path;
    };
    EXPECT_EQ(CTagPath().GetText(), "");
    EXPECT_EQ(Path(3).GetText(), "t0/t1/t2");
    EXPECT_EQ(Path(CTagPath::kShownTags).GetText().find("..."), CString::npos);
    const CString cut = Path(CTagPath::kShownTags + 1).GetText();
    EXPECT_TRUE(cut.starts_with("t0/t1/")) << cut;
    EXPECT_NE(cut.find("/t19/.../t21/"), CString::npos) << cut;
    EXPECT_TRUE(cut.ends_with("/t40")) << cut;
    EXPECT_EQ(Path(5).GetTags(), (std::vector<CString> { "t0", "t1", "t2", "t3", "t4" }));
    EXPECT_EQ((CTagPath { "Index", "About" }).GetText(), "Index/About");
}

TEST(SiteCheckerRules, ContrastRatiosOfTheGuidelines)
{
    EXPECT_NEAR(CContrastCheck::GetContrast(0x000000, 0xFFFFFF), 21.0, 0.01);
    EXPECT_NEAR(CContrastCheck::GetContrast(0xFFFFFF, 0xFFFFFF), 1.0, 0.01);
    // #767676 is the lightest grey that passes on white, #777777 fails.
    EXPECT_GE(CContrastCheck::GetContrast(0x767676, 0xFFFFFF), CContrastCheck::kMinContrast);
    EXPECT_LT(CContrastCheck::GetContrast(0x777777, 0xFFFFFF), CContrastCheck::kMinContrast);
    // Red in the low byte: pure red and pure blue differ.
    EXPECT_NEAR(CContrastCheck::GetContrast(0x0000FF, 0xFFFFFF), 4.0, 0.01);
    EXPECT_NEAR(CContrastCheck::GetContrast(0xFF0000, 0xFFFFFF), 8.59, 0.01);
}

TEST(SiteCheckerRules, DatesRoundTripAndBadOnesAreRefused)
{
    EXPECT_EQ(CBannerCheck::ParseDate("1970-01-01"), 0);
    EXPECT_EQ(CBannerCheck::ParseDate("2027-01-15"), kAsOf - kAsOf % kDay);
    EXPECT_EQ(CBannerCheck::FormatDate(kAsOf), "2027-01-15");
    EXPECT_EQ(CBannerCheck::FormatDate(-1), "1969-12-31");
    for (const char* bad :
        { "", "2027-1-15", "2027-02-30", "2027-13-01", "2027/01/15", "2027-01-15x", "20x7-01-15" })
        EXPECT_FALSE(CBannerCheck::ParseDate(bad)) << bad;
}

} // namespace
