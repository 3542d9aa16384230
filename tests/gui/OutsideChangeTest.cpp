// The open project's file changed by another program (a sync tool, a pull,
// a second window): reloaded when nothing is unsaved, asked about when
// something is, never overwritten by Save without a question; and a site
// kept as JSON, opened, edited and saved through the window, changes by the
// one line the user changed.
#include <QLabel>
#include <QStatusBar>
#include <cstdio>

#include "GuiFixture.h"
#include "app/CFileWatchController.h"
#include "app/QtText.h"
#include "support/TestFiles.h"

namespace {

class COutsideChange : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        m_pApp->m_bWatchFile = true;
        m_pApp->m_askOutsideChange = [this](const QString& file) {
            m_asked.push_back(file);
            return m_answer;
        };
    }

    // A project of a root page with the children "news" and "about", as
    // JSON, open in the window with "about" selected.
    std::string StartWithJson()
    {
        const std::string path = Path("site.json");
        {
            CScriptedUserInterface ui;
            CPagewellDoc doc(ui);
            HTREEITEM hRoot = doc.CreateRootPage();
            for (const char* tag : { "news", "about" }) {
                auto pNode = std::make_unique<CNode>(nullptr);
                pNode->m_strTitle = tag;
                doc.m_tree.InsertItem(tag, std::move(pNode), hRoot, ETreeInsert::Last);
            }
            EXPECT_TRUE(doc.DoFileSaveAs(path));
        }
        m_pApp->m_promptOpenPath = [path] { return PathToQString(path); };
        EXPECT_TRUE(Start());
        EXPECT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
        Tree().SelectItem(Find("about"));
        return path;
    }

    HTREEITEM Find(const char* tag) const
    {
        for (HTREEITEM h = Doc().m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (CSiteTree::GetItemText(h) == tag)
                return h;
        }
        return nullptr;
    }

    // Another program writes the file as editors and version control do: a
    // new file renamed over it, with one title changed.
    static void WriteTheirs(const std::string& path, const char* from, const char* to)
    {
        std::string text = ReadWholeFile(path);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string(from).size(), to);
        WriteWholeFile(path + ".tmp", text);
        ASSERT_EQ(std::rename((path + ".tmp").c_str(), path.c_str()), 0);
    }

    QString StatusText() const
    {
        return Frame().statusBar()->findChild<QLabel*>(QStringLiteral("message"))->text();
    }
    void TypeTitle(const QString& text)
    {
        ASSERT_TRUE(Focus(Title()));
        QTest::keyClick(&Title(), Qt::Key_End);
        QTest::keyClicks(&Title(), text);
    }

    EOutsideChange m_answer = EOutsideChange::KeepMine;
    std::vector<QString> m_asked;
};

TEST_F(COutsideChange, WithoutUnsavedChangesTheWindowReloadsKeepingTheSelection)
{
    const std::string path = StartWithJson();
    WriteTheirs(path, "\"title\": \"news\"", "\"title\": \"Their news\"");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusText().contains(QStringLiteral("reloaded")); }, 4000))
        << StatusText().toStdString();
    EXPECT_TRUE(m_asked.empty());
    EXPECT_EQ(Find("news")->GetNode()->m_strTitle, "Their news");
    EXPECT_EQ(Tree().GetSelectedItem(), Find("about")) << "the selection where the object still is";
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("about"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(COutsideChange, WithUnsavedChangesItAsksAndSaveAsksBeforeReplacing)
{
    const std::string path = StartWithJson();
    TypeTitle(QStringLiteral(" us"));
    WriteTheirs(path, "\"title\": \"news\"", "\"title\": \"Their news\"");
    const std::string theirs = ReadWholeFile(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_asked.empty(); }, 4000));
    EXPECT_EQ(m_asked, std::vector<QString> { QStringLiteral("site.json") });
    QTest::qWait(1500);
    EXPECT_EQ(m_asked.size(), 1u) << "one change is asked about once";
    EXPECT_TRUE(Doc().IsModified()) << "kept mine";
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("about us"));

    // Save asks: No leaves their file; Yes writes mine.
    m_ui.m_messageAnswers = { IDNO };
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_NE(m_ui.m_messages[0].strText.find("changed by another program"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(path), theirs);
    m_ui.m_messageAnswers = { IDYES };
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_NE(ReadWholeFile(path).find("\"title\": \"about us\""), std::string::npos);
    EXPECT_FALSE(Doc().IsModified());

    // Reload and lose mine.
    m_answer = EOutsideChange::ReloadTheirs;
    TypeTitle(QStringLiteral(" again"));
    WriteTheirs(path, "\"title\": \"news\"", "\"title\": \"Newer news\"");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_asked.size() == 2; }, 4000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find("news")->GetNode()->m_strTitle == "Newer news"; }, 2000));
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("about us"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(COutsideChange, AFileDeletedUnderTheWindowIsWrittenAgainBySave)
{
    const std::string path = StartWithJson();
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusText().contains(QStringLiteral("deleted")); }, 4000))
        << StatusText().toStdString();
    TypeTitle(QStringLiteral("!"));
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_TRUE(m_ui.m_messages.empty());
    EXPECT_NE(ReadWholeFile(path).find("\"title\": \"about!\""), std::string::npos);
    EXPECT_TRUE(StatusText().contains(QStringLiteral("written again"))) << StatusText().toStdString();
}

TEST_F(COutsideChange, AJsonProjectEditedInTheWindowChangesByOneLine)
{
    const std::string path = StartWithJson();
    const std::string before = ReadWholeFile(path);
    EXPECT_TRUE(Frame().windowTitle().startsWith(QStringLiteral("site.json")));
    // Saved unchanged: the same bytes.
    Doc().SetModifiedFlag();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_EQ(ReadWholeFile(path), before);

    TypeTitle(QStringLiteral(" us"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    const std::string after = ReadWholeFile(path);
    size_t nChanged = 0;
    std::string changed;
    for (size_t a = 0, b = 0; a < before.size() && b < after.size();) {
        const size_t endA = before.find('\n', a);
        const size_t endB = after.find('\n', b);
        if (before.substr(a, endA - a) != after.substr(b, endB - b)) {
            ++nChanged;
            changed = after.substr(b, endB - b);
        }
        a = endA + 1;
        b = endB + 1;
    }
    EXPECT_EQ(nChanged, 1u);
    EXPECT_EQ(changed, "          \"title\": \"about us\",");
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), std::count(after.begin(), after.end(), '\n'));

    // Save As offers the other form; the window goes on in it.
    m_ui.m_savePaths = { Path("site.pwl") };
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(Doc().GetFormat(), CPagewellDoc::EFormat::Archive);
    EXPECT_NE(ReadWholeFile(Path("site.pwl")).front(), '{');
}

} // namespace
