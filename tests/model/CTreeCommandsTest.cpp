#include <gtest/gtest.h>

#include "model/CPagewellDoc.h"
#include "model/CTreeCommands.h"
#include "model/ITreeSelection.h"
#include "platform/CClock.h"
#include "platform/CView.h"
#include "support/CScriptedUserInterface.h"

namespace {

// The tree view's selection as the commands see it: selecting runs the
// store/reload protocol.
class CSelectionStandIn : public ITreeSelection {
public:
    explicit CSelectionStandIn(CPagewellDoc& doc)
        : m_doc(doc)
    { }
    HTREEITEM GetSelectedItem() const override { return m_hSelected; }
    void SelectItem(HTREEITEM hItem) override
    {
        m_doc.UpdateAllViews(nullptr, HINT_STORE);
        m_hSelected = hItem;
        m_doc.m_pCurrent = hItem->GetNode();
        m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
    }
    CPagewellDoc& m_doc;
    HTREEITEM m_hSelected = nullptr;
};

class TreeCommands : public ::testing::Test {
protected:
    TreeCommands()
    {
        m_doc.DoFileNew();
        m_ui.m_dialogs.clear();
        m_selection.SelectItem(Root());
    }

    HTREEITEM Root() { return m_doc.m_tree.GetRootItem(); }

    HTREEITEM Add(const char* tag, HTREEITEM hParent, uint32_t type = NODE_PAGE)
    {
        auto pNode = std::make_unique<CNode>(&m_doc);
        pNode->m_nType = type;
        return m_doc.m_tree.InsertItem(tag, std::move(pNode), hParent, ETreeInsert::Last);
    }

    HTREEITEM Find(const std::string& tag)
    {
        for (HTREEITEM h = Root(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (h->GetLabel() == tag)
                return h;
        }
        return nullptr;
    }

    std::string Outline()
    {
        std::string out;
        for (HTREEITEM h = Root(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            out += std::string(static_cast<size_t>(CSiteTree::GetLevel(h)), '.') + h->GetLabel() + " ";
        return out;
    }

    // Answers the next insert dialog with a tag and position, recording what it offered.
    void AnswerInsert(const char* tag, int position)
    {
        m_ui.m_onDialog = [this, tag, position](CDialogRecord& record) {
            auto& dlg = static_cast<CInsertObjectDlg&>(record);
            m_nOfferedEnable = dlg.m_nEnable;
            m_nOfferedPosition = dlg.m_nPosition;
            dlg.m_strTag = tag;
            if (position >= 0)
                dlg.m_nPosition = position;
        };
    }

    CScriptedUserInterface m_ui;
    CPagewellDoc m_doc { m_ui };
    CSelectionStandIn m_selection { m_doc };
    CTreeCommands m_commands { m_doc, m_selection };
    int m_nOfferedEnable = -1;
    int m_nOfferedPosition = -1;
};

TEST_F(TreeCommands, InsertUnderTheRootOffersOnlyAsChild)
{
    const CClock::CScopedFake clock(4242);
    AnswerInsert("news", -1);
    m_commands.InsertObject(NODE_PARAGRAPH);
    EXPECT_EQ(m_nOfferedEnable, 1);
    EXPECT_EQ(m_nOfferedPosition, POS_CHILD);
    EXPECT_EQ(Outline(), "Index .news ");
    const CNode& node = *Find("news")->GetNode();
    EXPECT_EQ(node.m_nType, NODE_PARAGRAPH);
    EXPECT_EQ(node.m_tStamp, 4242);
    EXPECT_EQ(node.m_info.m_bNew, m_doc.m_props.m_bNew) << "an inserted object takes the project defaults";
    EXPECT_EQ(m_selection.m_hSelected, Root()) << "the selection stays";
    EXPECT_EQ(m_doc.m_pCurrent, Root()->GetNode());
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(TreeCommands, InsertPlacesByPosition)
{
    HTREEITEM hB = Add("b", Root());
    Add("d", Root());
    struct {
        const char* tag;
        const char* select;
        int position;
        const char* outline;
    } cases[] = {
        { "c", "Index", POS_CHILD, "Index .b .c .d " },
        { "a", "Index", POS_CHILD, "Index .a .b .c .d " },
        { "x", "a", POS_BEFORE, "Index .x .a .b .c .d " }, // before the first child: first
        { "y", "c", POS_BEFORE,
            "Index .x .a .b .y .c .d " }, // before a later one: after its previous sibling
        { "z", "b", POS_AFTER, "Index .x .a .b .z .y .c .d " },
        { "k", "b", POS_CHILD, "Index .x .a .b ..k .z .y .c .d " },
    };
    (void)hB;
    for (const auto& c : cases) {
        m_selection.m_hSelected = Find(c.select);
        m_doc.m_pCurrent = m_selection.m_hSelected->GetNode();
        AnswerInsert(c.tag, c.position);
        m_commands.InsertObject(NODE_PAGE);
        EXPECT_EQ(Outline(), c.outline) << c.tag;
    }
}

TEST_F(TreeCommands, InsertNextToALinkOffersBeforeAndAfter)
{
    HTREEITEM hLink = Add("l", Root(), NODE_LINK);
    m_selection.SelectItem(hLink);
    AnswerInsert("m", -1);
    m_commands.InsertObject(NODE_LINK);
    EXPECT_EQ(m_nOfferedEnable, 6);
    EXPECT_EQ(m_nOfferedPosition, POS_AFTER);
    EXPECT_EQ(Outline(), "Index .l .m ");
    EXPECT_EQ(Find("m")->GetNode()->m_strTitle, "Untitled\r\nhttp://");
}

TEST_F(TreeCommands, CancelOrAnEmptyTagInsertsNothing)
{
    AnswerInsert("", -1);
    m_commands.InsertObject(NODE_PAGE);
    m_ui.m_onDialog = [](CDialogRecord& record) { static_cast<CInsertObjectDlg&>(record).m_strTag = "x"; };
    m_ui.m_dialogAnswers = { IDCANCEL };
    m_commands.InsertObject(NODE_PAGE);
    EXPECT_EQ(Outline(), "Index ");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST(TagFilter, CutsAtTheFirstRefusedCharacterAnywhere)
{
    struct {
        const char* typed;
        const char* kept;
        bool cut;
    } cases[] = {
        { "abc_-09XYZ", "abc_-09XYZ", false },
        { "abc ", "abc", true },
        { "hello world and more", "hello", true },
        { "a.b c", "a", true },
        { "\xE9t\xE9", "", true },
        // Past the 32nd character too: the tag names a file.
        { "abcdefghijklmnopqrstuvwxyzabcdefghijklm opq", "abcdefghijklmnopqrstuvwxyzabcdefghijklm", true },
        { "abcdefghijklmnopqrstuvwxyzabcdefghijklm/../x", "abcdefghijklmnopqrstuvwxyzabcdefghijklm", true },
        { "abcdefghijklmnopqrstuvwxyzabcde f", "abcdefghijklmnopqrstuvwxyzabcde", true },
    };
    for (const auto& c : cases) {
        CString text = c.typed;
        EXPECT_EQ(CTreeCommands::FilterTag(text), c.cut) << c.typed;
        EXPECT_EQ(text, c.kept) << c.typed;
    }
}

TEST_F(TreeCommands, DeleteSelectsTheNeighbourAndMarksModified)
{
    HTREEITEM hA = Add("a", Root());
    Add("a1", hA);
    HTREEITEM hB = Add("b", Root());
    m_selection.SelectItem(hA);
    m_commands.DeleteCurrent();
    EXPECT_EQ(m_ui.m_messages.back().strText, "Delete the current object and all it's sub-objects?");
    EXPECT_EQ(m_ui.m_messages.back().buttons, EMessageButtons::YesNo);
    EXPECT_EQ(Outline(), "Index .b ");
    EXPECT_EQ(m_selection.m_hSelected, hB) << "the next sibling";
    EXPECT_EQ(m_doc.m_pCurrent, hB->GetNode());

    m_commands.DeleteCurrent();
    EXPECT_EQ(m_selection.m_hSelected, Root()) << "the last child gives way to its parent";
    EXPECT_EQ(m_doc.m_pCurrent, Root()->GetNode());
}

TEST_F(TreeCommands, TheRootAndANoStillMarkModified)
{
    m_commands.DeleteCurrent();
    EXPECT_EQ(m_ui.m_messages.back().strText, "You can't delete the root object.");
    EXPECT_EQ(m_ui.m_messages.back().strCaption, "Pagewell");
    EXPECT_TRUE(m_doc.IsModified());

    m_doc.SetModifiedFlag(false);
    m_selection.SelectItem(Add("a", Root()));
    m_ui.m_messageAnswers = { IDNO };
    m_commands.DeleteCurrent();
    EXPECT_EQ(Outline(), "Index .a ");
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(TreeCommands, ConvertOffersTheTypesTheTreeAllows)
{
    HTREEITEM hA = Add("a", Root());
    Add("a1", hA);
    HTREEITEM hB = Add("b", Root(), NODE_PARAGRAPH);
    struct {
        HTREEITEM hItem;
        int enable;
    } cases[] = { { Root(), 1 }, { hA, 3 }, { hB, 7 } };
    for (const auto& c : cases) {
        m_selection.SelectItem(c.hItem);
        int offered = -1;
        m_ui.m_onDialog = [&](CDialogRecord& record) {
            auto& dlg = static_cast<CSelectTypeDlg&>(record);
            offered = dlg.m_nEnable;
            EXPECT_EQ(dlg.m_nNewType, static_cast<int>(c.hItem->GetNode()->m_nType));
            dlg.m_nNewType = NODE_LINK;
        };
        m_ui.m_dialogAnswers = { IDCANCEL };
        m_commands.OnConvert();
        EXPECT_EQ(offered, c.enable);
    }
    m_ui.m_onDialog
        = [](CDialogRecord& record) { static_cast<CSelectTypeDlg&>(record).m_nNewType = NODE_LINK; };
    m_commands.OnConvert();
    EXPECT_EQ(hB->GetNode()->m_nType, NODE_LINK);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(TreeCommands, DropsInsideOrOntoTheParentAreRefused)
{
    HTREEITEM hA = Add("a", Root());
    HTREEITEM hA1 = Add("a1", hA);
    HTREEITEM hB = Add("b", Root());
    EXPECT_TRUE(CTreeCommands::IsDropRefused(hA, nullptr));
    EXPECT_TRUE(CTreeCommands::IsDropRefused(hA, hA));
    EXPECT_TRUE(CTreeCommands::IsDropRefused(hA, hA1));
    EXPECT_TRUE(CTreeCommands::IsDropRefused(hA, Root()));
    EXPECT_FALSE(CTreeCommands::IsDropRefused(hA, hB));
    EXPECT_FALSE(CTreeCommands::IsDropRefused(hA1, Root()));
}

TEST_F(TreeCommands, AMovedBranchKeepsItsObjectsAndSortsItsChildren)
{
    HTREEITEM hP = Add("p", Root());
    Add("b", hP);
    HTREEITEM hA = Add("a", hP);
    Add("a2", hA);
    Add("a1", hA);
    HTREEITEM hQ = Add("q", Root());
    CNode* pMoved = hP->GetNode();
    pMoved->m_strText = "body";
    m_ui.m_onDialog
        = [](CDialogRecord& record) { static_cast<CInsertPositionDlg&>(record).m_nPosition = POS_AFTER; };
    ASSERT_TRUE(m_commands.MoveBranch(hP, hQ));
    EXPECT_EQ(Outline(), "Index .q .p ..a ...a1 ...a2 ..b ");
    EXPECT_EQ(Find("p")->GetNode(), pMoved);
    EXPECT_EQ(pMoved->m_strText, "body");
    EXPECT_EQ(m_doc.m_tree.GetCount(), 7u);
}

TEST_F(TreeCommands, DroppingOnARootOrLinkOffersItsPositions)
{
    HTREEITEM hA = Add("a", Root());
    HTREEITEM hL = Add("l", Root(), NODE_LINK);
    int enable = -1;
    int position = -1;
    m_ui.m_onDialog = [&](CDialogRecord& record) {
        auto& dlg = static_cast<CInsertPositionDlg&>(record);
        enable = dlg.m_nEnable;
        position = dlg.m_nPosition;
    };
    m_ui.m_dialogAnswers = { IDCANCEL, IDCANCEL };
    EXPECT_FALSE(m_commands.MoveBranch(hA, hL));
    EXPECT_EQ(enable, 6);
    EXPECT_EQ(position, POS_AFTER);
    HTREEITEM hDeep = Add("deep", hA);
    EXPECT_FALSE(m_commands.MoveBranch(hDeep, Root()));
    EXPECT_EQ(enable, 1);
    EXPECT_EQ(position, POS_CHILD);
    EXPECT_EQ(Outline(), "Index .a ..deep .l ") << "cancel moves nothing";
}

} // namespace
