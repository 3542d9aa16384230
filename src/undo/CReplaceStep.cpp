#include "undo/CReplaceStep.h"

#include <utility>

#include "model/CPagewellDoc.h"
#include "search/CSiteReplace.h"

CReplaceStep::CReplaceStep(CUndoContext& context, const QString& text, std::vector<CTextChange> changes)
    : CUndoStep(context, text, true)
    , m_changes(std::move(changes))
{ }

void CReplaceStep::Undo()
{
    Apply(true);
}

void CReplaceStep::Redo()
{
    Apply(false);
}

void CReplaceStep::Apply(bool bUndo)
{
    if (m_changes.empty())
        return;
    CPagewellDoc& doc = Context().GetDocument();
    // The first object changed becomes the current one, so that the user
    // sees what came back; the editors store into the old one first.
    if (HTREEITEM hItem = doc.m_tree.FindItem(m_changes.front().pNode))
        Context().Select(hItem);
    CSiteReplace::Apply(
        doc.m_tree, m_changes, bUndo ? CSiteReplace::EApply::Undo : CSiteReplace::EApply::Redo);
    Context().Reload();
}
