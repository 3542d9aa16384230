#include "undo/CUndoContext.h"

#include "model/CPagewellDoc.h"
#include "model/ITreeSelection.h"
#include "platform/CView.h"

void CUndoContext::Select(HTREEITEM hItem)
{
    if (m_pSelection != nullptr) {
        m_pSelection->SelectItem(hItem);
        return;
    }
    m_doc.m_pCurrent = hItem != nullptr ? hItem->GetNode() : nullptr;
}

void CUndoContext::SelectNeighbour(HTREEITEM hBranch)
{
    HTREEITEM hNext = hBranch->GetNextSibling();
    if (hNext == nullptr)
        hNext = hBranch->GetPrevSibling();
    if (hNext == nullptr)
        hNext = hBranch->GetParent();
    Select(hNext);
}

void CUndoContext::Reload()
{
    m_doc.UpdateAllViews(nullptr, HINT_RELOAD);
}
