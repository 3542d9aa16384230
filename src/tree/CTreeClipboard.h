#pragma once

#include <functional>
#include <string>

#include "app/CCommandRouter.h"
#include "model/CSiteTree.h"

class CPagewellDoc;
class CPagewellView;
class QWidget;

// The outline's clipboard: with the tree focused, Cut, Copy and Paste work
// on whole branches (CBranchClipboard's forms), and Object > Duplicate and
// Delete act on the selected branch. Each change is one undo step.
class CTreeClipboard : public ICommandTarget {
public:
    // isTreeActive: whether the tree is the active pane (the editors have
    // the clipboard commands otherwise).
    CTreeClipboard(CPagewellDoc& doc, CPagewellView& tree, std::function<bool()> isTreeActive);

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    void Copy();
    void Cut();
    // Inserts the clipboard's branch as a child of the selected item (after
    // it when that is a link, which has no children).
    void Paste();
    void Duplicate();

private:
    // Puts a branch read from text at a place beside or below hTarget, with
    // free tags, as one step; tells which tags changed.
    void InsertBranch(const std::string& text, HTREEITEM hTarget, bool bBeside);
    bool CanPaste() const;

    CPagewellDoc& m_doc;
    CPagewellView& m_tree;
    std::function<bool()> m_isTreeActive;
};
