#pragma once

#include <memory>
#include <vector>

#include "model/CTreeBranch.h"
#include "model/CTreeItem.h"

class ISiteTreeObserver;

// Where a new item goes among its siblings.
enum class ETreeInsert {
    First,
    Last,
    // At its place in the order of tags, compared without regard to ASCII
    // case; an equal tag goes after the existing equal ones.
    Sort,
};

// A place in a site tree: under hParent (null: the top level), right after
// hAfter (null: first).
struct CTreePlace {
    HTREEITEM hParent = nullptr;
    HTREEITEM hAfter = nullptr;
};

// The hierarchy of the site: items in order, each owning its object. The tree
// view shows it, the commands edit it, the generator and the project file walk
// it. Several top-level items may exist (odd files); the first is the root.
class CSiteTree {
public:
    CSiteTree();
    ~CSiteTree();
    CSiteTree(const CSiteTree&) = delete;
    CSiteTree& operator=(const CSiteTree&) = delete;

    HTREEITEM GetRootItem() const { return m_top.m_pFirstChild; }
    static HTREEITEM GetParentItem(HTREEITEM hItem) { return hItem->GetParent(); }
    static HTREEITEM GetChildItem(HTREEITEM hItem) { return hItem->GetFirstChild(); }
    static HTREEITEM GetNextSiblingItem(HTREEITEM hItem) { return hItem->GetNextSibling(); }
    static HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) { return hItem->GetPrevSibling(); }
    static CNode* GetItemData(HTREEITEM hItem) { return hItem->GetNode(); }
    static const CString& GetItemText(HTREEITEM hItem) { return hItem->GetLabel(); }
    // Number of parent steps to the top (a top-level item has level 0).
    static int GetLevel(HTREEITEM hItem);
    // The position of an item among its siblings, from 0.
    static int GetRow(HTREEITEM hItem);
    // The next item of a pre-order walk, or null at the end.
    static HTREEITEM GetNextPreOrder(HTREEITEM hItem);

    // Where an item stands now.
    static CTreePlace PlaceOf(HTREEITEM hItem) { return { hItem->GetParent(), hItem->GetPrevSibling() }; }
    // The child of hParent (null: the top level) after which a new item with
    // this label goes in the order of tags; null for the first place.
    HTREEITEM SortedAfter(HTREEITEM hParent, const CString& label);

    size_t GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    void SetItemText(HTREEITEM hItem, const CString& label);
    // Kept for the view; observers are not told.
    static void SetExpanded(HTREEITEM hItem, bool bExpanded) { hItem->m_bExpanded = bExpanded; }
    // Tells the observers that an item's object changed in a way they show
    // (its type, and so its picture).
    void NotifyItemChanged(HTREEITEM hItem);

    // Inserts a new item owning pNode under hParent (null: the top level).
    HTREEITEM InsertItem(CString label, std::unique_ptr<CNode> pNode, HTREEITEM hParent, ETreeInsert where);
    // Inserts directly after hAfter, a child of hParent.
    HTREEITEM InsertItemAfter(
        CString label, std::unique_ptr<CNode> pNode, HTREEITEM hParent, HTREEITEM hAfter);

    // Takes the object out of its item, so that it survives the item's
    // deletion (moving a branch re-creates items around the same objects).
    std::unique_ptr<CNode> ReleaseItemData(HTREEITEM hItem);

    // Takes an item with its subtree out of the tree, keeping their objects;
    // observers hear of it as of a deletion, but no object is deleted.
    CTreeBranch DetachItem(HTREEITEM hItem);
    // Puts a branch back at a place; observers hear of one inserted item.
    HTREEITEM AttachItem(CTreeBranch branch, const CTreePlace& place);

    // Deletes an item with its subtree and the objects they still own.
    void DeleteItem(HTREEITEM hItem);
    void DeleteAllItems();

    // Exchanges the whole hierarchy with another tree; observers stay.
    void Swap(CSiteTree& other);

    // The item that owns pNode, or null.
    HTREEITEM FindItem(const CNode* pNode) const;

    void AddObserver(ISiteTreeObserver* pObserver);
    void RemoveObserver(ISiteTreeObserver* pObserver);

private:
    HTREEITEM Link(CTreeItem* pNew, CTreeItem* pParent, CTreeItem* pAfter, size_t nItems);
    void Unlink(HTREEITEM hItem);
    CTreeItem* ParentOrTop(HTREEITEM hParent) { return hParent != nullptr ? hParent : &m_top; }
    void DeleteSubtree(CTreeItem* pItem);

    CTreeItem m_top;
    size_t m_nCount = 0;
    std::vector<ISiteTreeObserver*> m_observers;
};
