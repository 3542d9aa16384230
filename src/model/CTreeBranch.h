#pragma once

#include <vector>

#include "model/CTreeItem.h"

// A branch taken out of a site tree: its items, in their order, with their
// objects, labels and expanded state. It owns them while it is out; putting
// it back (CSiteTree::AttachItem) hands them to the tree again, so the same
// items and objects return.
class CTreeBranch {
public:
    CTreeBranch() = default;
    explicit CTreeBranch(CTreeItem* pRoot)
        : m_pRoot(pRoot)
    { }
    ~CTreeBranch();
    CTreeBranch(CTreeBranch&& other) noexcept;
    CTreeBranch& operator=(CTreeBranch&& other) noexcept;
    CTreeBranch(const CTreeBranch&) = delete;
    CTreeBranch& operator=(const CTreeBranch&) = delete;

    HTREEITEM Get() const { return m_pRoot; }
    bool IsEmpty() const { return m_pRoot == nullptr; }
    // Gives up ownership of the items.
    CTreeItem* Release();

    // The branch's items in pre-order, the root first.
    std::vector<HTREEITEM> Items() const;

    // How a branch's items stood before SortAndClose changed them: the old
    // order of every list of children it changed, and the items that were open.
    struct CShape {
        std::vector<std::vector<HTREEITEM>> orders; // each list in its old order
        std::vector<HTREEITEM> expanded;
    };
    // Gives the branch the shape of a dropped branch: the children at every
    // level in the order of their tags (compared without regard to ASCII case,
    // equal tags keeping their order), every item closed. Returns what it
    // changed, so that RestoreShape can undo it.
    CShape SortAndClose();
    void RestoreShape(const CShape& shape);

    // The items of the subtree below and at pRoot in pre-order.
    static std::vector<HTREEITEM> Walk(CTreeItem* pRoot);
    // Frees a subtree that belongs to no tree: items and objects.
    static void FreeItems(CTreeItem* pRoot);
    // Links the children of pParent in the given order.
    static void Relink(CTreeItem* pParent, const std::vector<HTREEITEM>& children);

private:
    CTreeItem* m_pRoot = nullptr;
};
