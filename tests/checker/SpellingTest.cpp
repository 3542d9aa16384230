#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "checker/CSpellCheck.h"
#include "checker/CSpelling.h"
#include "checker/SpellWords.h"
#include "model/CNode.h"
#include "support/TestFiles.h"

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    for (const CWordRange& range : FindSpellWords(std::string_view(text), CSpellCheck::IsStoredLetter))
        words.push_back(text.substr(range.nStart, range.nLength));
    return words;
}

TEST(SpellWords, LeavesMarkupAddressesAndMacrosAlone)
{
    const struct {
        const char* pszText;
        std::vector<std::string> words;
    } cases[] = {
        { "Teh quick fox", { "Teh", "quick", "fox" } },
        { "<a href=\"wrng.htm\" title='mispeled'>link</a>", { "link" } },
        { "<!-- notte -->text", { "text" } },
        { "Caf&eacute; and &#233;t&eacute; ok", { "and", "ok" } },
        { "see http://exmaple.org/pagge and www.exmaple.org or me@exmaple.org.", { "see", "and", "or" } },
        { "[$i] [TITLE] word", { "word" } },
        { "don't 'quoted' A 4th x2", { "don't", "quoted" } },
        { "Gr\xFC\xDF"
          "e, na\xEFve; end.",
            { "Gr\xFC\xDF"
              "e",
                "na\xEFve", "end" } },
        { "Tom & Jerry", { "Tom", "Jerry" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Words(c.pszText), c.words) << c.pszText;
}

// A dictionary of a few words in a folder of its own ($DICPATH), and the
// user's list in a configuration folder of its own.
class Spelling : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_folder.File("dicts"));
        for (const char* pszName : { "xx_XX", "xx_YY", "yy" }) {
            WriteWholeFile(
                m_folder.File("dicts/") + pszName + ".aff", "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n");
            WriteWholeFile(
                m_folder.File("dicts/") + pszName + ".dic", "4\nhello\nworld\nquick\nna\xC3\xAFve\n");
        }
        setenv("DICPATH", m_folder.File("dicts").c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_folder.File("config").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("DICPATH");
        unsetenv("XDG_CONFIG_HOME");
    }
    CTempFolder m_folder;
};

TEST_F(Spelling, TheLanguageTagPicksTheDictionary)
{
    const std::pair<const char*, const char*> cases[] = { { "xx-YY", "xx_YY" }, { "xx-yy", "xx_YY" },
        { "xx", "xx_XX" }, { "xx-ZZ", "xx_XX" }, { "yy-AA", "yy" }, { "zz", "" }, { "", "" } };
    for (const auto& [pszTag, pszName] : cases)
        EXPECT_EQ(CSpelling::DictionaryFor(pszTag), pszName) << pszTag;
}

TEST_F(Spelling, KnowsSuggestsAndLearns)
{
    CSpelling spelling;
    ASSERT_FALSE(spelling.Load("zz_ZZ"));
    ASSERT_TRUE(spelling.Load("xx_XX"));
    EXPECT_TRUE(spelling.IsCorrect("hello"));
    EXPECT_TRUE(spelling.IsCorrect("na\xC3\xAFve"));
    EXPECT_FALSE(spelling.IsCorrect("helo"));
    const std::vector<std::string> suggestions = spelling.Suggest("helo");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "hello"), suggestions.end());

    spelling.Ignore("helo");
    EXPECT_TRUE(spelling.IsCorrect("helo"));
    EXPECT_TRUE(spelling.AddToPersonal("Pagewell"));
    EXPECT_TRUE(spelling.IsCorrect("Pagewell"));
    EXPECT_EQ(ReadWholeFile(m_folder.File("config/pagewell/words")), "Pagewell\n");

    // Another checker knows the added word but not the ignored one.
    CSpelling next;
    ASSERT_TRUE(next.Load("xx_XX"));
    EXPECT_TRUE(next.IsCorrect("Pagewell"));
    EXPECT_FALSE(next.IsCorrect("helo"));
}

TEST_F(Spelling, TheSiteCheckListsUnknownWordsPerObject)
{
    CSiteTree tree;
    auto pRoot = std::make_unique<CNode>(nullptr);
    pRoot->m_strTitle = "Hello wrold";
    pRoot->m_strText = "<b class=\"zzz\">quick</b> wrold qwik http://xyz.org/abc";
    HTREEITEM hRoot = tree.InsertItem("Index", std::move(pRoot), nullptr, ETreeInsert::Last);
    auto pChild = std::make_unique<CNode>(nullptr);
    pChild->m_strTitle = "world";
    pChild->m_strText = "";
    tree.InsertItem("clean", std::move(pChild), hRoot, ETreeInsert::Last);

    CSpelling spelling;
    ASSERT_TRUE(spelling.Load("xx_XX"));
    std::vector<CFinding> findings;
    CSpellCheck::Run(tree, spelling, findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, ESeverity::Warning);
    EXPECT_EQ(findings[0].path.GetTags(), std::vector<CString> { "Index" });
    EXPECT_EQ(findings[0].message, "unknown words (xx_XX): wrold qwik");
}

} // namespace
