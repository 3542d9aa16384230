#include "model/CBranchMove.h"

#include "model/CTreeCommands.h"

void CBranchMove::Do(CSiteTree& tree)
{
    m_from = CSiteTree::PlaceOf(m_hItem);
    CTreeBranch branch = tree.DetachItem(m_hItem);
    m_shape = branch.SortAndClose();
    // The place is found with the branch out, as if the old items were gone.
    const CTreePlace to = CTreeCommands::PlaceAt(tree, m_hItem->GetLabel(), m_hTarget, m_nPosition);
    tree.AttachItem(std::move(branch), to);
}

void CBranchMove::Undo(CSiteTree& tree)
{
    CTreeBranch branch = tree.DetachItem(m_hItem);
    branch.RestoreShape(m_shape);
    m_shape = {};
    tree.AttachItem(std::move(branch), m_from);
}
