#pragma once

#include "model/CTreeItem.h"

class CPagewellDoc;
class ITreeSelection;

// What the undo steps work on: the document, and the tree view's selection,
// which follows the object a step changes. Without a view (tests, benchmarks)
// the current object follows instead.
class CUndoContext {
public:
    explicit CUndoContext(CPagewellDoc& doc)
        : m_doc(doc)
    { }

    CPagewellDoc& GetDocument() const { return m_doc; }
    void SetSelection(ITreeSelection* pSelection) { m_pSelection = pSelection; }

    // Makes hItem the selected item and its object the current one; the
    // editors store into the old object and show the new one.
    void Select(HTREEITEM hItem);
    // Before a branch leaves the tree: selects the item a deletion selects
    // (the next sibling, the previous one, the parent).
    void SelectNeighbour(HTREEITEM hBranch);
    // The editors show the current object again.
    void Reload();

private:
    CPagewellDoc& m_doc;
    ITreeSelection* m_pSelection = nullptr;
};
