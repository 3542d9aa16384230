// Nothing the user did is lost and nothing merely looked at changes: format
// commands mark the project modified, a rename left open in the tree is
// committed before the project is written or left, a late rename never
// steals the keys, and viewing an object leaves its bytes alone. The mouse
// on the tree: a right click and a press that starts a drag select nothing.
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleHints>
#include <QToolBar>

#include "GuiFixture.h"
#include "model/NodeTypes.h"
#include "model/TreeDialogs.h"
#include "tree/CSiteTreeModel.h"

namespace {

class CNothingLost : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        m_hRoot = Doc().m_tree.GetRootItem();
        m_ui.m_dialogs.clear();
    }

    QPoint At(HTREEITEM h) const { return Tree().visualRect(Tree().GetModel().IndexOf(h)).center(); }
    void Click(HTREEITEM h, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(Tree().viewport(), button, {}, At(h));
    }
    static void ClickInto(CEditorView& editor)
    {
        QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    }
    QLineEdit* RenameBox() const
    {
        for (auto* pEdit : Tree().viewport()->findChildren<QLineEdit*>()) {
            if (pEdit->isVisible())
                return pEdit;
        }
        return nullptr;
    }
    // Opens the rename box on the selected item with F2 and types a tag.
    void TypeRename(const char* pszTag)
    {
        ASSERT_TRUE(Focus(Tree()));
        QTest::keyClick(&Tree(), Qt::Key_F2);
        QLineEdit* pBox = RenameBox();
        ASSERT_NE(pBox, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return pBox->hasFocus(); }, 2000));
        QTest::keyClick(pBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pBox, QString::fromLatin1(pszTag));
    }
    CString RootTag() const { return CSiteTree::GetItemText(Doc().m_tree.GetRootItem()); }

    HTREEITEM m_hRoot = nullptr;
};

TEST_F(CNothingLost, EveryFormatCommandMarksTheProjectModified)
{
    const struct {
        int nId;
        Qt::Key key;
        bool bTitleOnly;
        Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
    } commands[] = {
        { ID_STYLE_H1, Qt::Key_1, false },
        { ID_STYLE_H2, Qt::Key_2, false },
        { ID_STYLE_H3, Qt::Key_3, false },
        { ID_STYLE_H4, Qt::Key_4, false },
        { ID_STYLE_NORMAL, Qt::Key_0, false },
        { ID_STYLE_HIDE, Qt::Key_H, true, Qt::ControlModifier | Qt::ShiftModifier },
        { ID_ALIGN_LEFT, Qt::Key_L, false },
        { ID_ALIGN_CENTER, Qt::Key_E, false },
        { ID_ALIGN_RIGHT, Qt::Key_R, false },
    };
    CNode* pRoot = Doc().m_pCurrent;
    for (CEditorView* pEditor : std::initializer_list<CEditorView*> { &Title(), &Body() }) {
        uint32_t& nWord = pEditor == &Title() ? pRoot->m_nTitleFormat : pRoot->m_nTextFormat;
        for (const auto& c : commands) {
            if (c.bTitleOnly && pEditor == &Body())
                continue;
            ASSERT_TRUE(Focus(*pEditor));
            ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().GetAction(c.nId)->isEnabled(); }));
            Doc().SetModifiedFlag(false);
            const uint32_t nBefore = nWord;
            QTest::keyClick(pEditor, c.key, c.modifiers);
            EXPECT_NE(nWord, nBefore) << pEditor->objectName().toStdString() << " " << c.nId;
            EXPECT_TRUE(Doc().IsModified()) << pEditor->objectName().toStdString() << " " << c.nId;
        }
    }

    // A change of format alone is asked about at Close: here a toolbar click.
    ASSERT_TRUE(Focus(Body()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().GetAction(ID_STYLE_H2)->isEnabled(); }));
    Doc().SetModifiedFlag(false);
    QWidget* pButton = Frame().GetToolBar()->widgetForAction(Frame().GetAction(ID_STYLE_H2));
    QTest::mouseClick(pButton, Qt::LeftButton);
    EXPECT_EQ(GetStyle(pRoot->m_nTextFormat), STYLE_H2);
    m_ui.m_messageAnswers.push_back(IDCANCEL);
    EXPECT_FALSE(Frame().close());
    ASSERT_EQ(m_ui.m_messages.size(), 1U);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Save changes to Untitled?");
}

TEST_F(CNothingLost, AnOpenRenameIsCommittedBeforeTheProjectIsWrittenOrLeft)
{
    const std::string saved = Path("renamed.pwl");
    CString tagSeen;
    const struct {
        const char* pszCommand;
        const char* pszTag;
        std::function<void()> run;
        std::function<void()> check;
    } cases[] = {
        { "Save", "saved",
            [&] {
                m_ui.m_savePaths.push_back(saved);
                QTest::keyClick(RenameBox(), Qt::Key_S, Qt::ControlModifier);
            },
            [&] {
                QFile file(QString::fromStdString(saved));
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                EXPECT_TRUE(file.readAll().contains("saved"));
            } },
        { "Generate", "generated",
            [&] {
                m_ui.m_onDialog = [&](CDialogRecord&) { tagSeen = RootTag(); };
                QTest::keyClick(RenameBox(), Qt::Key_G, Qt::ControlModifier);
            },
            [&] { EXPECT_EQ(tagSeen, "generated"); } },
        { "New", "renewed",
            [&] {
                m_ui.m_messageAnswers.push_back(IDCANCEL);
                QTest::keyClick(RenameBox(), Qt::Key_N, Qt::ControlModifier);
            },
            [&] { EXPECT_EQ(m_ui.m_messages.back().strText, "Save changes to renamed.pwl?"); } },
        { "Close", "closed",
            [&] {
                m_ui.m_messageAnswers.push_back(IDCANCEL);
                EXPECT_FALSE(Frame().close());
            },
            [&] { EXPECT_EQ(m_ui.m_messages.back().strText, "Save changes to renamed.pwl?"); } },
    };
    for (const auto& c : cases) {
        TypeRename(c.pszTag);
        m_ui.m_messages.clear();
        c.run();
        EXPECT_EQ(RootTag(), c.pszTag) << c.pszCommand;
        EXPECT_EQ(RenameBox(), nullptr) << c.pszCommand;
        c.check();
        m_ui.m_onDialog = nullptr;
    }
}

TEST_F(CNothingLost, AClickOnTheSelectedItemRenamesOnlyWhileTheUserStays)
{
    HTREEITEM hA = AddItem(m_hRoot, "a", NODE_PAGE);
    Tree().expandAll();
    ASSERT_TRUE(Focus(Tree()));
    Tree().SelectItem(m_hRoot);

    // Going on into an editor: nothing opens and the keys stay there.
    Click(m_hRoot);
    ASSERT_TRUE(Tree().IsRenamePending());
    ClickInto(Body());
    EXPECT_FALSE(Tree().IsRenamePending());
    QTest::keyClicks(QApplication::focusWidget(), "typed");
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("typed"));

    // Another item selected meanwhile: nothing opens either.
    ASSERT_TRUE(Focus(Tree()));
    Click(m_hRoot);
    ASSERT_TRUE(Tree().IsRenamePending());
    QTest::keyClick(&Tree(), Qt::Key_Down);
    EXPECT_EQ(Tree().GetSelectedItem(), hA);
    EXPECT_FALSE(Tree().IsRenamePending());
    EXPECT_EQ(RenameBox(), nullptr);

    // Staying: the rename box opens after the double-click time.
    Click(hA);
    EXPECT_TRUE(Tree().IsRenamePending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return RenameBox() != nullptr; }, 3000));
}

TEST_F(CNothingLost, ViewingAnObjectLeavesItsBytes)
{
    const CString text = "one\rtwo\nthree\r\nfour\n";
    const CString title = "t\ri\nt\xA0le";
    HTREEITEM hA = AddItem(m_hRoot, "a", NODE_PARAGRAPH);
    CNode* pA = CSiteTree::GetItemData(hA);
    pA->m_strText = text;
    pA->m_strTitle = title;
    Tree().expandAll();
    Doc().SetModifiedFlag(false);

    Click(hA);
    ASSERT_EQ(Doc().m_pCurrent, pA);
    ClickInto(Title());
    ClickInto(Body());
    Click(m_hRoot);
    ASSERT_NE(Doc().m_pCurrent, pA);
    EXPECT_EQ(pA->m_strText, text);
    EXPECT_EQ(pA->m_strTitle, title);
    EXPECT_FALSE(Doc().IsModified());

    // An edit stores the pane, with the editor's line ends.
    Click(hA);
    ClickInto(Body());
    QTest::keyClick(&Body(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&Body(), "!");
    Click(m_hRoot);
    EXPECT_EQ(pA->m_strText, "one\r\ntwo\r\nthree\r\nfour\r\n!");
    EXPECT_EQ(pA->m_strTitle, title);
}

class CTreeMouse : public CNothingLost {
protected:
    void SetUp() override
    {
        CNothingLost::SetUp();
        m_hA = AddItem(m_hRoot, "a", NODE_PAGE);
        AddItem(m_hA, "a1", NODE_PARAGRAPH);
        m_hB = AddItem(m_hRoot, "b", NODE_PAGE);
        m_hC = AddItem(m_hRoot, "c", NODE_PAGE);
        Tree().expandAll();
        ASSERT_TRUE(Focus(Tree()));
    }

    bool InBranch(HTREEITEM h, const char* pszTag) const
    {
        for (; h != nullptr; h = CSiteTree::GetParentItem(h)) {
            if (CSiteTree::GetItemText(h) == pszTag)
                return true;
        }
        return false;
    }

    HTREEITEM m_hA = nullptr;
    HTREEITEM m_hB = nullptr;
    HTREEITEM m_hC = nullptr;
};

TEST_F(CTreeMouse, RightClicksAndDragPressesSelectNothing)
{
    Click(m_hA);
    ASSERT_EQ(Tree().GetSelectedItem(), m_hA);
    CNode* pA = CSiteTree::GetItemData(m_hA);
    for (Qt::MouseButton button : { Qt::RightButton, Qt::MiddleButton }) {
        Click(m_hB, button);
        QTest::mouseDClick(Tree().viewport(), button, {}, At(m_hB));
        EXPECT_EQ(Tree().GetSelectedItem(), m_hA) << button;
        EXPECT_EQ(Doc().m_pCurrent, pA) << button;
    }

    // A press that becomes a drag leaves the selection where it was.
    m_ui.m_dialogAnswers.push_back(IDCANCEL);
    QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, At(m_hC));
    QTest::mouseMove(Tree().viewport(), At(m_hC) + QPoint(QApplication::startDragDistance() + 2, 0));
    ASSERT_TRUE(Tree().IsDragging());
    EXPECT_EQ(Tree().GetSelectedItem(), m_hA);
    QTest::mouseMove(Tree().viewport(), At(m_hB));
    QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, At(m_hB));
    EXPECT_EQ(Tree().GetSelectedItem(), m_hA);
    EXPECT_EQ(Doc().m_pCurrent, pA);
}

TEST_F(CTreeMouse, ADropSelectsNoneOfTheNewItems)
{
    // The selection inside the moved branch: the new items lie where the
    // tree would hand the selection on (right after the old item).
    for (const char* pszSelected : { "a", "a1" }) {
        HTREEITEM hA = nullptr;
        for (HTREEITEM h = Doc().m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (CSiteTree::GetItemText(h) == "a")
                hA = h;
        }
        Tree().expandAll();
        HTREEITEM hSelected = std::string(pszSelected) == "a" ? hA : CSiteTree::GetChildItem(hA);
        Click(hSelected);
        HTREEITEM hNext = CSiteTree::GetNextSiblingItem(hA);
        ASSERT_NE(hNext, nullptr);
        m_ui.m_onDialog = [](CDialogRecord& record) {
            static_cast<CInsertPositionDlg&>(record).m_nPosition = POS_BEFORE;
        };
        QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, At(hA));
        QTest::mouseMove(Tree().viewport(), At(hA) + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseMove(Tree().viewport(), At(hNext));
        QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, At(hNext));
        ASSERT_FALSE(Tree().IsDragging());
        HTREEITEM hNow = Tree().GetSelectedItem();
        ASSERT_NE(hNow, nullptr) << pszSelected;
        EXPECT_FALSE(InBranch(hNow, "a")) << pszSelected;
        EXPECT_EQ(Doc().m_pCurrent, CSiteTree::GetItemData(hNow)) << pszSelected;
    }
}

TEST_F(CTreeMouse, TheKeypadDeleteKeyDeletes)
{
    QSignalSpy spy(&Tree(), &CPagewellView::deleteRequested);
    Click(m_hB);
    QTest::keyClick(&Tree(), Qt::Key_Delete, Qt::KeypadModifier);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(Doc().m_tree.GetCount(), 4U);
}

} // namespace
