#pragma once

#include "model/CBranchMove.h"
#include "undo/CUndoStep.h"

// A branch moved by drag and drop.
class CMoveBranchStep : public CUndoStep {
public:
    CMoveBranchStep(CUndoContext& context, const CBranchMove& move);

private:
    void Undo() override;
    void Redo() override;

    CBranchMove m_move;
};
