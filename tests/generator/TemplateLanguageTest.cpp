#include "GeneratorFixture.h"

namespace {

class TemplateLanguage : public CGeneratorFixture { };

TEST_F(TemplateLanguage, CommentLinesAndAssignmentLinesLeaveNothing)
{
    EXPECT_EQ(ExpandWith("# a comment\n#[TAG]\n"), "");
    EXPECT_EQ(Log(), "Parsing template file: templates/Default.hdr.txt\r\n");
    // An assignment alone on its line leaves no empty line; an insertion alone
    // keeps its line end; a "#" inside a line is text.
    EXPECT_EQ(Expand(m_tree.GetRootItem()), "");
    m_pRun.reset();
    WriteTemplates("<p>\n[@TAG=!]\nA # b\n[TAG]\n[@TAG=!] after\n");
    EXPECT_EQ(Expand(m_tree.GetRootItem()), "<p>\nA # b\nindex\n after\n");
}

TEST_F(TemplateLanguage, NamesAreMatchedInUpperCase)
{
    Add(nullptr, "index", NODE_PAGE, "Hello");
    EXPECT_EQ(ExpandWith("[@title=x][Title]"), "Hello");
}

TEST_F(TemplateLanguage, InsertionsAndClosings)
{
    Add(nullptr, "index", NODE_PAGE, "T");
    Node(m_tree.GetRootItem()).m_nTitleFormat = STYLE_H1 << FORMAT_STYLE_SHIFT;
    struct CCase {
        const char* pszTemplate;
        const char* pszOutput;
    } cases[] = {
        { "[TITLE]|[/TITLE]|[/STYLE]", "||" }, // never assigned: nothing
        { "[@TITLE=!][@STYLE=!][STYLE][/STYLE]", "<H1></H1>" },
        { "[@STYLE=<h2 class=x>][/STYLE]", "</h2 class=x>" },
        { "[@TITLE=!][@STYLE=!][/STYLE=</H1><HR>]", "</H1><HR>" }, { "[/STYLE=never]", "" },
        { "[@ALIGN=CENTER][ALIGN]x[/ALIGN]", "<CENTER>x</CENTER>" }, { "[TAG=ignored]", "" },
        { "[@TAG=!][TAG=ignored]", "index" }, { "[@TAG=]", "" }, // an empty definition changes nothing
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(ExpandWith(c.pszTemplate), c.pszOutput) << c.pszTemplate;
        m_pRun.reset();
    }
}

TEST_F(TemplateLanguage, EmptyDefinitionKeepsTheValueAndLogsNothing)
{
    Add(nullptr, "index", NODE_PAGE, "T");
    EXPECT_EQ(ExpandWith("[@TITLE=!][@TITLE=][@LEVEL=][TITLE]"), "T");
    EXPECT_EQ(Log(), "Parsing template file: templates/Default.hdr.txt\r\n");
}

TEST_F(TemplateLanguage, MessagesOfTheLanguage)
{
    const std::string longName(32, 'A');
    EXPECT_EQ(ExpandWith("a[0]b[@TITLE]"
                         "[@"
                  + longName + "=x][" + longName.substr(1) + "][@HOMENAME=x][@nosuch=1][?TITLE=1]c"),
        "abc");
    EXPECT_EQ(Log(),
        "Parsing template file: templates/Default.hdr.txt\r\n"
        "Unknown macro name (in template file) : 0\r\n"
        "Syntax error (in template file): TITLE\r\n"
        "Syntax error (in template file): "
            + longName
            + "=x\r\n"
              "Unknown macro name (in template file) : "
            + longName.substr(1)
            + "\r\n"
              "Dont know how to assgn value to macro: HOMENAME=x\r\n"
              "Unknown macro name (in template file) : NOSUCH\r\n"
              "Dont know contitional statement: TITLE=1\r\n");
}

TEST(MacroNames, EveryNameIsFoundInAnyCaseAndNothingElse)
{
    CGenerationLog log;
    CMacroContext context(log);
    for (int i = 0; i < MACRO_COUNT; ++i) {
        const std::string name(kMacroNames[static_cast<size_t>(i)]);
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(context.LookupMacro(name, false), i) << name;
        EXPECT_EQ(context.LookupMacro(lower + "=x", true), i) << lower;
        // One character more or less is another name (or none).
        EXPECT_EQ(context.LookupMacro(name + "_", false), -1) << name;
        EXPECT_NE(context.LookupMacro(name.substr(0, name.size() - 1), false), i) << name;
    }
    for (const char* other : { "ZZZ", "@TITLE", "_TAG", "\xC9", "1" })
        EXPECT_EQ(context.LookupMacro(other, false), -1) << other;
}

TEST_F(TemplateLanguage, EmptyNamesAreUnknown)
{
    EXPECT_EQ(ExpandWith("a[]b[@=x]c[/]d"), "abcd");
    EXPECT_EQ(Log(),
        "Parsing template file: templates/Default.hdr.txt\r\n"
        "Unknown macro name (in template file) : \r\n"
        "Unknown macro name (in template file) : \r\n"
        "Unknown macro name (in template file) : \r\n");
}

TEST_F(TemplateLanguage, FailedConditionalReportsTwice)
{
    ExpandWith("[?LEVEL]x\n");
    EXPECT_EQ(Log(),
        "Parsing template file: templates/Default.hdr.txt\r\n"
        "Syntax error (in template file): LEVEL\r\n"
        "Dont know contitional statement: LEVEL\r\n");
}

TEST_F(TemplateLanguage, DirectiveWithoutClosingBracketTakesTheRestOfTheLine)
{
    Add(nullptr, "index", NODE_PAGE, "T");
    // The insertion's text is "TITLE x\n": no such name, and the line ends.
    EXPECT_EQ(ExpandWith("a[TITLE x\nb[@TAG=!\n[TAG]"), "abindex");
    EXPECT_EQ(Log(),
        "Parsing template file: templates/Default.hdr.txt\r\n"
        "Unknown macro name (in template file) : TITLE X\n\r\n");
}

TEST_F(TemplateLanguage, LevelConditionalHidesTheRestOfItsLineBelowTheLevel)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hOne = Add(hRoot, "one", NODE_PARAGRAPH);
    const HTREEITEM hTwo = Add(hOne, "two", NODE_PARAGRAPH);
    const HTREEITEM hThree = Add(hTwo, "three", NODE_LINK);
    WriteTemplates("<[?LEVEL=2]shown>\n[?LEVEL=abc]always\n[?LEVEL= +1x]deep\n",
        "<[?LEVEL=2]shown>\n[?LEVEL=abc]always\n[?LEVEL= +1x]deep\n",
        "<[?LEVEL=2]shown>\n[?LEVEL=abc]always\n[?LEVEL= +1x]deep\n");
    EXPECT_EQ(Expand(hRoot), "<always\n");
    EXPECT_EQ(Expand(hOne), "<always\ndeep\n");
    EXPECT_EQ(Expand(hTwo), "<shown>\nalways\ndeep\n");
    EXPECT_EQ(Expand(hThree), "<shown>\nalways\ndeep\n");
}

TEST_F(TemplateLanguage, MoreLinksShowsItsLineOnlyAfterTheLastLinkOfARun)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hA = Add(hRoot, "a", NODE_LINK);
    const HTREEITEM hB = Add(hRoot, "b", NODE_LINK);
    const HTREEITEM hC = Add(hRoot, "c", NODE_PARAGRAPH);
    const HTREEITEM hD = Add(hRoot, "d", NODE_LINK);
    WriteTemplates("", "[?MORELINKS=1]end\n", "[?MORELINKS=1]end\n");
    EXPECT_EQ(Expand(hA), "");
    EXPECT_EQ(Expand(hB), "end\n"); // followed by a paragraph
    EXPECT_EQ(Expand(hC), "");
    EXPECT_EQ(Expand(hD), "end\n"); // the last child
}

TEST_F(TemplateLanguage, LongLinesAreReadInPiecesOf259)
{
    Add(nullptr, "index", NODE_PAGE, "T");
    // 300 characters: a piece of 259 and one of 41, each scanned on its own,
    // so a directive cut by the piece border is lost: its first half reads as an
    // assignment without "=", its second half as text, and TITLE stays empty.
    const std::string first = std::string(255, 'x') + "[@TI";
    EXPECT_EQ(first.size(), 259u);
    EXPECT_EQ(ExpandWith(first + "TLE=!][TITLE]" + std::string(28, 'y') + "\n"),
        std::string(255, 'x') + "TLE=!]" + std::string(28, 'y') + "\n");
    EXPECT_EQ(Log(),
        "Parsing template file: templates/Default.hdr.txt\r\n"
        "Syntax error (in template file): TI\r\n");
    // A "#" as the 260th character starts a comment.
    m_pRun.reset();
    EXPECT_EQ(ExpandWith(std::string(259, 'a') + "# hidden\nz\n"), std::string(259, 'a') + "z\n");
    // A CR before the LF is dropped before the pieces are counted.
    m_pRun.reset();
    EXPECT_EQ(ExpandWith(std::string(258, 'b') + "\r\n#c\r\n"), std::string(258, 'b') + "\n");
}

TEST_F(TemplateLanguage, MissingTemplateIsReportedAndGivesAnEmptyOutput)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hPara = Add(hRoot, "para", NODE_PARAGRAPH);
    WriteTemplates("x");
    EXPECT_EQ(Expand(hPara), "");
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to open template file: templates/Default.pgh.txt");
    EXPECT_EQ(m_ui.m_messages[0].strCaption, "CreateNode() ERROR");
    EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Exclamation);
    EXPECT_EQ(Log(), "");
}

TEST_F(TemplateLanguage, TemplatesAreFoundWithoutRegardToCase)
{
    Add(nullptr, "index", NODE_PAGE, "T");
    Write("Templates/DEFAULT.HDR.TXT", "[@TITLE=!][TITLE]");
    EXPECT_EQ(Expand(m_tree.GetRootItem()), "T");
    // The exact name wins when it exists.
    m_pRun.reset();
    Write("templates/Default.hdr.txt", "exact");
    EXPECT_EQ(Expand(m_tree.GetRootItem()), "exact");
}

} // namespace
