// The program as a user meets it: start-up, layout, menus and toolbar,
// command availability by active view, the modified flag, recent files and
// a project handed over while the program runs.
#include <QAbstractItemModelTester>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

#include "GuiFixture.h"
#include "app/CHelpCommands.h"
#include "app/CPreviewPane.h"
#include "app/CSingleInstance.h"
#include "app/CSmallDialogs.h"
#include "tree/CSiteTreeModel.h"

namespace {

using CMainWindow = CGuiFixture;

TEST_F(CMainWindow, StartWithoutFileAsksForPropertiesAndCancelEnds)
{
    m_ui.m_dialogAnswers.push_back(IDCANCEL);
    EXPECT_FALSE(m_pApp->InitInstance({}));
    EXPECT_EQ(m_ui.m_dialogs, (std::vector<int> { 132 }));
    EXPECT_FALSE(Frame().isVisible());
}

TEST_F(CMainWindow, StartWithoutFileShowsTheRootIndexAsCurrent)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_ui.m_dialogs, (std::vector<int> { 132 }));
    ASSERT_EQ(Doc().m_tree.GetCount(), 1U);
    HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    EXPECT_EQ(CSiteTree::GetItemText(hRoot), "Index");
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hRoot));
    EXPECT_EQ(Tree().GetSelectedItem(), hRoot);
    const QModelIndex root = Tree().GetModel().index(0, 0);
    EXPECT_EQ(root.data(CSiteTreeModel::NormalImageRole).toInt(), 1);
    EXPECT_EQ(root.data(CSiteTreeModel::SelectedImageRole).toInt(), 0);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled[*] - Pagewell"));
    EXPECT_EQ(Frame().StatusMessage(), QStringLiteral("Ready"));
}

TEST_F(CMainWindow, StartWithFileOpensWithoutPropertiesDialog)
{
    ASSERT_TRUE(Start());
    AddItem(Doc().m_tree.GetRootItem(), "child", NODE_PARAGRAPH, "text");
    ASSERT_TRUE(Doc().DoFileSaveAs(Path("site.pwl")));
    m_pApp.reset();

    CScriptedUserInterface ui;
    CPagewellApp app(ui, *m_pRecent);
    ASSERT_TRUE(app.InitInstance(QString::fromStdString(Path("site.pwl"))));
    EXPECT_TRUE(ui.m_dialogs.empty());
    EXPECT_EQ(app.GetDocument().m_tree.GetCount(), 2U);
    EXPECT_EQ(app.GetDocument().m_pCurrent, CSiteTree::GetItemData(app.GetDocument().m_tree.GetRootItem()));
    EXPECT_EQ(app.GetMainFrame()->windowTitle(), QStringLiteral("site.pwl[*] - Pagewell"));
    EXPECT_EQ(m_pRecent->GetEntries().front(), Path("site.pwl"));
}

TEST_F(CMainWindow, LayoutAndViewOrder)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().GetOuterSplitter()->sizes().at(0), CMainFrame::kTreeWidth);
    EXPECT_EQ(Frame().GetInnerSplitter()->sizes().at(0), CMainFrame::kTitleHeight);
    const std::vector<CView*> expected { &Tree(), &Title(), &Body(), Frame().GetPreview() };
    EXPECT_EQ(Doc().GetViews(), expected);
    // A larger window gives the room to the editors.
    Frame().resize(1200, 800);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().width() == 1200; }));
    EXPECT_EQ(Frame().GetOuterSplitter()->sizes().at(0), CMainFrame::kTreeWidth);
    EXPECT_EQ(Frame().GetInnerSplitter()->sizes().at(0), CMainFrame::kTitleHeight);
}

TEST_F(CMainWindow, MenusAndToolbarInOrder)
{
    ASSERT_TRUE(Start());
    QStringList titles;
    for (QAction* pMenu : Frame().menuBar()->actions())
        titles << pMenu->text();
    EXPECT_EQ(titles,
        (QStringList { "&File", "&Edit", "&View", "&Object", "HT&ML", "Fo&rmat", "&Tools", "&Help" }));
    QStringList html;
    for (QAction* pAction : Frame().menuBar()->actions().at(4)->menu()->actions())
        html << (pAction->isSeparator() ? QStringLiteral("|") : pAction->text());
    EXPECT_EQ(html,
        (QStringList { "&Paragraph", "&Bold text", "&Italic Text", "&Typewriter font", "|", "Insert &Link",
            "Insert I&mage", "Insert &unnumbered List", "Insert &numbered List",
            "Insert Table &Of Contents macro" }));

    std::vector<int> buttons;
    for (QAction* pAction : Frame().GetToolBar()->actions())
        buttons.push_back(pAction->isSeparator() ? 0 : pAction->data().toInt());
    const std::vector<int> expected { ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_INSERT_PAGE,
        ID_INSERT_PARAGRAPH, ID_INSERT_LINK, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_ALIGN_LEFT,
        ID_ALIGN_CENTER, ID_ALIGN_RIGHT, 0, ID_STYLE_H1, ID_STYLE_H2, ID_STYLE_H3, ID_STYLE_H4,
        ID_STYLE_NORMAL, ID_STYLE_HIDE, 0, ID_DOC_PROPERTIES, ID_OBJECT_PROPERTIES, 0, ID_APP_ABOUT,
        ID_ORIGIN };
    EXPECT_EQ(buttons, expected);
    for (QAction* pAction : Frame().GetToolBar()->actions()) {
        if (pAction->isSeparator())
            continue;
        EXPECT_FALSE(pAction->icon().isNull()) << pAction->data().toInt();
        auto* pButton = qobject_cast<QToolButton*>(Frame().GetToolBar()->widgetForAction(pAction));
        ASSERT_NE(pButton, nullptr);
        EXPECT_FALSE(pButton->accessibleName().isEmpty());
    }
    EXPECT_EQ(Frame().GetAction(ID_STYLE_H2)->statusTip(),
        QStringLiteral("H2, Large, bold font, used for seaction headlines"));
    EXPECT_EQ(Frame().GetAction(ID_HTML_PARAGRAPH)->shortcuts().size(), 2);
}

TEST_F(CMainWindow, CommandsFollowTheActiveView)
{
    ASSERT_TRUE(Start());
    const int always[] = { ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_SITE_SETTINGS,
        ID_FILE_GENERATE, ID_DOC_PROPERTIES, ID_OBJECT_PROPERTIES, ID_APP_ABOUT, ID_ORIGIN, ID_APP_EXIT };
    const int body[] = { ID_HTML_PARAGRAPH, ID_HTML_BOLD, ID_HTML_ITALIC, ID_HTML_TT, ID_HTML_LINK,
        ID_HTML_IMAGE, ID_HTML_UL, ID_HTML_OL, ID_HTML_TOC, ID_VIEW_WORDWRAP, ID_VIEW_COLORS };
    const int format[] = { ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT, ID_STYLE_H1, ID_STYLE_H2,
        ID_STYLE_H3, ID_STYLE_H4, ID_STYLE_NORMAL };

    ASSERT_TRUE(Focus(Tree()));
    for (int nId : always)
        EXPECT_TRUE(IsEnabled(nId)) << "tree " << nId;
    for (int nId : body)
        EXPECT_FALSE(IsEnabled(nId)) << "tree " << nId;
    for (int nId : format)
        EXPECT_FALSE(IsEnabled(nId)) << "tree " << nId;
    EXPECT_FALSE(IsEnabled(ID_STYLE_HIDE));
    EXPECT_FALSE(IsEnabled(ID_EDIT_PASTE));

    ASSERT_TRUE(Focus(Body()));
    for (int nId : always)
        EXPECT_TRUE(IsEnabled(nId)) << "body " << nId;
    for (int nId : body)
        EXPECT_TRUE(IsEnabled(nId)) << "body " << nId;
    for (int nId : format)
        EXPECT_TRUE(IsEnabled(nId)) << "body " << nId;
    EXPECT_FALSE(IsEnabled(ID_STYLE_HIDE));
    EXPECT_TRUE(Frame().GetRouter().Query(ID_VIEW_WORDWRAP).m_bChecked);

    ASSERT_TRUE(Focus(Title()));
    EXPECT_TRUE(IsEnabled(ID_STYLE_HIDE));
    EXPECT_TRUE(IsEnabled(ID_HTML_PARAGRAPH));
    for (int nId : { ID_HTML_BOLD, ID_HTML_LINK, ID_VIEW_WORDWRAP, ID_VIEW_COLORS })
        EXPECT_FALSE(IsEnabled(nId)) << "title " << nId;

    // The menu items follow once the frame has updated them.
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().GetAction(ID_STYLE_HIDE)->isEnabled());
    EXPECT_FALSE(Frame().GetAction(ID_HTML_BOLD)->isEnabled());
    // The tree-editing commands belong to the tree alone.
    for (int nId : { ID_INSERT_PAGE, ID_INSERT_PARAGRAPH, ID_INSERT_LINK, ID_OBJECT_CONVERT })
        EXPECT_FALSE(IsEnabled(nId)) << nId;
    ASSERT_TRUE(Focus(Tree()));
    for (int nId : { ID_INSERT_PAGE, ID_INSERT_PARAGRAPH, ID_INSERT_LINK, ID_OBJECT_CONVERT })
        EXPECT_TRUE(IsEnabled(nId)) << nId;
}

TEST_F(CMainWindow, FormatButtonsFollowTheFocusedEditor)
{
    ASSERT_TRUE(Start());
    CNode* pRoot = Doc().m_pCurrent;
    pRoot->m_nTitleFormat = (STYLE_H1 << 3) | ALIGN_CENTER;
    pRoot->m_nTextFormat = (STYLE_H3 << 3) | ALIGN_RIGHT;
    ASSERT_TRUE(Focus(Tree()));
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    // After a reload the body editor, updated last, has set the buttons.
    EXPECT_EQ(PressedButtons(), "R H3");
    ASSERT_TRUE(Focus(Title()));
    EXPECT_EQ(PressedButtons(), "C H1");
    ASSERT_TRUE(Focus(Tree()));
    EXPECT_EQ(PressedButtons(), "");
    ASSERT_TRUE(Focus(Body()));
    EXPECT_EQ(PressedButtons(), "R H3");

    // A title format command ends with the title's word on the buttons.
    ASSERT_TRUE(Focus(Title()));
    EXPECT_TRUE(Frame().RunCommand(ID_STYLE_HIDE));
    EXPECT_EQ(pRoot->m_nTitleFormat, (STYLE_HIDDEN << 3) | ALIGN_CENTER);
    EXPECT_EQ(PressedButtons(), "C Hide");
    EXPECT_TRUE(Frame().RunCommand(ID_ALIGN_CENTER));
    EXPECT_EQ(pRoot->m_nTitleFormat, STYLE_HIDDEN << 3);
    EXPECT_EQ(PressedButtons(), "Hide");
    // A body format command toggles the body's word.
    ASSERT_TRUE(Focus(Body()));
    EXPECT_TRUE(Frame().RunCommand(ID_STYLE_H3));
    EXPECT_EQ(pRoot->m_nTextFormat, ALIGN_RIGHT);
    EXPECT_EQ(PressedButtons(), "R");
    EXPECT_FALSE(Frame().RunCommand(ID_STYLE_HIDE));
}

TEST_F(CMainWindow, ModifiedFlagByTypingNotByReload)
{
    ASSERT_TRUE(Start());
    Doc().SetModifiedFlag(false);
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    EXPECT_FALSE(Doc().IsModified());
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "x");
    EXPECT_TRUE(Doc().IsModified());
    Doc().SetModifiedFlag(false);
    ASSERT_TRUE(Focus(Title()));
    QTest::keyClicks(&Title(), "y");
    EXPECT_TRUE(Doc().IsModified());
    Doc().SetModifiedFlag(false);
    // Word Wrap marks the project modified, as it always has.
    ASSERT_TRUE(Focus(Body()));
    EXPECT_TRUE(Frame().RunCommand(ID_VIEW_WORDWRAP));
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(CMainWindow, SaveAndGenerateStoreTypedTextFirst)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "typed");
    m_ui.m_savePaths.push_back(Path("typed.pwl"));
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_TRUE(Body().hasFocus());
    EXPECT_EQ(Doc().m_pCurrent->m_strText, "typed");
    EXPECT_EQ(Doc().GetPathName(), Path("typed.pwl"));
    EXPECT_EQ(m_pRecent->GetEntries().front(), Path("typed.pwl"));

    QTest::keyClicks(&Body(), "+more");
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_GENERATE));
    EXPECT_EQ(Doc().m_pCurrent->m_strText, "typed+more");
    EXPECT_EQ(m_ui.m_dialogs.back(), 147);
}

TEST_F(CMainWindow, CloseAsksToSaveTypedText)
{
    ASSERT_TRUE(Start());
    Frame().m_canClose = nullptr;
    ASSERT_TRUE(Focus(Title()));
    Doc().SetModifiedFlag(false);
    QTest::keyClicks(&Title(), "T");
    m_ui.m_messageAnswers.push_back(IDCANCEL);
    m_pApp->GetMainFrame()->m_canClose = [this] {
        Doc().UpdateAllViews(nullptr, HINT_STORE);
        return Doc().SaveModified();
    };
    EXPECT_FALSE(Frame().close());
    ASSERT_EQ(m_ui.m_messages.size(), 1U);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Save changes to Untitled?");
    EXPECT_EQ(Doc().m_pCurrent->m_strTitle, "TUntitled");
}

TEST_F(CMainWindow, RecentFilesListAtMostFour)
{
    ASSERT_TRUE(Start());
    for (const char* pszName : { "1.pwl", "2.pwl", "3.pwl", "4.pwl", "5.pwl" })
        ASSERT_TRUE(Doc().DoFileSaveAs(Path(pszName)));
    for (const char* pszName : { "1.pwl", "2.pwl", "3.pwl", "4.pwl", "5.pwl" })
        ASSERT_TRUE(m_pApp->OpenDocumentFile(QString::fromStdString(Path(pszName))));
    Frame().UpdateCommandUI();
    EXPECT_EQ(m_pRecent->GetEntries(),
        (std::vector<std::string> { Path("5.pwl"), Path("4.pwl"), Path("3.pwl"), Path("2.pwl") }));
    EXPECT_TRUE(Frame().GetAction(ID_FILE_MRU_FILE1 + 3)->isVisible());
    EXPECT_TRUE(Frame().GetAction(ID_FILE_MRU_FILE1 + 3)->text().startsWith(QStringLiteral("&4 ")));
    // A recent file that is gone leaves the list.
    QFile::remove(QString::fromStdString(Path("4.pwl")));
    EXPECT_TRUE(Frame().RunCommand(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(m_pRecent->GetEntries().size(), 3U);
    EXPECT_EQ(m_pRecent->GetEntries()[1], Path("3.pwl"));
}

TEST_F(CMainWindow, OpenWhileRunningUsesTheRunningWindow)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Doc().DoFileSaveAs(Path("handed.pwl")));
    Doc().SetPathName({});
    const QString name = QStringLiteral("pagewell-test-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance server(name);
    ASSERT_TRUE(server.Listen());
    QObject::connect(&server, &CSingleInstance::openRequested, m_pApp.get(),
        [this](const QString& path) { m_pApp->OpenDocumentFile(path); });
    CSingleInstance second(name);
    ASSERT_TRUE(second.SendToRunning(QString::fromStdString(Path("handed.pwl"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Doc().GetPathName() == Path("handed.pwl"); }, 5000));
    // Nobody listens under another name.
    EXPECT_FALSE(
        CSingleInstance(name + QStringLiteral("-none")).SendToRunning(QStringLiteral("/x.pwl"), 200));
}

TEST_F(CMainWindow, AboutShowsTheVersion)
{
    CAboutDlg about;
    EXPECT_EQ(about.VersionLabel()->text(), QStringLiteral("Pagewell 0.3b"));
    EXPECT_FALSE(about.NoticeLabel()->text().isEmpty());
    COriginDlg origin;
    EXPECT_EQ(origin.Picture()->size(), QSize(300, 300));
    EXPECT_FALSE(origin.Picture()->pixmap().isNull());
}

TEST_F(CMainWindow, TreeModelFollowsTheSiteTree)
{
    ASSERT_TRUE(Start());
    QAbstractItemModelTester tester(
        &Tree().GetModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    HTREEITEM hA = AddItem(hRoot, "a", NODE_PAGE);
    AddItem(hA, "a1", NODE_PARAGRAPH);
    AddItem(hRoot, "b", NODE_LINK);
    EXPECT_EQ(Tree().GetModel().rowCount(Tree().GetModel().index(0, 0)), 2);
    Doc().m_tree.DeleteItem(hA);
    EXPECT_EQ(Tree().GetModel().rowCount(Tree().GetModel().index(0, 0)), 1);
    const QModelIndex b = Tree().GetModel().index(0, 0, Tree().GetModel().index(0, 0));
    EXPECT_EQ(b.data().toString(), QStringLiteral("b"));
    EXPECT_EQ(b.data(CSiteTreeModel::NormalImageRole).toInt(), 5);
    EXPECT_EQ(b.data(CSiteTreeModel::SelectedImageRole).toInt(), 4);
    ASSERT_TRUE(Doc().DoFileSaveAs(Path("tree.pwl")));
    ASSERT_TRUE(m_pApp->OpenDocumentFile(QString::fromStdString(Path("tree.pwl"))));
    EXPECT_EQ(Tree().GetModel().rowCount(Tree().GetModel().index(0, 0)), 1);
}

} // namespace

namespace {

// Help > User Guide (F1) opens the manual made from the README's user
// sections (this build's copy when the program is not installed).
TEST_F(CMainWindow, F1OpensTheUserGuide)
{
    ASSERT_TRUE(Start());
    auto* pHelp = Frame().GetCommandTarget<CHelpCommands>();
    ASSERT_NE(pHelp, nullptr);
    QList<QUrl> opened;
    pHelp->m_openUrl = [&opened](const QUrl& url) {
        opened << url;
        return true;
    };
    ASSERT_TRUE(Focus(Tree()));
    QTest::keyClick(&Tree(), Qt::Key_F1);
    ASSERT_EQ(opened.size(), 1);
    const QString manual = CHelpCommands::FindManual();
    ASSERT_FALSE(manual.isEmpty());
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(manual));
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    EXPECT_TRUE(html.contains("Using the desktop program"));
    EXPECT_FALSE(html.contains("For developers"));
}

} // namespace
