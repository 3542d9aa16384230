// The project's undo history: every kind of step undone and redone in the
// running program from the keys, byte for byte; a long random sequence
// undone to the start and redone to the end; the editors' own undo first.
#include <QAccessible>
#include <map>

#include "GuiFixture.h"
#include "model/TreeDialogs.h"
#include "support/CRandomSteps.h"
#include "tree/CSiteTreeModel.h"
#include "undo/CUndoHistory.h"

namespace {

std::string Bytes(CPagewellDoc& doc)
{
    return CRandomSteps::Bytes(doc);
}

TEST(CUndoHistory, RandomStepsUndoToTheStartAndRedoToTheEndByteForByte)
{
    CRandomSteps steps(20261209);
    CPagewellDoc doc(steps);
    CUndoHistory history(doc);
    doc.m_pHistory = &history;
    steps.Attach(doc);
    doc.m_pCurrent = doc.CreateRootPage()->GetNode();
    const QUndoStack& stack = history.GetStack();

    // The state after each step, by the stack's index.
    std::vector<std::string> states { Bytes(doc) };
    std::map<CRandomSteps::EKind, int> made;
    for (int i = 0; i < 300; ++i) {
        // Some objects, every kind a few times, then at random.
        const bool bCycle = i < 65;
        const auto kind = static_cast<CRandomSteps::EKind>(i < 20 ? 0 : i % CRandomSteps::KindCount);
        if (bCycle)
            steps.Step(kind);
        else
            steps.Step();
        const std::string now = Bytes(doc);
        if (static_cast<size_t>(stack.index()) == states.size()) {
            states.push_back(now);
            if (bCycle)
                ++made[kind];
        } else {
            // A change that is not a step would be lost to undo.
            ASSERT_EQ(now, states.back()) << "step " << i;
        }
        if (i == 150)
            history.Saved();
    }
    EXPECT_GT(states.size(), 250u);
    EXPECT_EQ(made.size(), static_cast<size_t>(CRandomSteps::KindCount));
    const int nSaved = stack.cleanIndex();

    while (history.CanUndo()) {
        history.Undo();
        ASSERT_EQ(Bytes(doc), states[static_cast<size_t>(stack.index())]) << "undone to " << stack.index();
        EXPECT_EQ(doc.IsModified(), stack.index() != nSaved);
    }
    EXPECT_EQ(stack.index(), 0);
    while (history.CanRedo()) {
        history.Redo();
        ASSERT_EQ(Bytes(doc), states[static_cast<size_t>(stack.index())]) << "redone to " << stack.index();
    }
    EXPECT_EQ(Bytes(doc), states.back());
}

// Index > news (item), about
class CUndo : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        HTREEITEM hRoot = Doc().m_tree.GetRootItem();
        m_hNews = AddItem(hRoot, "news", NODE_PAGE, "news text");
        m_hItem = AddItem(m_hNews, "item", NODE_PARAGRAPH, "item text");
        m_hAbout = AddItem(hRoot, "about", NODE_PAGE, "about text");
        Tree().expandAll();
        Tree().SelectItem(m_hNews);
    }

    void Key(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(&widget, key, modifiers);
    }
    QString UndoMenuText() const { return Frame().GetAction(ID_EDIT_UNDO)->text(); }
    QModelIndex IndexOf(HTREEITEM h) const { return Tree().GetModel().IndexOf(h); }
    template <typename T> void Answer(std::function<void(T&)> edit)
    {
        m_ui.m_onDialog = [edit](CDialogRecord& record) {
            if (auto* pRecord = dynamic_cast<T*>(&record))
                edit(*pRecord);
        };
    }

    HTREEITEM m_hNews = nullptr;
    HTREEITEM m_hItem = nullptr;
    HTREEITEM m_hAbout = nullptr;
};

TEST_F(CUndo, EveryKindOfStepUndoesAndRedoesFromTheKeys)
{
    struct CKind {
        const char* pszUndo; // the Undo item's words
        std::function<void()> make;
        QWidget* pKeys; // where Ctrl+Z and Ctrl+Y are pressed
    };
    const CKind kinds[] = {
        { "Insert fresh",
            [&] {
                Answer<CInsertObjectDlg>([](CInsertObjectDlg& dlg) { dlg.m_strTag = "fresh"; });
                Frame().RunCommand(ID_INSERT_PAGE);
            },
            &Tree() },
        { "Delete news",
            [&] {
                Tree().SelectItem(m_hNews);
                Key(Tree(), Qt::Key_Delete, Qt::NoModifier);
            },
            &Tree() },
        { "Convert news",
            [&] {
                Tree().SelectItem(m_hNews);
                Answer<CSelectTypeDlg>([](CSelectTypeDlg& dlg) { dlg.m_nNewType = NODE_PARAGRAPH; });
                Frame().RunCommand(ID_OBJECT_CONVERT);
            },
            &Tree() },
        { "Move about",
            [&] {
                Answer<CInsertPositionDlg>([](CInsertPositionDlg& dlg) { dlg.m_nPosition = POS_CHILD; });
                const QPoint dragFrom = Tree().visualRect(IndexOf(m_hAbout)).center();
                QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, dragFrom);
                QTest::mouseMove(
                    Tree().viewport(), dragFrom + QPoint(QApplication::startDragDistance() + 2, 0));
                const QPoint to = Tree().visualRect(IndexOf(m_hNews)).center();
                QTest::mouseMove(Tree().viewport(), to);
                QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, to);
            },
            &Tree() },
        { "Rename about", [&] { Tree().GetModel().setData(IndexOf(m_hAbout), QStringLiteral("About2")); },
            &Tree() },
        { "Properties of news",
            [&] {
                Tree().SelectItem(m_hNews);
                Answer<CDocInfo>([](CDocInfo& info) {
                    info.m_clrBg = 0x123456;
                    info.m_bBannersTouched = 1;
                });
                Frame().RunCommand(ID_OBJECT_PROPERTIES);
            },
            &Tree() },
        { "Document properties",
            [&] {
                Answer<CDocProperties>([](CDocProperties& props) {
                    props.m_strAuthor = "Someone";
                    props.m_clrCustom[3] = 0x00AA00;
                });
                Frame().RunCommand(ID_DOC_PROPERTIES);
            },
            &Tree() },
        // Without typing to undo, the editor leaves the keys to the project.
        { "Format text of item",
            [&] {
                Tree().SelectItem(m_hItem);
                ASSERT_TRUE(Focus(Body()));
                Frame().RunCommand(ID_STYLE_H2);
            },
            &Body() },
        { "Edit title of item",
            [&] {
                Tree().SelectItem(m_hItem);
                ASSERT_TRUE(Focus(Title()));
                QTest::keyClicks(&Title(), "more ");
                ASSERT_TRUE(Focus(Tree()));
            },
            &Tree() },
    };
    for (const CKind& kind : kinds) {
        SCOPED_TRACE(kind.pszUndo);
        m_ui.m_onDialog = nullptr;
        ASSERT_TRUE(Focus(Tree()));
        const std::string before = Bytes(Doc());
        kind.make();
        const std::string after = Bytes(Doc());
        EXPECT_NE(after, before);
        // The menu follows the focus once the events are handled.
        const QString undoText = QStringLiteral("&Undo %1").arg(QString::fromLatin1(kind.pszUndo));
        EXPECT_TRUE(QTest::qWaitFor([&] { return UndoMenuText() == undoText; }, 2000))
            << UndoMenuText().toStdString();

        ASSERT_TRUE(Focus(*kind.pKeys));
        Key(*kind.pKeys, Qt::Key_Z);
        EXPECT_EQ(Bytes(Doc()), before);
        Key(*kind.pKeys, Qt::Key_Y);
        EXPECT_EQ(Bytes(Doc()), after);
        Key(*kind.pKeys, Qt::Key_Z);
        EXPECT_EQ(Bytes(Doc()), before);
        Key(*kind.pKeys, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Bytes(Doc()), after);
        // The editors show the current object as it is now.
        ASSERT_NE(Doc().m_pCurrent, nullptr);
        EXPECT_EQ(Body().toPlainText().toStdString(), std::string(Doc().m_pCurrent->m_strText));
        EXPECT_EQ(Tree().GetSelectedItem(), Doc().GetCurrentItem());
        // The next kind starts from the same outline.
        Key(*kind.pKeys, Qt::Key_Z);
        EXPECT_EQ(Bytes(Doc()), before);
    }
}

TEST_F(CUndo, ADeletedBranchComesBackWholeAndOpen)
{
    CNode* pItem = CSiteTree::GetItemData(m_hItem);
    Key(Tree(), Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(Doc().m_tree.FindItem(pItem), nullptr);
    Key(Tree(), Qt::Key_Z);
    EXPECT_EQ(Doc().m_tree.FindItem(pItem), m_hItem);
    EXPECT_TRUE(Tree().isExpanded(IndexOf(m_hNews)));
    EXPECT_EQ(Tree().GetSelectedItem(), m_hNews);
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("news text"));
}

TEST_F(CUndo, UndoWaitsForTheEndOfADrag)
{
    Tree().GetModel().setData(IndexOf(m_hAbout), QStringLiteral("About2"));
    const QPoint from = Tree().visualRect(IndexOf(m_hAbout)).center();
    QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Tree().viewport(), from + QPoint(QApplication::startDragDistance() + 2, 0));
    ASSERT_TRUE(Tree().IsDragging());
    Key(Tree(), Qt::Key_Z);
    EXPECT_EQ(m_hAbout->GetLabel(), "About2");
    Key(Tree(), Qt::Key_Escape, Qt::NoModifier);
    Key(Tree(), Qt::Key_Z);
    EXPECT_EQ(m_hAbout->GetLabel(), "about");
}

TEST_F(CUndo, TypingIsUndoneInTheEditorFirst)
{
    Answer<CInsertObjectDlg>([](CInsertObjectDlg& dlg) { dlg.m_strTag = "fresh"; });
    Frame().RunCommand(ID_INSERT_PAGE);
    const size_t nItems = Doc().m_tree.GetCount();
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "abc");
    Key(Body(), Qt::Key_Z);
    // The editor took back its typing; the project kept its step.
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("news text"));
    EXPECT_EQ(Doc().m_tree.GetCount(), nItems);
    while (Body().document()->isUndoAvailable())
        Key(Body(), Qt::Key_Z);
    Key(Body(), Qt::Key_Z);
    EXPECT_EQ(Doc().m_tree.GetCount(), nItems - 1);
    EXPECT_EQ(CSiteTree::GetItemData(m_hNews)->m_strText, "news text");
}

// The title as the desktop shows it, "[*]" resolved (a screen reader reads
// the same).
QString ShownTitle(QWidget& window)
{
    return QAccessible::queryAccessibleInterface(&window)->text(QAccessible::Name);
}

TEST_F(CUndo, TheSavedStateIsTheCleanOneAndNewEmptiesTheHistory)
{
    const std::string path = Path("site.pwl");
    m_ui.m_savePaths.push_back(path);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE_AS));
    ASSERT_FALSE(Doc().IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("site.pwl - Pagewell"));
    Tree().GetModel().setData(IndexOf(m_hAbout), QStringLiteral("About2"));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("site.pwl* - Pagewell"));
    Key(Tree(), Qt::Key_Z);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("site.pwl - Pagewell"));
    Key(Tree(), Qt::Key_Y);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Frame().isWindowModified());
    // Typing marks it at once, saving clears it.
    ASSERT_TRUE(Focus(Body()));
    QTest::keyClicks(&Body(), "x");
    EXPECT_TRUE(Frame().isWindowModified());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_FALSE(Frame().isWindowModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("site.pwl - Pagewell"));

    ASSERT_TRUE(Doc().DoFileNew());
    EXPECT_FALSE(m_pApp->GetHistory().CanUndo());
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().GetAction(ID_EDIT_UNDO)->isEnabled());
}

} // namespace
