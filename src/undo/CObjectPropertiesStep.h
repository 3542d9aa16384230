#pragma once

#include "model/CDocInfo.h"
#include "model/CTreeItem.h"
#include "undo/CUndoStep.h"

// An OK in an object's properties dialog: its properties record and its
// time stamp.
class CObjectPropertiesStep : public CExchangeStep {
public:
    CObjectPropertiesStep(CUndoContext& context, HTREEITEM hItem, const CDocInfo& oldInfo, int32_t tOldStamp);

private:
    void Exchange() override;

    HTREEITEM m_hItem;
    // The record and stamp the object does not hold now.
    CDocInfo m_info;
    int32_t m_tStamp;
};
