#pragma once

#include "model/CTreeItem.h"
#include "undo/CUndoStep.h"

// An object's tag edited in the tree.
class CRenameStep : public CExchangeStep {
public:
    CRenameStep(CUndoContext& context, HTREEITEM hItem, const CString& oldLabel);

private:
    void Exchange() override;

    HTREEITEM m_hItem;
    CString m_strLabel; // the tag the item does not have now
};
