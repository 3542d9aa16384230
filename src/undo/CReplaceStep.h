#pragma once

#include <vector>

#include "search/SearchTypes.h"
#include "undo/CUndoStep.h"

// A replacement of the Find and Replace dialog (one match or all of them):
// every tag, title and text it changed, taken back and made again as one
// step.
class CReplaceStep : public CUndoStep {
public:
    // The changes are already made when the step is recorded.
    CReplaceStep(CUndoContext& context, const QString& text, std::vector<CTextChange> changes);

private:
    void Undo() override;
    void Redo() override;
    void Apply(bool bUndo);

    std::vector<CTextChange> m_changes;
};
