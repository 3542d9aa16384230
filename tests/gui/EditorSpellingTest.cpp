// Spelling in the editors of the running window, with a dictionary and a
// word list of the test's own: unknown words underlined outside the markup,
// the dictionary following the site's language, and the context menu's
// suggestions, Add to Dictionary and Ignore.
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
#include <cstdlib>
#include <filesystem>

#include "GuiFixture.h"
#include "editors/CEditorSpelling.h"
#include "support/TestFiles.h"

namespace {

class CEditorSpellingTest : public CGuiFixture {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_words.File("dicts"));
        WriteWholeFile(m_words.File("dicts/xx_XX.aff"), "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n");
        WriteWholeFile(m_words.File("dicts/xx_XX.dic"), "3\nhello\nworld\nquick\n");
        setenv("DICPATH", m_words.File("dicts").c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_words.File("config").c_str(), 1);
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        Doc().m_dlgGenerate.m_strSpare = "pagewell-settings 1\nlang=xx-XX\n";
        Doc().m_pCurrent->m_strText = "hello wrold <b title=\"zzz\">qwik</b> &amp; http://zzz.org/ [$i]";
        Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    }
    void TearDown() override
    {
        CGuiFixture::TearDown();
        CEditorSpelling::Instance().FollowLanguage({});
        unsetenv("DICPATH");
        unsetenv("XDG_CONFIG_HOME");
    }

    // The underlined words of the body's first line.
    QStringList Underlined() const
    {
        const QTextBlock block = Body().document()->firstBlock();
        QStringList words;
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words << block.text().mid(range.start, range.length);
        }
        return words;
    }

    // The context menu's entries for the point over the word at index.
    QStringList MenuAt(int nIndex, QMenu& menu)
    {
        QTextCursor cursor(Body().document());
        cursor.setPosition(nIndex);
        CEditorSpelling::Instance().AddToMenu(menu, Body(), Body().cursorRect(cursor).center());
        QStringList texts;
        for (QAction* pAction : menu.actions())
            texts << pAction->text();
        return texts;
    }

    CTempFolder m_words;
};

TEST_F(CEditorSpellingTest, UnknownWordsAreUnderlinedOutsideTheMarkup)
{
    EXPECT_EQ(CEditorSpelling::Instance().GetDictionary(), QStringLiteral("xx_XX"));
    EXPECT_EQ(Underlined(), QStringList({ "wrold", "qwik" }));
    // Typing is looked at as it happens.
    Body().moveCursor(QTextCursor::End);
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), " quick blorp");
    EXPECT_EQ(Underlined(), QStringList({ "wrold", "qwik", "blorp" }));
}

TEST_F(CEditorSpellingTest, TheMenuSuggestsAddsAndIgnores)
{
    QMenu menu;
    const QStringList entries = MenuAt(8, menu); // in "wrold"
    ASSERT_GE(entries.size(), 3);
    EXPECT_EQ(entries[0], QStringLiteral("world"));
    EXPECT_TRUE(entries.contains(QStringLiteral("&Add \"wrold\" to Dictionary")));
    EXPECT_TRUE(entries.contains(QStringLiteral("&Ignore \"wrold\"")));
    menu.actions()[0]->trigger();
    EXPECT_TRUE(Body().toPlainText().startsWith(QStringLiteral("hello world <b")));

    QMenu again;
    MenuAt(30, again); // in "qwik"
    for (QAction* pAction : again.actions()) {
        if (pAction->text().startsWith(QStringLiteral("&Add")))
            pAction->trigger();
    }
    EXPECT_TRUE(Underlined().isEmpty());
    EXPECT_EQ(ReadWholeFile(m_words.File("config/pagewell/words")), "qwik\n");
}

TEST_F(CEditorSpellingTest, AChooserWhenNoDictionaryFits)
{
    Doc().m_dlgGenerate.m_strSpare = "pagewell-settings 1\nlang=qq\n";
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    EXPECT_FALSE(CEditorSpelling::Instance().IsActive());
    EXPECT_TRUE(Underlined().isEmpty());
    QMenu menu;
    MenuAt(8, menu);
    auto* pChooser = menu.findChild<QMenu*>(QStringLiteral("spellingLanguage"));
    ASSERT_NE(pChooser, nullptr);
    EXPECT_EQ(pChooser->title(), QStringLiteral("&Spelling: no dictionary for qq, choose one"));
    for (QAction* pAction : pChooser->actions()) {
        if (pAction->text() == QStringLiteral("xx_XX"))
            pAction->trigger();
    }
    EXPECT_EQ(CEditorSpelling::Instance().GetDictionary(), QStringLiteral("xx_XX"));
    EXPECT_EQ(Underlined(), QStringList({ "wrold", "qwik" }));
    CEditorSpelling::Instance().Follow();
}

} // namespace
