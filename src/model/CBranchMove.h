#pragma once

#include "model/CSiteTree.h"

// A branch moved by drag and drop, kept so that the move can be taken back.
// Do puts the branch beside or below the target, its descendants in the order
// of their tags and all its items closed, as a drop does; Undo puts the same
// items back in their old order, place and open state.
class CBranchMove {
public:
    CBranchMove(HTREEITEM hItem, HTREEITEM hTarget, int position)
        : m_hItem(hItem)
        , m_hTarget(hTarget)
        , m_nPosition(position)
    { }

    void Do(CSiteTree& tree);
    void Undo(CSiteTree& tree);

    HTREEITEM GetItem() const { return m_hItem; }

private:
    HTREEITEM m_hItem;
    HTREEITEM m_hTarget;
    int m_nPosition;
    CTreePlace m_from;
    CTreeBranch::CShape m_shape;
};
