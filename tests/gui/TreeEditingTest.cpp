// Shaping the outline in the running program: the insert, convert and delete
// commands from the tree, and moving a branch with the mouse.
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

#include "GuiFixture.h"
#include "model/TreeDialogs.h"
#include "support/TestFiles.h"
#include "tree/CSiteTreeModel.h"

namespace {

class CTreeEditing : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        m_hRoot = Doc().m_tree.GetRootItem();
        m_ui.m_dialogs.clear();
        Doc().SetModifiedFlag(false);
    }

    QModelIndex IndexOf(HTREEITEM h) const { return Tree().GetModel().IndexOf(h); }
    int Image(HTREEITEM h, int role = CSiteTreeModel::NormalImageRole) const
    {
        return IndexOf(h).data(role).toInt();
    }
    QPoint At(HTREEITEM h) const { return Tree().visualRect(IndexOf(h)).center(); }

    // Presses on an item and moves far enough to start dragging it.
    void StartDrag(HTREEITEM hItem)
    {
        Tree().scrollTo(IndexOf(hItem));
        const QPoint from = At(hItem);
        QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Tree().viewport(), from + QPoint(QApplication::startDragDistance() + 2, 0));
    }
    void MoveTo(const QPoint& at) { QTest::mouseMove(Tree().viewport(), at); }
    void Release(const QPoint& at) { QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, at); }
    // A whole drag from one item to another.
    void DragOnto(HTREEITEM hItem, HTREEITEM hTarget)
    {
        StartDrag(hItem);
        MoveTo(At(hTarget));
        Release(At(hTarget));
    }

    // Answers the position dialog with a position, noting what it offered
    // and what the items showed meanwhile.
    void AnswerPosition(int nPosition)
    {
        m_ui.m_onDialog = [this, nPosition](CDialogRecord& record) {
            auto& dlg = static_cast<CInsertPositionDlg&>(record);
            m_nOfferedEnable = dlg.m_nEnable;
            m_nOfferedPosition = dlg.m_nPosition;
            m_nDragImage = Image(Tree().GetDragItem());
            m_nDropImage = Image(Tree().GetDropTarget());
            m_nDropSelectedImage = Image(Tree().GetDropTarget(), CSiteTreeModel::SelectedImageRole);
            m_bHighlightDuringDialog = Tree().GetModel().GetDropHighlight() != nullptr;
            dlg.m_nPosition = nPosition;
        };
    }

    HTREEITEM m_hRoot = nullptr;
    int m_nOfferedEnable = -1;
    int m_nOfferedPosition = -1;
    int m_nDragImage = -1;
    int m_nDropImage = -1;
    int m_nDropSelectedImage = -1;
    bool m_bHighlightDuringDialog = true;
};

TEST_F(CTreeEditing, TheCommandsAreTheTreesOnly)
{
    const int ids[] = { ID_INSERT_PAGE, ID_INSERT_PARAGRAPH, ID_INSERT_LINK, ID_OBJECT_CONVERT };
    ASSERT_TRUE(Focus(Tree()));
    for (int nId : ids)
        EXPECT_TRUE(IsEnabled(nId)) << nId;
    ASSERT_TRUE(Focus(Body()));
    for (int nId : ids)
        EXPECT_FALSE(IsEnabled(nId)) << nId;
    EXPECT_FALSE(Frame().RunCommand(ID_INSERT_PAGE));
    EXPECT_TRUE(m_ui.m_dialogs.empty());
}

TEST_F(CTreeEditing, InsertKeepsTheSelectionAndOpensItsItem)
{
    AddItem(m_hRoot, "m", NODE_PAGE);
    CNode* pCurrent = Doc().m_pCurrent;
    ASSERT_TRUE(Focus(Tree()));

    m_ui.m_dialogAnswers.push_back(IDCANCEL);
    EXPECT_TRUE(Frame().RunCommand(ID_INSERT_PARAGRAPH));
    EXPECT_FALSE(Tree().isExpanded(IndexOf(m_hRoot)));
    EXPECT_FALSE(Doc().IsModified());

    m_ui.m_onDialog
        = [](CDialogRecord& record) { static_cast<CInsertObjectDlg&>(record).m_strTag = "Intro"; };
    EXPECT_TRUE(Frame().RunCommand(ID_INSERT_PARAGRAPH));
    EXPECT_EQ(m_ui.m_dialogs, (std::vector<int> { 140, 140 }));
    EXPECT_EQ(Outline(), "Index .Intro .m ");
    EXPECT_TRUE(Tree().isExpanded(IndexOf(m_hRoot)));
    EXPECT_EQ(Tree().GetSelectedItem(), m_hRoot);
    EXPECT_EQ(Doc().m_pCurrent, pCurrent);
    EXPECT_EQ(Image(Find("Intro")), 9);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(CTreeEditing, ConvertChangesTheItemsPictures)
{
    HTREEITEM hItem = AddItem(m_hRoot, "p", NODE_PARAGRAPH);
    Tree().SelectItem(hItem);
    ASSERT_TRUE(Focus(Tree()));
    m_ui.m_onDialog
        = [](CDialogRecord& record) { static_cast<CSelectTypeDlg&>(record).m_nNewType = NODE_LINK; };
    EXPECT_TRUE(Frame().RunCommand(ID_OBJECT_CONVERT));
    EXPECT_EQ(m_ui.m_dialogs, (std::vector<int> { 150 }));
    EXPECT_EQ(Image(hItem), 5);
    EXPECT_EQ(Image(hItem, CSiteTreeModel::SelectedImageRole), 4);
}

TEST_F(CTreeEditing, TheDeleteKeyDeletesTheSelectedBranch)
{
    HTREEITEM hA = AddItem(m_hRoot, "a", NODE_PAGE);
    AddItem(hA, "a1", NODE_PARAGRAPH);
    HTREEITEM hB = AddItem(m_hRoot, "b", NODE_PAGE);
    Tree().SelectItem(hA);
    ASSERT_TRUE(Focus(Tree()));
    QTest::keyClick(&Tree(), Qt::Key_Delete);
    ASSERT_EQ(m_ui.m_messages.size(), 1U);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Delete the current object and all it's sub-objects?");
    EXPECT_EQ(Outline(), "Index .b ");
    EXPECT_EQ(Tree().GetSelectedItem(), hB);
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hB));
    EXPECT_TRUE(Doc().IsModified());
}

// A click below the last row picks nothing: the current object keeps its
// highlight and the tree takes the keys.
TEST_F(CTreeEditing, AClickOnTheEmptyAreaKeepsTheHighlight)
{
    HTREEITEM hA = AddItem(m_hRoot, "a", NODE_PAGE);
    Tree().SelectItem(hA);
    Focus(Title());
    const QPoint below(Tree().viewport()->width() / 2, Tree().viewport()->height() - 3);
    ASSERT_FALSE(Tree().indexAt(below).isValid());
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(Tree().selectionModel()->isSelected(IndexOf(hA)));
    EXPECT_EQ(Tree().currentIndex(), IndexOf(hA));
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hA));
    EXPECT_TRUE(Tree().hasFocus());
}

// Index > a (b, a2), c, lnk
class CTreeDrag : public CTreeEditing {
protected:
    void SetUp() override
    {
        CTreeEditing::SetUp();
        m_hA = AddItem(m_hRoot, "a", NODE_PAGE, "text of a");
        AddItem(m_hA, "b", NODE_PARAGRAPH);
        AddItem(m_hA, "a2", NODE_PARAGRAPH);
        m_hC = AddItem(m_hRoot, "c", NODE_PAGE);
        m_hLink = AddItem(m_hRoot, "lnk", NODE_LINK);
        Tree().expandAll();
        Doc().SetModifiedFlag(false);
    }

    HTREEITEM m_hA = nullptr;
    HTREEITEM m_hC = nullptr;
    HTREEITEM m_hLink = nullptr;
};

TEST_F(CTreeDrag, AWholeDragMovesTheBranch)
{
    CNode* pA = CSiteTree::GetItemData(m_hA);
    pA->m_tStamp = 12345;
    AnswerPosition(POS_AFTER);

    StartDrag(m_hA);
    EXPECT_TRUE(Tree().IsDragging());
    EXPECT_EQ(Image(m_hA), 2);
    EXPECT_EQ(Image(m_hA, CSiteTreeModel::SelectedImageRole), 2);
    ASSERT_NE(Tree().GetDragImage(), nullptr);
    EXPECT_TRUE(Tree().GetDragImage()->isVisible());
    MoveTo(At(m_hC) + QPoint(3, 1));
    EXPECT_EQ(Tree().GetDropTarget(), m_hC);
    EXPECT_TRUE(IndexOf(m_hC).data(CSiteTreeModel::DropHighlightRole).toBool());
    // The drag image follows the mouse, its corner at the hot spot.
    EXPECT_EQ(Tree().GetDragImage()->pos(), At(m_hC) + QPoint(3, 1));
    Release(At(m_hC));

    EXPECT_EQ(m_ui.m_dialogs, (std::vector<int> { 155 }));
    EXPECT_EQ(m_nOfferedEnable, 7);
    EXPECT_EQ(m_nOfferedPosition, POS_CHILD);
    EXPECT_EQ(m_nDragImage, 2);
    EXPECT_EQ(m_nDropImage, 3);
    EXPECT_EQ(m_nDropSelectedImage, 3);
    EXPECT_FALSE(m_bHighlightDuringDialog);

    // The children come back in the order of their tags.
    EXPECT_EQ(Outline(), "Index .c .a ..a2 ..b .lnk ");
    HTREEITEM hMoved = Find("a");
    EXPECT_EQ(CSiteTree::GetItemData(hMoved), pA);
    EXPECT_EQ(pA->m_strText, "text of a");
    EXPECT_EQ(pA->m_tStamp, 12345);
    EXPECT_FALSE(Tree().isExpanded(IndexOf(hMoved)));
    EXPECT_EQ(Image(hMoved), 1);
    EXPECT_EQ(Image(m_hC), 1);
    EXPECT_EQ(Image(m_hC, CSiteTreeModel::SelectedImageRole), 0);
    EXPECT_EQ(Tree().GetModel().GetDropHighlight(), nullptr);
    EXPECT_FALSE(Tree().IsDragging());
    EXPECT_EQ(Tree().GetDragImage(), nullptr);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(CTreeDrag, TheSelectedItemMovedAwayHandsOverTheEditors)
{
    Tree().SelectItem(m_hA);
    Body().setPlainText(QStringLiteral("typed into a"));
    CNode* pA = CSiteTree::GetItemData(m_hA);
    AnswerPosition(POS_AFTER);
    DragOnto(m_hA, m_hLink);
    EXPECT_EQ(Outline(), "Index .c .lnk .a ..a2 ..b ");
    // What was typed went into the moved object; the neighbour that took
    // the selection is current and shown.
    EXPECT_EQ(pA->m_strText, "typed into a");
    HTREEITEM hSelected = Tree().GetSelectedItem();
    ASSERT_NE(hSelected, nullptr);
    EXPECT_NE(CSiteTree::GetItemData(hSelected), pA);
    EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hSelected));
    EXPECT_EQ(Body().toPlainText(), QString());
}

TEST_F(CTreeDrag, RefusedDropsBeepAndMoveNothing)
{
    const std::string before = Outline();
    const struct {
        const char* pszTarget;
        const char* pszWhy;
    } cases[] = { { "a", "itself" }, { "b", "its child" }, { "Index", "its parent" } };
    for (const auto& c : cases) {
        Doc().SetModifiedFlag(false);
        m_ui.m_beeps.clear();
        DragOnto(Find("a"), Find(c.pszTarget));
        EXPECT_EQ(Outline(), before) << c.pszWhy;
        EXPECT_EQ(m_ui.m_beeps, (std::vector<EBeep> { EBeep::Default })) << c.pszWhy;
        EXPECT_TRUE(m_ui.m_dialogs.empty()) << c.pszWhy;
        EXPECT_TRUE(Doc().IsModified()) << c.pszWhy;
        EXPECT_EQ(Image(Find("a")), 1) << c.pszWhy;
        EXPECT_EQ(Image(Find(c.pszTarget)), c.pszTarget[0] == 'b' ? 9 : 1) << c.pszWhy;
    }
}

TEST_F(CTreeDrag, CancelInTheDialogMovesNothing)
{
    const std::string before = Outline();
    m_ui.m_dialogAnswers.push_back(IDCANCEL);
    DragOnto(m_hC, m_hLink);
    EXPECT_EQ(Outline(), before);
    EXPECT_EQ(Image(m_hC), 1);
    EXPECT_EQ(Image(m_hLink), 5);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(Tree().IsDragging());
}

TEST_F(CTreeDrag, TheRootAndALinkOfferTheirPositions)
{
    AnswerPosition(POS_CHILD);
    DragOnto(Find("b"), m_hRoot);
    EXPECT_EQ(m_nOfferedEnable, 1);
    EXPECT_EQ(Outline(), "Index .a ..a2 .b .c .lnk ");

    AnswerPosition(POS_BEFORE);
    DragOnto(m_hC, m_hLink);
    EXPECT_EQ(m_nOfferedEnable, 6);
    EXPECT_EQ(m_nOfferedPosition, POS_AFTER);
    EXPECT_EQ(m_nDropImage, 7);
    EXPECT_EQ(Outline(), "Index .a ..a2 .b .c .lnk ");
}

TEST_F(CTreeDrag, EmptySpaceKeepsTheLastTarget)
{
    AnswerPosition(POS_BEFORE);
    StartDrag(Find("a2"));
    MoveTo(At(m_hC));
    const QPoint below(At(m_hLink).x(), Tree().visualRect(IndexOf(m_hLink)).bottom() + 20);
    ASSERT_FALSE(Tree().indexAt(below).isValid());
    MoveTo(below);
    EXPECT_EQ(Tree().GetDropTarget(), m_hC);
    Release(below);
    EXPECT_EQ(Outline(), "Index .a ..b .a2 .c .lnk ");
}

TEST_F(CTreeDrag, KeysDuringADrag)
{
    const std::string before = Outline();
    ASSERT_TRUE(Focus(Tree()));
    StartDrag(m_hA);
    MoveTo(At(m_hC));
    // Delete is ignored while dragging.
    QTest::keyClick(&Tree(), Qt::Key_Delete);
    EXPECT_TRUE(m_ui.m_messages.empty());
    EXPECT_TRUE(Tree().IsDragging());
    EXPECT_EQ(Outline(), before);
    // Escape ends the drag; the release that follows does nothing.
    QTest::keyClick(&Tree(), Qt::Key_Escape);
    EXPECT_FALSE(Tree().IsDragging());
    EXPECT_EQ(Image(m_hA), 1);
    EXPECT_EQ(Image(m_hC), 1);
    EXPECT_EQ(Tree().GetModel().GetDropHighlight(), nullptr);
    EXPECT_EQ(Tree().GetDragImage(), nullptr);
    Release(At(m_hC));
    EXPECT_TRUE(m_ui.m_dialogs.empty());
    EXPECT_TRUE(m_ui.m_beeps.empty());
    EXPECT_EQ(Outline(), before);
}

TEST_F(CTreeDrag, AProjectOpenedDuringADragEndsIt)
{
    // A project handed over by a second start can arrive while the user drags.
    CTempFolder folder;
    const std::string path = folder.File("other.pwl");
    ASSERT_TRUE(Doc().DoFileSaveAs(path));
    Doc().SetModifiedFlag(false);
    StartDrag(m_hA);
    MoveTo(At(m_hC));
    ASSERT_TRUE(Tree().IsDragging());
    const QPoint drop = At(m_hC);
    ASSERT_TRUE(Doc().DoFileOpen(path));
    EXPECT_FALSE(Tree().IsDragging());
    EXPECT_EQ(Tree().GetDragItem(), nullptr);
    EXPECT_EQ(Tree().GetDropTarget(), nullptr);
    Release(drop);
    EXPECT_TRUE(m_ui.m_dialogs.empty()) << "nothing is dropped";
    EXPECT_FALSE(Doc().IsModified());

    // Deleting the dragged object from elsewhere ends the drag the same way.
    HTREEITEM hA = Find("a");
    StartDrag(hA);
    MoveTo(At(Find("c")));
    Doc().m_tree.DeleteItem(hA);
    EXPECT_FALSE(Tree().IsDragging());
    Release(At(Find("c")));
    EXPECT_TRUE(m_ui.m_dialogs.empty());
}

TEST_F(CTreeDrag, ALostMouseEndsTheDragWithoutMoving)
{
    const std::string before = Outline();
    const std::function<void()> losses[] = {
        [&] {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(&Tree(), &deactivate);
        },
        [&] {
            // The button came up outside the program.
            QMouseEvent move(QEvent::MouseMove, At(m_hLink), Tree().viewport()->mapToGlobal(At(m_hLink)),
                Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(Tree().viewport(), &move);
        },
    };
    for (const auto& lose : losses) {
        StartDrag(m_hA);
        MoveTo(At(m_hC));
        ASSERT_TRUE(Tree().IsDragging());
        lose();
        EXPECT_FALSE(Tree().IsDragging());
        EXPECT_EQ(Image(m_hA), 1);
        EXPECT_EQ(Image(m_hC), 1);
        Release(At(m_hC));
        EXPECT_TRUE(m_ui.m_dialogs.empty());
        EXPECT_EQ(Outline(), before);
    }
}

// Index > i00 .. i29, i29 > deep
TEST_F(CTreeEditing, TheTimerScrollsOneStepAtAnEdge)
{
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 30; ++i)
        items.push_back(AddItem(m_hRoot,
            QStringLiteral("i%1").arg(i, 2, 10, QLatin1Char('0')).toLatin1().constData(), NODE_PAGE));
    HTREEITEM hDeep = AddItem(items.back(), "deep", NODE_PARAGRAPH);
    Tree().expand(IndexOf(m_hRoot));
    // Eight whole rows in the window.
    const int nRow = Tree().visualRect(IndexOf(m_hRoot)).height();
    Tree().setFixedHeight(Tree().height() - Tree().viewport()->height() + 8 * nRow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Tree().viewport()->height() == 8 * nRow; }));
    const auto Shown
        = [&](HTREEITEM h) { return Tree().viewport()->rect().contains(Tree().visualRect(IndexOf(h))); };

    Tree().scrollTo(IndexOf(items[15]), QAbstractItemView::PositionAtTop);
    ASSERT_FALSE(Shown(items[14]));
    StartDrag(items[16]);
    MoveTo(At(items[15]));
    ASSERT_EQ(Tree().GetDropTarget(), items[15]);
    // The timer ticks by itself: its previous sibling comes into view.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(items[14]); }, 1000));
    // No further step without a mouse move.
    Tree().OnAutoScroll();
    EXPECT_FALSE(Shown(items[13]));

    // At the bottom edge, the next item.
    const QModelIndex last = Tree().indexAt(QPoint(1, Tree().viewport()->height() - 1));
    HTREEITEM hLast = CSiteTreeModel::ItemOf(last);
    ASSERT_TRUE(Shown(hLast));
    HTREEITEM hNext = CSiteTree::GetNextSiblingItem(hLast);
    ASSERT_NE(hNext, nullptr);
    ASSERT_FALSE(Shown(hNext));
    MoveTo(At(hLast));
    ASSERT_EQ(Tree().GetDropTarget(), hLast);
    Tree().OnAutoScroll();
    EXPECT_TRUE(Shown(hNext));
    EXPECT_TRUE(Shown(hLast));

    // The last item of the outline opens to show its first child.
    Tree().scrollToBottom();
    MoveTo(At(items.back()));
    ASSERT_EQ(Tree().GetDropTarget(), items.back());
    Tree().OnAutoScroll();
    EXPECT_TRUE(Tree().isExpanded(IndexOf(items.back())));
    EXPECT_TRUE(Shown(hDeep));
    QTest::keyClick(&Tree(), Qt::Key_Escape);
    Release(At(items.back()));
}

} // namespace
