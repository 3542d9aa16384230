#include <gtest/gtest.h>

#include "model/CBranchMove.h"
#include "model/CSiteTree.h"
#include "model/CTreeCommands.h"
#include "model/CTreeStream.h"
#include "platform/CArchive.h"

namespace {

// R: c(c2 c1) a(a2(z y) a1) b; the lists are out of tag order on purpose.
struct CFixture {
    CSiteTree tree;
    HTREEITEM hR, hC, hA, hA2, hB;

    CFixture()
    {
        hR = Add("R", nullptr);
        hC = Add("c", hR);
        Add("c2", hC);
        Add("c1", hC);
        hA = Add("a", hR);
        hA2 = Add("a2", hA);
        Add("z", hA2);
        Add("y", hA2);
        Add("a1", hA);
        hB = Add("b", hR);
    }
    HTREEITEM Add(const char* pszTag, HTREEITEM hParent)
    {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_strText = std::string("text of ") + pszTag;
        return tree.InsertItem(pszTag, std::move(pNode), hParent, ETreeInsert::Last);
    }
    std::string Bytes()
    {
        std::string bytes;
        CArchive ar(bytes);
        CTreeStream::Write(ar, tree);
        return bytes;
    }
    std::string Open()
    {
        std::string out;
        for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            out += h->IsExpanded() ? h->GetLabel() + " " : "";
        return out;
    }
};

TEST(CTreeBranch, ADetachedBranchComesBackWithTheSameItemsAndObjects)
{
    CFixture f;
    CSiteTree::SetExpanded(f.hA, true);
    CSiteTree::SetExpanded(f.hA2, true);
    const std::string before = f.Bytes();
    CNode* pNode = f.hA2->GetNode();
    const CTreePlace place = CSiteTree::PlaceOf(f.hA);

    CTreeBranch branch = f.tree.DetachItem(f.hA);
    EXPECT_EQ(f.tree.GetCount(), 5u);
    EXPECT_EQ(f.tree.FindItem(pNode), nullptr);
    EXPECT_EQ(f.tree.AttachItem(std::move(branch), place), f.hA);

    EXPECT_TRUE(branch.IsEmpty());
    EXPECT_EQ(f.tree.GetCount(), 10u);
    EXPECT_EQ(f.tree.FindItem(pNode), f.hA2);
    EXPECT_EQ(f.Open(), "a a2 ");
    EXPECT_EQ(f.Bytes(), before);
}

TEST(CTreeBranch, AMoveMatchesTheDropAndUndoesExactly)
{
    struct CCase {
        const char* pszDrag;
        const char* pszTarget;
        int position;
    };
    const CCase cases[] = {
        { "a", "b", POS_CHILD },
        { "a", "c", POS_BEFORE },
        { "a", "c", POS_AFTER },
        { "b", "c", POS_BEFORE }, // to the first place
        { "c", "a", POS_BEFORE }, // next to itself
        { "a2", "b", POS_AFTER },
    };
    auto find = [](CSiteTree& tree, const char* pszTag) {
        for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (h->GetLabel() == pszTag)
                return h;
        }
        return HTREEITEM {};
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(std::string(c.pszDrag) + " to " + c.pszTarget + " " + std::to_string(c.position));
        CFixture moved;
        CFixture dropped;
        for (HTREEITEM h = moved.tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            CSiteTree::SetExpanded(h, true);
        const std::string before = moved.Bytes();
        const std::string open = moved.Open();

        // The drop re-creates the items; the move keeps them.
        HTREEITEM hDrag = find(dropped.tree, c.pszDrag);
        CTreeCommands::CopyBranch(dropped.tree, hDrag, find(dropped.tree, c.pszTarget), c.position);
        dropped.tree.DeleteItem(hDrag);
        CBranchMove move(find(moved.tree, c.pszDrag), find(moved.tree, c.pszTarget), c.position);
        move.Do(moved.tree);
        EXPECT_EQ(moved.Bytes(), dropped.Bytes());
        for (HTREEITEM h : CTreeBranch::Walk(move.GetItem()))
            EXPECT_FALSE(h->IsExpanded()) << h->GetLabel();

        move.Undo(moved.tree);
        EXPECT_EQ(moved.Bytes(), before);
        EXPECT_EQ(moved.Open(), open);
        move.Do(moved.tree);
        EXPECT_EQ(moved.Bytes(), dropped.Bytes());
    }
}

} // namespace
