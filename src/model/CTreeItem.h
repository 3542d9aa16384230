#pragma once

#include <memory>

#include "model/CNode.h"
#include "platform/CString.h"

// One item of the site tree: the object's tag as its label, the object it
// owns, and its place among parent and siblings. Only CSiteTree changes it.
class CTreeItem {
public:
    const CString& GetLabel() const { return m_strLabel; }
    CNode* GetNode() const { return m_pNode.get(); }

    // Null for a top-level item.
    CTreeItem* GetParent() const { return m_pParent != nullptr && !m_pParent->m_bTop ? m_pParent : nullptr; }
    CTreeItem* GetFirstChild() const { return m_pFirstChild; }
    CTreeItem* GetLastChild() const { return m_pLastChild; }
    CTreeItem* GetNextSibling() const { return m_pNext; }
    CTreeItem* GetPrevSibling() const { return m_pPrev; }
    bool HasChildren() const { return m_pFirstChild != nullptr; }

private:
    friend class CSiteTree;

    CString m_strLabel;
    std::unique_ptr<CNode> m_pNode;
    bool m_bTop = false; // the hidden item whose children are the top level
    // Kept so that the row of a last child, where items are appended, is
    // known without walking its siblings.
    int m_nChildren = 0;
    CTreeItem* m_pParent = nullptr;
    CTreeItem* m_pFirstChild = nullptr;
    CTreeItem* m_pLastChild = nullptr;
    CTreeItem* m_pPrev = nullptr;
    CTreeItem* m_pNext = nullptr;
};

using HTREEITEM = CTreeItem*;
