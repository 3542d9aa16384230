// The outline's clipboard in the running window: Cut, Copy and Paste of
// whole branches from the keys, Duplicate and Delete from the Object menu,
// each one undo step, and a branch carried into another project whole.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "GuiFixture.h"
#include "model/CBranchClipboard.h"
#include "tree/CSiteTreeModel.h"

namespace {

class CTreeClipboardTest : public CGuiFixture {
protected:
    // Index > news (n1 > n1a), about; news has its own colours.
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        m_hRoot = Doc().m_tree.GetRootItem();
        m_hNews = AddItem(m_hRoot, "news", NODE_PAGE, "News text");
        CSiteTree::GetItemData(m_hNews)->m_info.m_clrText = 0x123456;
        HTREEITEM hN1 = AddItem(m_hNews, "n1", NODE_PARAGRAPH, "first");
        AddItem(hN1, "n1a", NODE_LINK, "");
        AddItem(m_hRoot, "about", NODE_PAGE, "About");
        Doc().UpdateAllViews(nullptr, HINT_RELOAD);
        Doc().SetModifiedFlag(false);
        ASSERT_TRUE(Focus(Tree()));
    }

    // A key as the user presses it, once the menus show the commands' state
    // (a disabled command's key does nothing).
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        Frame().UpdateCommandUI();
        QTest::keyClick(&Tree(), key, modifiers);
    }

    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hNews = nullptr;
};

TEST_F(CTreeClipboardTest, CopyAndPasteABranchWithFreeTagsAsOneStep)
{
    Tree().SelectItem(m_hNews);
    Key(Qt::Key_C);
    const QMimeData* pData = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(pData->hasFormat(QString::fromLatin1(CBranchClipboard::kMimeType)));
    EXPECT_EQ(pData->text(), QStringLiteral("news: news\n  n1: n1\n    n1a: n1a\n"));

    Tree().SelectItem(Find("about"));
    Key(Qt::Key_V);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .about ..news-2 ...n1-2 ....n1a-2 ");
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_NE(m_ui.m_messages[0].strText.find("news becomes news-2"), CString::npos);
    EXPECT_EQ(Tree().GetSelectedItem(), Find("news-2"));
    EXPECT_EQ(CSiteTree::GetItemData(Find("news-2"))->m_info.m_clrText, 0x123456u);
    EXPECT_EQ(CSiteTree::GetItemData(Find("n1-2"))->m_strText, "first");
    EXPECT_TRUE(Doc().IsModified());
    Key(Qt::Key_Z);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .about ");
    Key(Qt::Key_Y);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .about ..news-2 ...n1-2 ....n1a-2 ");
}

TEST_F(CTreeClipboardTest, CutTakesTheBranchAndPasteBringsItBack)
{
    Tree().SelectItem(Find("n1"));
    Key(Qt::Key_X);
    EXPECT_EQ(Outline(), "Index .news .about ");
    EXPECT_TRUE(m_ui.m_messages.empty()) << "the clipboard holds it: no question";
    Tree().SelectItem(Find("about"));
    Key(Qt::Key_V);
    EXPECT_EQ(Outline(), "Index .news .about ..n1 ...n1a ");
    EXPECT_TRUE(m_ui.m_messages.empty()) << "no tag was taken";
    Key(Qt::Key_Z);
    Key(Qt::Key_Z);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .about ");
}

TEST_F(CTreeClipboardTest, DuplicateAndDeleteFromTheObjectMenu)
{
    Tree().SelectItem(m_hNews);
    Key(Qt::Key_D);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .news-2 ..n1-2 ...n1a-2 .about ");
    Key(Qt::Key_Z);
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a .about ");
    Tree().SelectItem(Find("about"));
    ASSERT_TRUE(Frame().RunCommand(ID_OBJECT_DELETE));
    EXPECT_EQ(Outline(), "Index .news ..n1 ...n1a ");
    // The root has no place beside it.
    Tree().SelectItem(m_hRoot);
    EXPECT_FALSE(IsEnabled(ID_OBJECT_DUPLICATE));
    EXPECT_FALSE(IsEnabled(ID_EDIT_CUT));
}

// Copied in one project, pasted in another: the branch arrives whole.
TEST_F(CTreeClipboardTest, ABranchCarriesIntoAnotherProjectWhole)
{
    Tree().SelectItem(m_hNews);
    Key(Qt::Key_C);
    const std::string copied = CBranchClipboard::ToText(m_hNews);
    m_pApp.reset();
    m_pApp = std::make_unique<CPagewellApp>(m_ui, *m_pRecent);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Tree()));
    Key(Qt::Key_V);
    ASSERT_NE(Find("news"), nullptr);
    EXPECT_EQ(CBranchClipboard::ToText(Find("news")), copied);
}

// A screen reader reads the commands' states and presses them without
// opening a menu: moving in the outline alone must bring them up to date.
TEST_F(CTreeClipboardTest, MovingInTheOutlineUpdatesTheStatesTheAccessibilityLayerReads)
{
    Tree().SelectItem(m_hRoot);
    QAction* pDuplicate = Frame().GetAction(ID_OBJECT_DUPLICATE);
    QAction* pCut = Frame().GetAction(ID_EDIT_CUT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pDuplicate->isEnabled(); })) << "the root is not duplicated";
    Tree().expandAll();
    QTest::keyClick(&Tree(), Qt::Key_Down);
    ASSERT_EQ(Tree().GetSelectedItem(), m_hNews);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pDuplicate->isEnabled() && pCut->isEnabled(); }));
    QTest::keyClick(&Tree(), Qt::Key_Home);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pDuplicate->isEnabled() && !pCut->isEnabled(); }));
}

} // namespace
