// Tools > Check Site: the checks run on the document as it stands, the dock
// lists the findings, and a finding leads to its object.
#include <QPushButton>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "app/CCheckDock.h"

namespace {

using CCheckSite = CGuiFixture;

QStringList Rows(const QTreeWidget& list)
{
    QStringList rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* pRow = list.topLevelItem(i);
        rows << pRow->text(1) + QStringLiteral(": ") + pRow->text(2);
    }
    return rows;
}

TEST_F(CCheckSite, F7ChecksTheUnsavedSiteAndAFindingSelectsItsObject)
{
    ASSERT_TRUE(Start());
    const HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    const HTREEITEM hNews = AddItem(hRoot, "News", NODE_PARAGRAPH, "text");
    const HTREEITEM hClub = AddItem(hRoot, "Club", NODE_LINK);
    Doc().m_tree.GetItemData(hClub)->m_strTitle = kNewLinkTitle;
    auto* pDock = Frame().findChild<CCheckDock*>(QStringLiteral("checkDock"));
    ASSERT_NE(pDock, nullptr);
    EXPECT_FALSE(pDock->isVisible());

    // The title of News is emptied in the editor, not yet stored.
    Tree().SelectItem(hNews);
    ASSERT_TRUE(Focus(Title()));
    QTest::keyClick(&Title(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&Title(), Qt::Key_Delete);
    QTest::keyClick(&Title(), Qt::Key_F7);

    auto* pList = pDock->findChild<QTreeWidget*>(QStringLiteral("checkFindings"));
    ASSERT_NE(pList, nullptr);
    QTRY_VERIFY(pDock->isVisible());
    const QString empty = QStringLiteral("Index/News: the title is empty");
    const QString http = QStringLiteral("Index/Club: the link's address is still \"http://\"");
    QTRY_VERIFY(Rows(*pList).contains(empty));
    EXPECT_TRUE(Rows(*pList).contains(http)) << Rows(*pList).join('\n').toStdString();

    // Typing does not touch the list; Check Again does.
    ASSERT_TRUE(Focus(Title()));
    QTest::keyClicks(&Title(), QStringLiteral("Latest news"));
    EXPECT_TRUE(Rows(*pList).contains(empty));
    QTest::mouseClick(pDock->findChild<QPushButton*>(QStringLiteral("checkAgain")), Qt::LeftButton);
    QTRY_VERIFY(!Rows(*pList).contains(empty));

    // Return on a finding selects its object in the tree.
    const int row = static_cast<int>(Rows(*pList).indexOf(http));
    ASSERT_GE(row, 0);
    ASSERT_TRUE(Focus(*pList));
    pList->setCurrentItem(pList->topLevelItem(row));
    QTest::keyClick(pList, Qt::Key_Return);
    QTRY_COMPARE(Tree().GetSelectedItem(), hClub);
    EXPECT_TRUE(Tree().hasFocus());
}

TEST(CheckDockRules, FindItemFollowsTheTagsAndFailsWhenTheTreeChanged)
{
    CSiteTree tree;
    const HTREEITEM hRoot
        = tree.InsertItem("Index", std::make_unique<CNode>(nullptr), nullptr, ETreeInsert::Last);
    const HTREEITEM hA = tree.InsertItem("A", std::make_unique<CNode>(nullptr), hRoot, ETreeInsert::Last);
    const HTREEITEM hB = tree.InsertItem("B", std::make_unique<CNode>(nullptr), hA, ETreeInsert::Last);
    EXPECT_EQ(CCheckDock::FindItem(hRoot, { "Index", "A", "B" }), hB);
    EXPECT_EQ(CCheckDock::FindItem(hRoot, { "Index" }), hRoot);
    EXPECT_EQ(CCheckDock::FindItem(hRoot, { "Index", "B" }), nullptr);
    EXPECT_EQ(CCheckDock::FindItem(hRoot, { "Home", "A" }), nullptr);
    EXPECT_EQ(CCheckDock::FindItem(hRoot, {}), nullptr);
}

} // namespace
