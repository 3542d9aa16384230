#include <gtest/gtest.h>

#include "model/CSiteTree.h"
#include "model/ISiteTreeObserver.h"

namespace {

std::unique_ptr<CNode> NewNode()
{
    return std::make_unique<CNode>(nullptr);
}

std::string Children(HTREEITEM hParent, const CSiteTree& tree)
{
    std::string out;
    for (HTREEITEM h = hParent != nullptr ? hParent->GetFirstChild() : tree.GetRootItem(); h != nullptr;
         h = h->GetNextSibling())
        out += (out.empty() ? "" : " ") + h->GetLabel();
    return out;
}

TEST(CSiteTree, SortedInsertionIgnoresCaseAndPutsEqualTagsLast)
{
    CSiteTree tree;
    HTREEITEM hRoot = tree.InsertItem("Index", NewNode(), nullptr, ETreeInsert::Last);
    for (const char* tag : { "mike", "Alpha", "zulu", "alpha", "Mike", "beta", "ALPHA", "_x", "9" })
        tree.InsertItem(tag, NewNode(), hRoot, ETreeInsert::Sort);
    EXPECT_EQ(Children(hRoot, tree), "9 _x Alpha alpha ALPHA beta mike Mike zulu");
}

TEST(CSiteTree, InsertsFirstLastAndAfter)
{
    CSiteTree tree;
    HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    HTREEITEM hB = tree.InsertItem("B", NewNode(), hRoot, ETreeInsert::Last);
    tree.InsertItem("A", NewNode(), hRoot, ETreeInsert::First);
    tree.InsertItem("D", NewNode(), hRoot, ETreeInsert::Last);
    tree.InsertItemAfter("C", NewNode(), hRoot, hB);
    EXPECT_EQ(Children(hRoot, tree), "A B C D");
    EXPECT_EQ(tree.GetCount(), 5u);
    EXPECT_EQ(CSiteTree::GetRow(hB), 1);
    EXPECT_EQ(CSiteTree::GetLevel(hB), 1);
    EXPECT_EQ(hB->GetParent(), hRoot);
    EXPECT_EQ(hRoot->GetParent(), nullptr);
}

TEST(CSiteTree, DeletesASubtreeWithItsObjects)
{
    CSiteTree tree;
    HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    HTREEITEM hA = tree.InsertItem("A", NewNode(), hRoot, ETreeInsert::Last);
    tree.InsertItem("A1", NewNode(), hA, ETreeInsert::Last);
    tree.InsertItem("A2", NewNode(), hA, ETreeInsert::Last);
    tree.InsertItem("B", NewNode(), hRoot, ETreeInsert::Last);
    tree.DeleteItem(hA);
    EXPECT_EQ(Children(hRoot, tree), "B");
    EXPECT_EQ(tree.GetCount(), 2u);
}

TEST(CSiteTree, AReleasedObjectOutlivesItsItem)
{
    CSiteTree tree;
    HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    HTREEITEM hA = tree.InsertItem("A", NewNode(), hRoot, ETreeInsert::Last);
    CNode* pNode = hA->GetNode();
    std::unique_ptr<CNode> pKept = tree.ReleaseItemData(hA);
    tree.DeleteItem(hA);
    HTREEITEM hMoved = tree.InsertItem("A", std::move(pKept), nullptr, ETreeInsert::Last);
    EXPECT_EQ(hMoved->GetNode(), pNode);
    EXPECT_EQ(tree.FindItem(pNode), hMoved);
}

TEST(CSiteTree, PreOrderWalkVisitsEveryItemOnce)
{
    CSiteTree tree;
    HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    HTREEITEM hA = tree.InsertItem("A", NewNode(), hRoot, ETreeInsert::Last);
    tree.InsertItem("A1", NewNode(), hA, ETreeInsert::Last);
    tree.InsertItem("B", NewNode(), hRoot, ETreeInsert::Last);
    tree.InsertItem("S", NewNode(), nullptr, ETreeInsert::Last);
    std::string order;
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
        order += h->GetLabel() + " ";
    EXPECT_EQ(order, "R A A1 B S ");
}

TEST(CSiteTree, AVeryDeepTreeIsDeletedWithoutRecursion)
{
    CSiteTree tree;
    HTREEITEM h = nullptr;
    for (int i = 0; i < 200000; ++i)
        h = tree.InsertItem("d", NewNode(), h, ETreeInsert::Last);
    EXPECT_EQ(CSiteTree::GetLevel(h), 199999);
    tree.DeleteAllItems();
    EXPECT_TRUE(tree.IsEmpty());
}

class CRecorder : public ISiteTreeObserver {
public:
    void OnItemInserting(CTreeItem* pParent, int nRow) override { Add("inserting", pParent, nRow); }
    void OnItemInserted(CTreeItem* pItem) override { m_events += "inserted " + pItem->GetLabel() + ";"; }
    void OnItemRemoving(CTreeItem* pItem) override { m_events += "removing " + pItem->GetLabel() + ";"; }
    void OnItemRemoved(CTreeItem* pParent, int nRow) override { Add("removed", pParent, nRow); }
    void OnNodeDeleting(CNode* /*pNode*/) override { m_events += "node;"; }
    void OnTreeResetting() override { m_events += "resetting;"; }
    void OnTreeReset() override { m_events += "reset;"; }

    std::string m_events;

private:
    void Add(const char* what, CTreeItem* pParent, int nRow)
    {
        m_events += std::string(what) + " " + (pParent ? pParent->GetLabel() : "top") + ":"
            + std::to_string(nRow) + ";";
    }
};

TEST(CSiteTree, TellsObserversBeforeAndAfterEveryChange)
{
    CSiteTree tree;
    CRecorder recorder;
    tree.AddObserver(&recorder);
    HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    tree.InsertItem("b", NewNode(), hRoot, ETreeInsert::Sort);
    HTREEITEM hA = tree.InsertItem("a", NewNode(), hRoot, ETreeInsert::Sort);
    tree.InsertItem("a1", NewNode(), hA, ETreeInsert::Last);
    recorder.m_events.clear();
    tree.DeleteItem(hA);
    EXPECT_EQ(recorder.m_events, "removing a;node;node;removed R:0;");

    CSiteTree other;
    other.InsertItem("X", NewNode(), nullptr, ETreeInsert::Last);
    recorder.m_events.clear();
    tree.Swap(other);
    EXPECT_EQ(recorder.m_events, "resetting;reset;");
    EXPECT_EQ(tree.GetRootItem()->GetLabel(), "X");
    EXPECT_EQ(other.GetRootItem()->GetLabel(), "R");
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(other.GetCount(), 2u);
    EXPECT_EQ(tree.GetRootItem()->GetParent(), nullptr);
    tree.RemoveObserver(&recorder);
}

TEST(CSiteTree, RowsStayRightThroughAppendsDeletionsAndSwaps)
{
    // The row of a last child comes from a kept count: every change that
    // moves items must keep it right.
    CSiteTree tree;
    CRecorder recorder;
    tree.AddObserver(&recorder);
    const HTREEITEM hRoot = tree.InsertItem("R", NewNode(), nullptr, ETreeInsert::Last);
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 5; ++i)
        items.push_back(tree.InsertItem(std::to_string(i), NewNode(), hRoot, ETreeInsert::Last));
    tree.DeleteItem(items[4]); // the last
    tree.DeleteItem(items[1]); // one in the middle
    tree.InsertItem("x", NewNode(), hRoot, ETreeInsert::First);
    recorder.m_events.clear();
    tree.InsertItem("y", NewNode(), hRoot, ETreeInsert::Last);
    EXPECT_EQ(recorder.m_events, "inserting R:4;inserted y;");
    EXPECT_EQ(Children(hRoot, tree), "x 0 2 3 y");
    for (HTREEITEM h = hRoot->GetFirstChild(); h != nullptr; h = h->GetNextSibling()) {
        int walked = 0;
        for (HTREEITEM p = h->GetPrevSibling(); p != nullptr; p = p->GetPrevSibling())
            ++walked;
        EXPECT_EQ(CSiteTree::GetRow(h), walked) << h->GetLabel();
    }

    CSiteTree other;
    other.InsertItem("A", NewNode(), nullptr, ETreeInsert::Last);
    tree.Swap(other);
    recorder.m_events.clear();
    tree.InsertItem("B", NewNode(), nullptr, ETreeInsert::Last);
    EXPECT_EQ(recorder.m_events, "inserting top:1;inserted B;");
    EXPECT_EQ(CSiteTree::GetRow(other.GetRootItem()), 0);
    tree.RemoveObserver(&recorder);
}

} // namespace
