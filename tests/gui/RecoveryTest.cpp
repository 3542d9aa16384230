// Unsaved work survives the program: the window keeps a recovery of it once
// the user pauses, a later start offers it (Recover, Open the saved file,
// Discard), and recovering gives exactly what Save would have written. The
// "crash" here is the window and its document going away without closing
// (as kill -9 leaves things: nothing runs at the end); the recovery on disk
// was written by the running program's own timer and thread.
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <fcntl.h>
#include <sys/stat.h>

#include "GuiFixture.h"
#include "app/CRecoveryController.h"
#include "app/CRecoveryDialog.h"
#include "app/QtText.h"
#include "support/TestFiles.h"

namespace {

class CRecovery : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        m_strFolder = Path("recovery");
        UseRecovery(*m_pApp);
        m_ui.m_dialogs.clear();
    }

    void UseRecovery(CPagewellApp& app)
    {
        app.m_strRecoveryFolder = m_strFolder;
        app.m_askRecovery = [this](const CRecoveryStore::CEntry& entry) {
            m_offers.push_back(entry);
            return m_choice;
        };
    }

    // A saved project with two pages, open in the window.
    std::string StartWithProject(const char* name)
    {
        {
            CScriptedUserInterface ui;
            CPagewellDoc doc(ui);
            HTREEITEM hRoot = doc.CreateRootPage();
            auto pNode = std::make_unique<CNode>(nullptr);
            pNode->m_strTitle = "About";
            doc.m_tree.InsertItem("about", std::move(pNode), hRoot, ETreeInsert::Last);
            EXPECT_TRUE(doc.DoFileSaveAs(Path(name)));
        }
        // Its file older than anything written now, as after a working day.
        const std::string path = Path(name);
        const timespec old[2] = { { 1000, 0 }, { 1000, 0 } };
        utimensat(AT_FDCWD, path.c_str(), old, 0);
        EXPECT_TRUE(Start(PathToQString(path)));
        return path;
    }

    void TypeTitle(const QString& text)
    {
        ASSERT_TRUE(Focus(Title()));
        QTest::keyClick(&Title(), Qt::Key_End);
        QTest::keyClicks(&Title(), text);
    }

    std::vector<std::string> RecoveryFiles() const
    {
        std::vector<std::string> names;
        for (const QString& name : QDir(PathToQString(m_strFolder)).entryList(QDir::Files))
            names.push_back(name.toStdString());
        return names;
    }
    bool WaitForRecovery(int nMs = 6000) const
    {
        return QTest::qWaitFor([&] { return !RecoveryFiles().empty(); }, nMs);
    }

    // The program goes as a killed one does: nothing of its closing runs.
    void Crash()
    {
        Frame().m_canClose = nullptr;
        Frame().hide();
        m_pApp.reset();
    }
    // A second start over the same profile and recovery folder.
    bool Restart(const QString& path = {})
    {
        m_pApp = std::make_unique<CPagewellApp>(m_ui, *m_pRecent);
        m_pApp->m_showAbout = [](QWidget*) {};
        UseRecovery(*m_pApp);
        return Start(path);
    }

    std::string m_strFolder;
    ERecoveryChoice m_choice = ERecoveryChoice::Recover;
    std::vector<CRecoveryStore::CEntry> m_offers;
};

class CRecoveryOfEachForm : public CRecovery, public ::testing::WithParamInterface<const char*> { };

// A JSON project's recovery is made from the archive form on the writer's
// thread; both must give Save's bytes.
INSTANTIATE_TEST_SUITE_P(Forms, CRecoveryOfEachForm, ::testing::Values("site.pwl", "site.json"));

TEST_P(CRecoveryOfEachForm, AfterACrashRecoverGivesWhatSaveWouldHaveWritten)
{
    const std::string path = StartWithProject(GetParam());
    const std::string saved = ReadWholeFile(path);
    TypeTitle(QStringLiteral(" and more"));
    ASSERT_TRUE(WaitForRecovery());
    EXPECT_EQ(ReadWholeFile(path), saved) << "never over the project";
    const std::string expected = Doc().MakeFileBytes();
    Crash();

    ASSERT_TRUE(Restart());
    ASSERT_EQ(m_offers.size(), 1u);
    EXPECT_EQ(m_offers[0].strProject, path);
    EXPECT_TRUE(CRecoveryDialog::Text(m_offers[0]).contains(PathToQString(path)));
    EXPECT_EQ(Doc().GetPathName(), path);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Frame().windowTitle().contains(QStringLiteral("recovered")))
        << Frame().windowTitle().toStdString();
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("Untitled and more"));
    EXPECT_TRUE(m_ui.m_dialogs.empty()) << "no project properties for a recovered project";

    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecoveryFiles().empty(); }, 3000)) << "Save removes it";
    EXPECT_FALSE(Frame().windowTitle().contains(QStringLiteral("recovered")));
}

TEST_F(CRecovery, OpenTheSavedFileKeepsTheRecoveryAndDiscardRemovesIt)
{
    const std::string path = StartWithProject("site.pwl");
    const std::string saved = ReadWholeFile(path);
    TypeTitle(QStringLiteral("!"));
    ASSERT_TRUE(WaitForRecovery());
    Crash();

    // Open the saved file: the saved project, and the recovery kept.
    m_choice = ERecoveryChoice::OpenSaved;
    ASSERT_TRUE(Restart(PathToQString(path)));
    EXPECT_EQ(m_offers.size(), 1u);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Title().toPlainText(), QStringLiteral("Untitled"));
    Frame().close();
    EXPECT_EQ(RecoveryFiles().size(), 1u) << "a second thought is possible";

    // Offered again at the next start without a file; Discard removes it.
    m_choice = ERecoveryChoice::Discard;
    ASSERT_TRUE(Restart());
    EXPECT_EQ(m_offers.size(), 2u);
    EXPECT_TRUE(RecoveryFiles().empty());
    EXPECT_EQ(Doc().GetPathName(), "") << "a new project instead";
    EXPECT_EQ(ReadWholeFile(path), saved);
}

TEST_F(CRecovery, AnUntitledProjectIsRecoveredToo)
{
    ASSERT_TRUE(Start());
    TypeTitle(QStringLiteral(" draft"));
    ASSERT_TRUE(WaitForRecovery());
    const std::string expected = Doc().MakeFileBytes();
    Crash();
    ASSERT_TRUE(Restart());
    ASSERT_EQ(m_offers.size(), 1u);
    EXPECT_EQ(m_offers[0].strProject, "");
    EXPECT_EQ(Doc().GetPathName(), "");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().MakeFileBytes(), expected);
}

TEST_F(CRecovery, NothingIsWrittenWhileTheUserTypesAndDontSaveRemovesIt)
{
    StartWithProject("site.pwl");
    // A key every half second for three seconds: no pause of two.
    for (int i = 0; i < 6; ++i) {
        TypeTitle(QStringLiteral("x"));
        QTest::qWait(500);
        EXPECT_TRUE(RecoveryFiles().empty()) << "after key " << i;
    }
    ASSERT_TRUE(WaitForRecovery(4000));
    EXPECT_LT(m_pApp->GetRecovery()->GetLastSnapshotMs(), 100);

    m_ui.m_messageAnswers = { IDNO };
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(RecoveryFiles().empty()) << "\"Don't save\" at exit";
}

TEST_F(CRecovery, AFileThatCannotBeOpenedLeavesTheWindowWithANewProject)
{
    const struct {
        const char* name;
        const char* contents; // null: no file
        const char* message;
    } cases[] = {
        { "missing.pwl", nullptr, " was not found." },
        { "broken.json", "{\n  \"tree\": [\n    {\"tag\": 5}\n  ]\n}\n",
            ": line 3, column 13: tree[0].tag must be a string" },
    };
    for (const auto& c : cases) {
        const std::string path = Path(c.name);
        if (c.contents != nullptr)
            WriteWholeFile(path, c.contents);
        m_ui.m_messages.clear();
        m_ui.m_dialogs.clear();
        ASSERT_TRUE(Restart(PathToQString(path))) << c.name;
        ASSERT_EQ(m_ui.m_messages.size(), 1u) << c.name;
        EXPECT_EQ(m_ui.m_messages[0].strText, path + c.message);
        EXPECT_TRUE(Frame().isVisible());
        EXPECT_EQ(Doc().GetPathName(), "");
        EXPECT_NE(Doc().m_tree.GetRootItem(), nullptr);
        EXPECT_TRUE(m_ui.m_dialogs.empty()) << "no questions for the stand-in project";
    }
}

} // namespace
