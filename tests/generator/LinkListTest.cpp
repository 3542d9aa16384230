#include "GeneratorFixture.h"
#include "generator/CContentsWriter.h"

namespace {

class LinkLists : public CGeneratorFixture { };

TEST_F(LinkLists, ObjectWithoutChildrenHasEmptyLists)
{
    EXPECT_EQ(ExpandWith("[@LINKS=!]<[LINKS]|[LINKBODY]>"), "<|>");
}

TEST_F(LinkLists, PagesAreBracketedAndParagraphsAndLinksRendered)
{
    const HTREEITEM hRoot = Add(nullptr, "Index", NODE_PAGE, "Home");
    Add(hRoot, "A", NODE_PAGE, "Page A");
    const HTREEITEM hB = Add(hRoot, "B", NODE_PARAGRAPH, "Para B");
    Add(hRoot, "C", NODE_LINK, "Link C\r\nhttp://c");
    Add(hB, "B1", NODE_LINK, "Inner\r\nhttp://b1");
    m_props.m_strBullet = "dot.gif";
    WriteTemplates("[@BULLET=!][@LINKS=!][LINKS]--\n[LINKBODY]",
        "(P [@TAG=!][TAG][@LINKS=x][LINKS][LINKBODY])", "(L [@TAG=!][TAG])");
    const CString bullet = "<IMG SRC=\"dot.gif\" border=0 vspace=0>";
    EXPECT_EQ(Expand(hRoot),
        bullet + "  <A HREF=\"a.htm#a\"> [Page A]</A>\n" + bullet + "  <A HREF=\"index.htm#b\"> Para B</A>\n"
            + bullet
            + "  <A HREF=\"index.htm#c\"> Link C\n</A>\n--\n"
            // A paragraph's children belong to the page above it: bracketed.
            + "(P b  <A HREF=\"index.htm#b1\"> [Inner\n]</A>\n(L b1))(L c)");
    // Every child's line came before its expansion: one step per object.
    EXPECT_EQ(m_ui.m_nSteps, 4);
}

TEST_F(LinkLists, BulletShowsOnlyWhenAssignedBeforeLinks)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    Add(hRoot, "a");
    m_props.m_strBullet = "dot.gif";
    EXPECT_EQ(ExpandWith("[@LINKS=!][@BULLET=!][LINKS]"), "  <A HREF=\"a.htm#a\"> [a]</A>\n");
}

TEST_F(LinkLists, HomeLinksAreGatheredByTheRootPage)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home");
    const HTREEITEM hA = Add(hRoot, "a", NODE_PAGE, "A");
    Add(hRoot, "n", NODE_PARAGRAPH, "News");
    WriteTemplates("[@HOMELINKS=!]<[HOMELINKS]>[@LINKS=!][@HOMELINKS=!]<[HOMELINKS]>", "-");
    const CString homeLinks = "<A HREF=\"a.htm#a\"> [A]</A>\n<A HREF=\"index.htm#n\"> [News]</A>\n";
    EXPECT_EQ(Expand(hRoot), "<><" + homeLinks + ">");
    EXPECT_EQ(Expand(hA), "<" + homeLinks + "><" + homeLinks + ">");
    // A second LINKS on the root gathers every entry again.
    EXPECT_EQ(Expand(hRoot), "<" + homeLinks + "><" + homeLinks + homeLinks + ">");
}

TEST_F(LinkLists, MissingChildTemplateKeepsTheLineAndGivesAnEmptyBody)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    Add(hRoot, "p", NODE_PARAGRAPH, "P");
    EXPECT_EQ(ExpandWith("[@LINKS=!][LINKS]<[LINKBODY]>"), "  <A HREF=\"index.htm#p\"> P</A>\n<>");
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to open template file: templates/Default.pgh.txt");
}

TEST_F(LinkLists, TableOfContentsNestsBalancedLists)
{
    const HTREEITEM hRoot = Add(nullptr, "Index", NODE_PAGE, "T1");
    Add(hRoot, "news", NODE_PARAGRAPH, "T2");
    const HTREEITEM hAbout = Add(hRoot, "about", NODE_PAGE, "T3");
    Add(hAbout, "me", NODE_LINK, "T4\r\nhttp://me");
    CString out;
    EXPECT_TRUE(CContentsWriter(Run().GetNames()).WriteContents(out));
    EXPECT_EQ(out,
        "<UL>\n"
        "<LI>Page <A HREF=\"index.htm#index\">T1</A>\n"
        "<UL>\n"
        "<LI>Section <A HREF=\"index.htm#news\">T2</A>\n"
        "<LI>Page <A HREF=\"about.htm#about\">T3</A>\n"
        "<UL>\n"
        "<LI>Link <A HREF=\"about.htm#me\">T4\n</A>\n"
        "</UL>\n"
        "</UL>\n"
        "</UL>\n");
}

TEST_F(LinkLists, TableOfContentsMacroInTextsAndTitles)
{
    const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Site [$i]", "A[$i]B[$I");
    const CString table = "<UL>\n<LI>Page <A HREF=\"index.htm#index\">Site [$i]</A>\n</UL>\n";
    // No expansion inside the table; two macros give two tables.
    EXPECT_EQ(ExpandWith("[@TEXT=!][TEXT]|[@TITLE=!][TITLE]|[@REFTITLE=!][REFTITLE]"),
        "A" + table + "B" + table + "|Site " + table + "|Site " + table);
    (void)hRoot;
}

TEST_F(LinkLists, ParagraphAtTheTopHasNoPageFile)
{
    // An odd tree whose root is not a page: references lose their file name
    // but nothing fails.
    Add(nullptr, "top", NODE_PARAGRAPH, "Top");
    CString out;
    CContentsWriter(Run().GetNames()).WriteContents(out);
    EXPECT_EQ(out, "<UL>\n<LI>Section <A HREF=\".htm#top\">Top</A>\n</UL>\n");
}

} // namespace

namespace {

TEST_F(LinkLists, DeeplyNestedParagraphsStopAtTheNestingLimit)
{
    HTREEITEM hItem = Add(nullptr, "index");
    for (int i = 0; i < CGenerationRun::kMaxNesting + 5; ++i)
        hItem = Add(hItem, "p" + std::to_string(i), NODE_PARAGRAPH);
    WriteTemplates("[@LINKS=!][LINKBODY]", "+[@LINKS=!][LINKBODY]");
    EXPECT_EQ(Expand(m_tree.GetRootItem()), std::string(CGenerationRun::kMaxNesting - 1, '+'));
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to expand p199: objects nested too deeply");
}

} // namespace
