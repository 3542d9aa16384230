#pragma once

#include <cstdint>

#include "model/CTreeItem.h"
#include "undo/CUndoStep.h"

// An object converted to another type.
class CConvertStep : public CExchangeStep {
public:
    CConvertStep(CUndoContext& context, HTREEITEM hItem, uint32_t nOldType);

private:
    void Exchange() override;

    HTREEITEM m_hItem;
    uint32_t m_nType; // the type the object does not have now
};
