// Find and replace in the real window, driven by its keys: Ctrl+F lists the
// matches in the dock, F3 and Shift+F3 step through them across objects,
// Ctrl+H replaces; and the editors' highlighting leaves the text alone.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTreeView>

#include "GuiFixture.h"
#include "app/CFindController.h"
#include "app/CFindDialog.h"
#include "app/CFindDock.h"
#include "app/CFindResultsModel.h"
#include "tree/CSiteTreeModel.h"

namespace {

class CFindReplace : public CGuiFixture {
protected:
    // Index            "Home"        "The river flows."
    //   bank           "River bank"  "by the river" CR LF "and the river"
    //   lake           "Lake"        "still water"
    //   river-walk     "Walk"        ""
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        HTREEITEM hRoot = Doc().m_tree.GetRootItem();
        m_pRoot = CSiteTree::GetItemData(hRoot);
        m_pRoot->m_strTitle = "Home";
        m_pRoot->m_strText = "The river flows.";
        m_pBank = Node(AddItem(hRoot, "bank", NODE_PARAGRAPH, "by the river\r\nand the river"), "River bank");
        m_pLake = Node(AddItem(hRoot, "lake", NODE_PAGE, "still water"), "Lake");
        m_hWalk = AddItem(hRoot, "river-walk", NODE_PAGE, "");
        Node(m_hWalk, "Walk");
        Doc().UpdateAllViews(nullptr, HINT_RELOAD);
        ASSERT_TRUE(Focus(Tree()));
    }

    static CNode* Node(HTREEITEM hItem, const char* pszTitle)
    {
        CNode* pNode = CSiteTree::GetItemData(hItem);
        pNode->m_strTitle = pszTitle;
        return pNode;
    }

    CFindDialog& Dialog() const { return Frame().GetFind().GetDialog(); }
    CFindDock& Dock() const { return Frame().GetFind().GetDock(); }
    template <typename T> T* Control(const char* pszName) const
    {
        return Dialog().findChild<T*>(QString::fromLatin1(pszName));
    }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* pTarget = QApplication::focusWidget();
        ASSERT_NE(pTarget, nullptr);
        QTest::keyClick(pTarget, key, modifiers);
    }

    // Ctrl+F (or Ctrl+H), the text typed into the dialog's field.
    void OpenDialog(Qt::Key key, const QString& text)
    {
        Key(key, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog()));
        auto* pFind = Control<QLineEdit>("findText");
        ASSERT_TRUE(QTest::qWaitFor([&] { return pFind->hasFocus(); }, 2000));
        QTest::keyClicks(pFind, text);
    }

    // Return in the dialog's field: Find lists the matches, goes to the
    // first and gives the window back.
    void PressFind()
    {
        QTest::keyClick(Control<QLineEdit>("findText"), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Dialog().isVisible() && Frame().isActiveWindow(); }, 2000));
    }

    // Where the match is that the window shows: the current object's tag,
    // and the pane with its selected text.
    std::string Shown() const
    {
        const std::string tag = Doc().GetCurrentItem()->GetLabel();
        QWidget* pActive = Frame().GetActiveView();
        if (pActive == &Body())
            return tag + " text " + std::to_string(Body().textCursor().selectionStart()) + " "
                + Body().textCursor().selectedText().toStdString();
        if (pActive == &Title())
            return tag + " title " + std::to_string(Title().textCursor().selectionStart()) + " "
                + Title().textCursor().selectedText().toStdString();
        return tag + " tag";
    }

    CNode* m_pRoot = nullptr;
    CNode* m_pBank = nullptr;
    CNode* m_pLake = nullptr;
    HTREEITEM m_hWalk = nullptr;
};

TEST_F(CFindReplace, FindListsEveryMatchAndDoubleClickGoesToIt)
{
    OpenDialog(Qt::Key_F, QStringLiteral("river"));
    EXPECT_FALSE(Control<QLineEdit>("replaceText")->isVisible());
    PressFind();
    EXPECT_TRUE(Dock().isVisible());
    const CFindResultsModel& model = Dock().GetModel();
    ASSERT_EQ(model.rowCount(), 5);
    const auto cell = [&](int nRow, int nColumn) { return model.index(nRow, nColumn).data().toString(); };
    EXPECT_EQ(cell(0, 0), QStringLiteral("Index"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("The river flows."));
    EXPECT_EQ(cell(1, 0), QStringLiteral("Index/bank"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("Title"));
    EXPECT_EQ(cell(3, 2), QStringLiteral("by the river  and the river"));
    EXPECT_EQ(cell(4, 1), QStringLiteral("Tag"));
    // Find went to the first match after the tree's current object.
    EXPECT_EQ(Shown(), "Index text 4 river");

    // The second match of the bank's text lies after a line break.
    QTreeView* pView = Dock().GetView();
    pView->scrollTo(model.index(3, 2));
    const QRect row = pView->visualRect(model.index(3, 2));
    ASSERT_TRUE(pView->viewport()->rect().contains(row.center()));
    // A double click: press and release, then the second press.
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Doc().m_pCurrent == m_pBank; }, 2000));
    EXPECT_EQ(Shown(), "bank text 21 river");
    EXPECT_TRUE(Body().hasFocus());

    // A change of the tree empties the list at once (its rows named the
    // items), then lists what there is; the title agrees with the list.
    EXPECT_EQ(Dock().windowTitle(), QStringLiteral("Find Results: river, 5 matches"));
    Doc().m_tree.DeleteItem(m_hWalk);
    EXPECT_EQ(model.rowCount(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 4; }, 2000));
    EXPECT_EQ(Dock().windowTitle(), QStringLiteral("Find Results: river, 4 matches"));
}

// Beside the site check's dock the results still get room for the object's
// path, the field and the match.
TEST_F(CFindReplace, TheResultsOpenWideEnoughToRead)
{
    Frame().resize(1000, 700);
    Frame().RunCommand(ID_TOOLS_CHECK_SITE);
    OpenDialog(Qt::Key_F, QStringLiteral("river"));
    PressFind();
    ASSERT_TRUE(Dock().isVisible());
    EXPECT_GE(Dock().width(), Frame().width() / 2);
    QTreeView* pView = Dock().GetView();
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        const QRect cell = pView->visualRect(Dock().GetModel().index(1, nColumn));
        EXPECT_GE(cell.width(), 30) << nColumn;
        EXPECT_LT(cell.left(), pView->viewport()->width() - 30) << nColumn;
    }
}

TEST_F(CFindReplace, NextAndPreviousGoAcrossObjectsAndWrap)
{
    // Typed but not yet stored: the search must see it.
    ASSERT_TRUE(Focus(Body()));
    Body().moveCursor(QTextCursor::End);
    QTest::keyClicks(&Body(), " A river.");
    OpenDialog(Qt::Key_F, QStringLiteral("river"));
    PressFind();
    // From the caret at the end of the root's text, the next is the bank's title.
    EXPECT_EQ(Shown(), "bank title 0 River");
    EXPECT_EQ(Dock().GetModel().rowCount(), 6);

    std::vector<std::string> steps;
    for (int i = 0; i < 4; ++i) {
        Key(Qt::Key_F3);
        steps.push_back(Shown());
    }
    EXPECT_EQ(steps,
        (std::vector<std::string> {
            "bank text 7 river", "bank text 21 river", "river-walk tag", "Index text 4 river" }));
    EXPECT_EQ(
        Frame().StatusMessage(), QStringLiteral("Passed the end of the project; continued from the start."));

    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Shown(), "river-walk tag");
    EXPECT_EQ(
        Frame().StatusMessage(), QStringLiteral("Passed the start of the project; continued from the end."));
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Shown(), "bank text 21 river");
    // The typed words reached the object and stayed in the editor.
    EXPECT_EQ(m_pRoot->m_strText, "The river flows. A river.");
    Key(Qt::Key_F3);
    Key(Qt::Key_F3);
    Key(Qt::Key_F3);
    EXPECT_EQ(Shown(), "Index text 19 river");
}

TEST_F(CFindReplace, ReplaceAllCountsMarksModifiedAndKeepsTagsValid)
{
    ASSERT_TRUE(Focus(Body()));
    Body().moveCursor(QTextCursor::End);
    QTest::keyClicks(&Body(), " A river.");
    Doc().SetModifiedFlag(false);
    OpenDialog(Qt::Key_H, QStringLiteral("river"));
    ASSERT_TRUE(Control<QLineEdit>("replaceText")->isVisible());
    QTest::keyClicks(Control<QLineEdit>("replaceText"), QStringLiteral("wide stream"));
    ASSERT_TRUE(Control<QRadioButton>("scopeAll")->isChecked());
    QTest::mouseClick(Control<QPushButton>("replaceAllButton"), Qt::LeftButton);

    ASSERT_EQ(m_ui.m_messages.size(), 1U);
    const char* const kReport = "Replaced 5 occurrences in 2 objects. 1 tag was left unchanged: the result "
                                "would not be a valid tag.";
    EXPECT_EQ(m_ui.m_messages[0].strText, kReport);
    EXPECT_EQ(Dialog().GetResult(), QString::fromLatin1(kReport));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(m_pRoot->m_strText, "The wide stream flows. A wide stream.");
    EXPECT_EQ(m_pBank->m_strTitle, "wide stream bank");
    EXPECT_EQ(m_pBank->m_strText, "by the wide stream\r\nand the wide stream");
    EXPECT_EQ(m_hWalk->GetLabel(), "river-walk");
    // The editor shows the new text: a later store keeps it.
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("The wide stream flows. A wide stream."));

    // A valid tag is replaced and the tree shows it.
    Control<QLineEdit>("replaceText")->setText(QStringLiteral("stream"));
    Control<QCheckBox>("lookInTexts")->setChecked(false);
    Control<QCheckBox>("lookInTitles")->setChecked(false);
    QTest::mouseClick(Control<QPushButton>("replaceAllButton"), Qt::LeftButton);
    EXPECT_EQ(m_hWalk->GetLabel(), "stream-walk");
    EXPECT_EQ(Tree().GetModel().index(2, 0, Tree().GetModel().index(0, 0)).data().toString(),
        QStringLiteral("stream-walk"));
}

TEST_F(CFindReplace, ReplaceAllIsOneUndoStep)
{
    OpenDialog(Qt::Key_H, QStringLiteral("river"));
    QTest::keyClicks(Control<QLineEdit>("replaceText"), QStringLiteral("stream"));
    QTest::mouseClick(Control<QPushButton>("replaceAllButton"), Qt::LeftButton);
    ASSERT_EQ(m_hWalk->GetLabel(), "stream-walk");
    QTest::mouseClick(Control<QPushButton>("closeButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    ASSERT_TRUE(Focus(Tree()));
    Frame().UpdateCommandUI();
    EXPECT_EQ(Frame().GetAction(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Replace All"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_pRoot->m_strText, "The river flows.");
    EXPECT_EQ(m_pBank->m_strTitle, "River bank");
    EXPECT_EQ(m_pBank->m_strText, "by the river\r\nand the river");
    EXPECT_EQ(m_hWalk->GetLabel(), "river-walk");
    EXPECT_FALSE(Doc().IsModified());
    // The editors show the texts that came back.
    EXPECT_EQ(
        Body().toPlainText(), QString::fromLatin1(Doc().m_pCurrent->m_strText.c_str()).replace("\r\n", "\n"));

    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_pRoot->m_strText, "The stream flows.");
    EXPECT_EQ(m_pBank->m_strText, "by the stream\r\nand the stream");
    EXPECT_EQ(m_hWalk->GetLabel(), "stream-walk");
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(CFindReplace, ReplaceInTheCurrentObjectOneAtATime)
{
    Tree().SelectItem(Doc().m_tree.FindItem(m_pBank));
    OpenDialog(Qt::Key_H, QStringLiteral("river"));
    QTest::keyClicks(Control<QLineEdit>("replaceText"), QStringLiteral("sea"));
    QTest::mouseClick(Control<QRadioButton>("scopeCurrent"), Qt::LeftButton);
    auto* pReplace = Control<QPushButton>("replaceButton");
    // The first press finds, each further one replaces and finds the next.
    QTest::mouseClick(pReplace, Qt::LeftButton);
    EXPECT_EQ(Shown(), "bank title 0 River");
    EXPECT_FALSE(Doc().IsModified());
    QTest::mouseClick(pReplace, Qt::LeftButton);
    EXPECT_EQ(m_pBank->m_strTitle, "sea bank");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Shown(), "bank text 7 river");
    QTest::mouseClick(pReplace, Qt::LeftButton);
    QTest::mouseClick(pReplace, Qt::LeftButton);
    EXPECT_EQ(m_pBank->m_strText, "by the sea\r\nand the sea");
    EXPECT_EQ(Dialog().GetResult(), QStringLiteral("Replaced 1 occurrence; no more matches."));
    // Other objects keep theirs.
    EXPECT_EQ(m_pRoot->m_strText, "The river flows.");
}

TEST_F(CFindReplace, HighlightingColoursWithoutChangingTheText)
{
    m_pRoot->m_strText = "<A HREF=\"x.htm\">go</A> &amp; [$i] <!-- note -->\r\nplain";
    Doc().UpdateAllViews(nullptr, HINT_RELOAD);
    Doc().SetModifiedFlag(false);
    const QTextBlock block = Body().document()->firstBlock();
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    const auto colourAt = [&](int nPosition) {
        for (const QTextLayout::FormatRange& range : formats) {
            if (nPosition >= range.start && nPosition < range.start + range.length)
                return range.format.foreground().color();
        }
        return QColor();
    };
    const QColor tag = colourAt(0), attribute = colourAt(3), value = colourAt(8), reference = colourAt(23),
                 macro = colourAt(29), comment = colourAt(34);
    for (const QColor& color : { tag, attribute, value, reference, macro, comment })
        EXPECT_TRUE(color.isValid());
    EXPECT_NE(tag, attribute);
    EXPECT_NE(attribute, value);
    EXPECT_NE(value, reference);
    EXPECT_NE(reference, macro);
    EXPECT_FALSE(colourAt(17).isValid()); // "go"
    EXPECT_TRUE(block.next().layout()->formats().isEmpty());

    // Focus in and out (the page colours come and go) re-colours only.
    ASSERT_TRUE(Focus(Body()));
    ASSERT_TRUE(Focus(Tree()));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(m_pRoot->m_strText, "<A HREF=\"x.htm\">go</A> &amp; [$i] <!-- note -->\r\nplain");
    EXPECT_FALSE(Body().document()->isUndoAvailable());
}

} // namespace
