#pragma once

class CNode;
class CTreeItem;

// Told before and after every structural change of a site tree, so that a
// view over it (the Qt item model) can follow. Rows count among siblings from
// 0; a null parent is the top level.
class ISiteTreeObserver {
public:
    virtual ~ISiteTreeObserver() = default;
    virtual void OnItemInserting(CTreeItem* /*pParent*/, int /*nRow*/) { }
    virtual void OnItemInserted(CTreeItem* /*pItem*/) { }
    virtual void OnItemRemoving(CTreeItem* /*pItem*/) { }
    virtual void OnItemRemoved(CTreeItem* /*pParent*/, int /*nRow*/) { }
    // The label, or the picture (the object's type), of an item changed.
    virtual void OnItemLabelChanged(CTreeItem* /*pItem*/) { }
    // An object is about to be destroyed with its item.
    virtual void OnNodeDeleting(CNode* /*pNode*/) { }
    // The whole tree is replaced (a project was loaded).
    virtual void OnTreeResetting() { }
    virtual void OnTreeReset() { }
};
