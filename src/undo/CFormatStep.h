#pragma once

#include <cstdint>

#include "model/CNode.h"
#include "model/CTreeItem.h"
#include "undo/CUndoStep.h"

// An alignment or style command on an object's title or body text.
class CFormatStep : public CExchangeStep {
public:
    CFormatStep(CUndoContext& context, HTREEITEM hItem, ETextField field, uint32_t nOldFormat);

private:
    void Exchange() override;

    HTREEITEM m_hItem;
    ETextField m_field;
    uint32_t m_nFormat; // the word the object does not hold now
};
