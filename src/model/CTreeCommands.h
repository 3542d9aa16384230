#pragma once

#include "model/CSiteTree.h"
#include "model/TreeDialogs.h"

class CPagewellDoc;
class ITreeSelection;

// The commands that change the shape of the site tree: insert, delete,
// convert, and the rules of moving a branch by drag and drop. They work on
// the document's tree and ask the user through its IUserInterface; the tree
// view supplies the selection.
class CTreeCommands {
public:
    CTreeCommands(CPagewellDoc& doc, ITreeSelection& selection)
        : m_doc(doc)
        , m_selection(selection)
    { }

    // Insert Page, Paragraph or Link (type 0, 1, 2) beside or below the
    // selected item. The selection and the current object stay.
    void InsertObject(uint32_t type);
    // The Delete key: the selected object with everything below it.
    void DeleteCurrent();
    // Takes hItem's branch out of the tree as one step, selecting the item a
    // deletion selects; no question (a Cut keeps the branch on the clipboard).
    void DeleteBranch(HTREEITEM hItem);
    // Convert the current object to another type.
    void OnConvert();

    // A drop of hDrag on hTarget is refused when there is no target, or the
    // target is the dragged item, lies below it, or is its parent.
    static bool IsDropRefused(HTREEITEM hDrag, HTREEITEM hTarget);
    // Asks where the dropped branch goes and moves it; false when cancelled.
    // The caller has checked IsDropRefused. Marks nothing modified: the drag
    // does that whatever the outcome.
    bool MoveBranch(HTREEITEM hDrag, HTREEITEM hTarget);

    // True when hItem is hAncestor or lies below it.
    static bool IsAncestor(HTREEITEM hItem, HTREEITEM hAncestor);
    // Re-creates hItem and its descendants around the same objects at the
    // place position gives relative to hTarget; descendants go at their
    // sorted places. The old items are deleted level by level except hItem.
    static HTREEITEM CopyBranch(CSiteTree& tree, HTREEITEM hItem, HTREEITEM hTarget, int position);
    // The place position gives relative to hTarget for an item with this
    // label: at the sorted place among its children, after its previous
    // sibling (or first), or right after it.
    static CTreePlace PlaceAt(CSiteTree& tree, const CString& label, HTREEITEM hTarget, int position);
    // Inserts an item at the place position gives relative to hTarget: at
    // the sorted place among its children, after its previous sibling (or
    // first), or right after it. A missing parent is the top level.
    static HTREEITEM InsertAtPosition(
        CSiteTree& tree, const CString& label, std::unique_ptr<CNode> pNode, HTREEITEM hTarget, int position);

    // The tag filter of the insert dialog: keeps the text up to its first
    // character that is not an ASCII letter, digit, "_" or "-".
    // Returns true when it cut something (the dialog then beeps).
    static bool FilterTag(CString& text);
    // The longest tag the tree takes when a label is edited in place.
    static constexpr size_t kMaxTagLength = 31;
    // Whether a tag that a command makes of an existing one (a replacement
    // across the site) may stand: 1 to kMaxTagLength characters, every one
    // of them a character the tag filter keeps.
    static bool IsValidTag(const CString& tag);

private:
    CPagewellDoc& m_doc;
    ITreeSelection& m_selection;
};
