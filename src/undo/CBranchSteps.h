#pragma once

#include "model/CSiteTree.h"
#include "undo/CUndoStep.h"

// A branch put into the tree or taken out of it. While it is out, the step
// owns its items and objects; putting it back hands the same ones to the
// tree, at the same place, with their tags, texts and open state.
class CBranchStep : public CUndoStep {
protected:
    CBranchStep(CUndoContext& context, const QString& text, HTREEITEM hItem, CTreeBranch&& branch,
        const CTreePlace& place);

    // Puts the branch back and selects it.
    void Put();
    // Selects the item a deletion selects and takes the branch out.
    void Take();

private:
    HTREEITEM m_hItem;
    CTreeBranch m_branch; // empty while the branch is in the tree
    CTreePlace m_place;
};

// A new object inserted: undo takes it out again.
class CInsertBranchStep : public CBranchStep {
public:
    CInsertBranchStep(CUndoContext& context, HTREEITEM hItem);

private:
    void Undo() override { Take(); }
    void Redo() override { Put(); }
};

// A branch deleted: the step keeps it, and undo puts it back.
class CDeleteBranchStep : public CBranchStep {
public:
    CDeleteBranchStep(CUndoContext& context, CTreeBranch branch, const CTreePlace& place);

private:
    void Undo() override { Put(); }
    void Redo() override { Take(); }
};
