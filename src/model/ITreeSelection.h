#pragma once

#include "model/CTreeItem.h"

// The selected item of the tree view. Selecting an item runs the selection
// protocol: the editors store into the old object, the new object becomes
// current and the editors show it.
class ITreeSelection {
public:
    virtual ~ITreeSelection() = default;
    virtual HTREEITEM GetSelectedItem() const = 0;
    virtual void SelectItem(HTREEITEM hItem) = 0;
};
