#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "search/CSiteReplace.h"
#include "search/CSiteSearch.h"
#include "search/CTextFinder.h"

namespace {

std::vector<size_t> AllMatches(const CTextFinder& finder, std::string_view text)
{
    std::vector<size_t> found;
    for (size_t at = finder.Find(text); at != CTextFinder::npos;
         at = finder.Find(text, at + finder.GetLength()))
        found.push_back(at);
    return found;
}

TEST(TextFinder, MatchesByCaseAndWord)
{
    struct CCase {
        const char* pszText;
        const char* pszPattern;
        bool bMatchCase;
        bool bWholeWords;
        std::vector<size_t> expected;
    };
    const CCase cases[] = {
        { "Hello hello HELLO", "hello", false, false, { 0, 6, 12 } },
        { "Hello hello HELLO", "hello", true, false, { 6 } },
        // The code page's capitals fold as the platform lowers them.
        { "\xC4rger \xE4rger", "\xE4RGER", false, false, { 0, 6 } },
        { "\x8C \x9C \x9F \xFF", "\x9C", false, false, { 0, 2 } },
        { "\x9F \xFF", "\xFF", false, false, { 0, 2 } },
        { "\x9F \xFF", "\xFF", true, false, { 2 } },
        // Multiplication and division signs are not letters of a pair.
        { "\xD7\xF7", "\xF7", false, false, { 1 } },
        { "cat concat cat_ cats cat. (cat)", "cat", false, true, { 0, 21, 27 } },
        { "\xE9"
          "cat cat\xE9 cat",
            "cat", false, true, { 10 } },
        { "a-b a_b", "a", false, true, { 0 } },
        { "aaaa", "aa", false, false, { 0, 2 } },
        { "short", "longer pattern", false, false, {} },
        { "anything", "", false, false, {} },
        { "", "x", false, false, {} },
        { "line\r\nend", "\r\ne", false, false, { 4 } },
    };
    for (const CCase& c : cases) {
        const CTextFinder finder(c.pszPattern, c.bMatchCase, c.bWholeWords);
        EXPECT_EQ(AllMatches(finder, c.pszText), c.expected) << c.pszText << " / " << c.pszPattern;
    }
}

// The skip table must never jump over a match: compared with a plain scan on
// many small texts over an alphabet with case pairs and word breaks.
TEST(TextFinder, AgreesWithPlainScan)
{
    const char kAlphabet[] = { 'a', 'A', 'b', 'B', '\xE9', '\xC9', '_', ' ', '.' };
    std::mt19937 random(7);
    const auto pick = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += kAlphabet[random() % sizeof kAlphabet];
        return s;
    };
    const auto fold = [](unsigned char c) {
        if ((c >= 'A' && c <= 'Z') || c == 0xC9)
            return static_cast<unsigned char>(c + 32);
        return c;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = pick(random() % 40);
        const std::string pattern = pick(1 + random() % 4);
        const bool bCase = random() % 2 == 0;
        const bool bWhole = random() % 2 == 0;
        std::vector<size_t> expected;
        for (size_t at = 0; at + pattern.size() <= text.size();) {
            bool bEqual = true;
            for (size_t i = 0; i < pattern.size() && bEqual; ++i) {
                const auto t = static_cast<unsigned char>(text[at + i]);
                const auto p = static_cast<unsigned char>(pattern[i]);
                bEqual = bCase ? t == p : fold(t) == fold(p);
            }
            const auto isWord = [&](size_t i) { return text[i] != ' ' && text[i] != '.'; };
            if (bEqual && bWhole)
                bEqual = (at == 0 || !isWord(at - 1))
                    && (at + pattern.size() == text.size() || !isWord(at + pattern.size()));
            if (bEqual) {
                expected.push_back(at);
                at += pattern.size();
            } else {
                ++at;
            }
        }
        const CTextFinder finder(pattern, bCase, bWhole);
        ASSERT_EQ(AllMatches(finder, text), expected) << "'" << text << "' / '" << pattern << "'";
    }
}

// A small site:
//   Index            "Welcome to the river"  "The river, the River."
//     river-walk     "Rivers"                "none"
//       bank         "Bank"                  "river\r\nriver"
//     lake           "Lake"                  "no water"
class SiteSearch : public ::testing::Test {
protected:
    SiteSearch()
    {
        m_hIndex = Add(nullptr, "Index", "Welcome to the river", "The river, the River.");
        m_hWalk = Add(m_hIndex, "river-walk", "Rivers", "none");
        m_hBank = Add(m_hWalk, "bank", "Bank", "river\r\nriver");
        m_hLake = Add(m_hIndex, "lake", "Lake", "no water");
    }

    HTREEITEM Add(HTREEITEM hParent, const char* pszTag, const char* pszTitle, const char* pszText)
    {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_strTitle = pszTitle;
        pNode->m_strText = pszText;
        return m_tree.InsertItem(pszTag, std::move(pNode), hParent, ETreeInsert::Last);
    }

    static CSearchOptions Options(const char* pszFind, uint32_t nFields = FIELD_ALL, bool bWhole = false)
    {
        CSearchOptions options;
        options.strFind = pszFind;
        options.nFields = nFields;
        options.bWholeWords = bWhole;
        return options;
    }

    // "tag:field:offset" for each hit.
    static std::string Describe(const std::vector<CSearchHit>& hits)
    {
        std::string out;
        for (const CSearchHit& hit : hits)
            out += (out.empty() ? "" : " ") + hit.hItem->GetLabel() + ":" + std::to_string(hit.field) + ":"
                + std::to_string(hit.nOffset);
        return out;
    }

    std::string Step(const CSearchOptions& options, CSearchCursor cursor, CSiteSearch::EDirection direction,
        HTREEITEM hOnly = nullptr)
    {
        const CSiteSearch::CStep step = CSiteSearch(m_tree, options).Step(cursor, direction, hOnly);
        if (!step.hit)
            return "none";
        return Describe({ *step.hit }) + (step.bWrapped ? " wrapped" : "");
    }

    CSiteTree m_tree;
    HTREEITEM m_hIndex, m_hWalk, m_hBank, m_hLake;
};

TEST_F(SiteSearch, FindsInTreeOrderAndOnlyWhereAsked)
{
    size_t nTotal = 0;
    EXPECT_EQ(Describe(CSiteSearch(m_tree, Options("river")).FindAll(0, nTotal)),
        "Index:2:15 Index:4:4 Index:4:15 river-walk:1:0 river-walk:2:0 bank:4:0 bank:4:7");
    EXPECT_EQ(nTotal, 7U);
    EXPECT_EQ(
        Describe(CSiteSearch(m_tree, Options("river", FIELD_TAG)).FindAll(0, nTotal)), "river-walk:1:0");
    // "river" is a whole word in "river-walk" and in "river\r\n", not in "Rivers".
    EXPECT_EQ(
        Describe(CSiteSearch(m_tree, Options("river", FIELD_TAG | FIELD_TITLE, true)).FindAll(0, nTotal)),
        "Index:2:15 river-walk:1:0");
    // A limit keeps the first hits and still counts them all.
    EXPECT_EQ(Describe(CSiteSearch(m_tree, Options("river")).FindAll(2, nTotal)), "Index:2:15 Index:4:4");
    EXPECT_EQ(nTotal, 7U);
    EXPECT_EQ(CSiteSearch::PathOfTags(m_hBank), "Index/river-walk/bank");
}

TEST_F(SiteSearch, StepsForwardAndBackWithWrapping)
{
    using D = CSiteSearch::EDirection;
    const CSearchOptions options = Options("river", FIELD_TEXT);
    // From the start of the text, a match at the cursor counts.
    EXPECT_EQ(Step(options, { m_hIndex, FIELD_TEXT, 4 }, D::Next), "Index:4:4");
    EXPECT_EQ(Step(options, { m_hIndex, FIELD_TEXT, 9 }, D::Next), "Index:4:15");
    EXPECT_EQ(Step(options, { m_hIndex, FIELD_TEXT, 20 }, D::Next), "bank:4:0");
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TEXT, 12 }, D::Next), "Index:4:4 wrapped");
    EXPECT_EQ(Step(options, { m_hLake, FIELD_TAG, 0 }, D::Next), "Index:4:4 wrapped");
    // Back: a match ending at the cursor counts.
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TEXT, 12 }, D::Previous), "bank:4:7");
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TEXT, 11 }, D::Previous), "bank:4:0");
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TAG, 0 }, D::Previous), "Index:4:15");
    EXPECT_EQ(Step(options, { m_hIndex, FIELD_TEXT, 4 }, D::Previous), "bank:4:7 wrapped");
    // The only match in the project is found again after a full round.
    const CSearchOptions water = Options("water");
    EXPECT_EQ(Step(water, { m_hLake, FIELD_TEXT, 8 }, D::Next), "lake:4:3 wrapped");
    EXPECT_EQ(Step(water, { m_hLake, FIELD_TEXT, 3 }, D::Previous), "lake:4:3 wrapped");
    EXPECT_EQ(Step(Options("nowhere"), { m_hLake, FIELD_TEXT, 0 }, D::Next), "none");
    EXPECT_EQ(Step(options, {}, D::Previous), "bank:4:7");
    // One object only: wraps inside it.
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TEXT, 1 }, D::Next, m_hBank), "bank:4:7");
    EXPECT_EQ(Step(options, { m_hBank, FIELD_TEXT, 8 }, D::Next, m_hBank), "bank:4:0 wrapped");
    EXPECT_EQ(Step(options, { m_hIndex, FIELD_TEXT, 8 }, D::Next, m_hLake), "none");
}

TEST_F(SiteSearch, ReplaceAllReportsItsChangesAndTakesThemBack)
{
    CSearchOptions options = Options("river");
    const CReplaceResult result = CSiteReplace::ReplaceAll(m_tree, options, "stream");
    EXPECT_EQ(result.nReplaced, 7U);
    EXPECT_EQ(result.nObjects, 3U);
    EXPECT_EQ(result.nTagsRefused, 0U);
    ASSERT_EQ(result.changes.size(), 5U);
    EXPECT_EQ(m_hIndex->GetNode()->m_strText, "The stream, the stream.");
    EXPECT_EQ(m_hWalk->GetLabel(), "stream-walk");
    EXPECT_EQ(m_hWalk->GetNode()->m_strTitle, "streams");
    EXPECT_EQ(m_hBank->GetNode()->m_strText, "stream\r\nstream");

    CSiteReplace::Apply(m_tree, result.changes, CSiteReplace::EApply::Undo);
    EXPECT_EQ(m_hIndex->GetNode()->m_strText, "The river, the River.");
    EXPECT_EQ(m_hWalk->GetLabel(), "river-walk");
    EXPECT_EQ(m_hWalk->GetNode()->m_strTitle, "Rivers");
    CSiteReplace::Apply(m_tree, result.changes, CSiteReplace::EApply::Redo);
    EXPECT_EQ(m_hWalk->GetLabel(), "stream-walk");
    EXPECT_EQ(m_hBank->GetNode()->m_strText, "stream\r\nstream");
}

TEST_F(SiteSearch, ReplacementKeepsTagsValid)
{
    // A space, an empty tag and one of 32 characters are refused; the titles
    // and texts of the same objects still change.
    struct CCase {
        const char* pszFind;
        const char* pszReplacement;
        size_t nRefused;
        const char* pszTag;
    };
    const CCase cases[] = {
        { "river", "big river", 1, "river-walk" },
        { "river-walk", "", 1, "river-walk" },
        { "walk", "walk-along-the-long-waters", 1, "river-walk" },
        { "walk", "walk-along-the-long-water", 0, "river-walk-along-the-long-water" },
    };
    for (const CCase& c : cases) {
        CSiteTree tree;
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_strTitle = "river-walk";
        HTREEITEM h = tree.InsertItem("river-walk", std::move(pNode), nullptr, ETreeInsert::Last);
        const CReplaceResult result = CSiteReplace::ReplaceAll(tree, Options(c.pszFind), c.pszReplacement);
        EXPECT_EQ(result.nTagsRefused, c.nRefused) << c.pszReplacement;
        EXPECT_EQ(h->GetLabel(), c.pszTag);
        EXPECT_EQ(result.nObjects, 1U);
        const CSearchHit tagHit { h, FIELD_TAG, 0, strlen(c.pszFind) };
        if (c.nRefused > 0) {
            EXPECT_FALSE(CSiteReplace::ReplaceAt(tree, Options(c.pszFind), c.pszReplacement, tagHit));
        }
    }
}

TEST_F(SiteSearch, ReplaceAtOnlyWhereTheMatchStillStands)
{
    const CSearchOptions options = Options("river");
    const CSearchHit hit { m_hBank, FIELD_TEXT, 7, 5 };
    const auto change = CSiteReplace::ReplaceAt(m_tree, options, "sea", hit);
    ASSERT_TRUE(change);
    EXPECT_EQ(m_hBank->GetNode()->m_strText, "river\r\nsea");
    EXPECT_EQ(change->strOld, "river\r\nriver");
    // The same place holds "sea" now.
    EXPECT_FALSE(CSiteReplace::ReplaceAt(m_tree, options, "sea", hit));
    // Only within this object's text.
    const CReplaceResult result = CSiteReplace::ReplaceAll(m_tree, options, "sea", m_hBank);
    EXPECT_EQ(result.nReplaced, 1U);
    EXPECT_EQ(m_hBank->GetNode()->m_strText, "sea\r\nsea");
    EXPECT_EQ(m_hIndex->GetNode()->m_strText, "The river, the River.");
}

} // namespace
