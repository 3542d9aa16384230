#pragma once

#include <cstdint>

#include "model/CBranchMove.h"
#include "model/CDocInfo.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"

// Hears of every change made to the project, right after it was made, with
// what is needed to take it back: the desktop program keeps them as steps to
// undo and redo. Without a history (the command-line tool, plain tests) a
// deleted branch is freed at once and nothing is kept.
class IEditHistory {
public:
    virtual ~IEditHistory() = default;

    virtual void Inserted(HTREEITEM hItem) = 0;
    // The branch was taken out of the tree from place; the history keeps it.
    virtual void Deleted(CTreeBranch branch, const CTreePlace& place) = 0;
    virtual void Converted(HTREEITEM hItem, uint32_t nOldType) = 0;
    virtual void Moved(const CBranchMove& move) = 0;
    virtual void Renamed(HTREEITEM hItem, const CString& oldLabel) = 0;
    virtual void ObjectPropertiesSet(HTREEITEM hItem, const CDocInfo& oldInfo, int32_t tOldStamp) = 0;
    virtual void DocPropertiesSet(const CDocProperties& oldProps) = 0;
    virtual void FormatSet(HTREEITEM hItem, ETextField field, uint32_t nOldFormat) = 0;
    // An editor stored a text that differs from the one the object held.
    virtual void TextStored(HTREEITEM hItem, ETextField field, const CString& oldText) = 0;

    // The project was written to its file: this is the saved state.
    virtual void Saved() = 0;
    // The project was replaced (New, Open): the steps no longer apply.
    virtual void Cleared() = 0;
};
