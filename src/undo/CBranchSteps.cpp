#include "undo/CBranchSteps.h"

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CBranchStep::CBranchStep(
    CUndoContext& context, const QString& text, HTREEITEM hItem, CTreeBranch&& branch, const CTreePlace& place)
    : CUndoStep(context, text, true)
    , m_hItem(hItem)
    , m_branch(std::move(branch))
    , m_place(place)
{ }

void CBranchStep::Put()
{
    Context().GetDocument().m_tree.AttachItem(std::move(m_branch), m_place);
    Context().Select(m_hItem);
}

void CBranchStep::Take()
{
    Context().SelectNeighbour(m_hItem);
    m_place = CSiteTree::PlaceOf(m_hItem);
    m_branch = Context().GetDocument().m_tree.DetachItem(m_hItem);
}

CInsertBranchStep::CInsertBranchStep(CUndoContext& context, HTREEITEM hItem)
    : CBranchStep(context, QStringLiteral("Insert %1").arg(ToQString(hItem->GetLabel())), hItem, {},
        CSiteTree::PlaceOf(hItem))
{ }

CDeleteBranchStep::CDeleteBranchStep(CUndoContext& context, CTreeBranch branch, const CTreePlace& place)
    : CBranchStep(context, QStringLiteral("Delete %1").arg(ToQString(branch.Get()->GetLabel())), branch.Get(),
        std::move(branch), place)
{ }
