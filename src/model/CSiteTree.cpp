#include "model/CSiteTree.h"

#include <algorithm>

#include "model/ISiteTreeObserver.h"
#include "platform/CCodePage.h"

CSiteTree::CSiteTree()
{
    m_top.m_bTop = true;
}

CSiteTree::~CSiteTree()
{
    // No observer may hear of a tree that is going away.
    m_observers.clear();
    DeleteAllItems();
}

int CSiteTree::GetLevel(HTREEITEM hItem)
{
    int level = 0;
    for (HTREEITEM h = hItem->GetParent(); h != nullptr; h = h->GetParent())
        ++level;
    return level;
}

int CSiteTree::GetRow(HTREEITEM hItem)
{
    if (hItem->m_pNext == nullptr && hItem->m_pParent != nullptr)
        return hItem->m_pParent->m_nChildren - 1;
    int row = 0;
    for (HTREEITEM h = hItem->GetPrevSibling(); h != nullptr; h = h->GetPrevSibling())
        ++row;
    return row;
}

HTREEITEM CSiteTree::GetNextPreOrder(HTREEITEM hItem)
{
    if (hItem->GetFirstChild() != nullptr)
        return hItem->GetFirstChild();
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent()) {
        if (h->GetNextSibling() != nullptr)
            return h->GetNextSibling();
    }
    return nullptr;
}

void CSiteTree::SetItemText(HTREEITEM hItem, const CString& label)
{
    hItem->m_strLabel = label;
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnItemLabelChanged(hItem);
}

void CSiteTree::NotifyItemChanged(HTREEITEM hItem)
{
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnItemLabelChanged(hItem);
}

HTREEITEM CSiteTree::Link(std::unique_ptr<CTreeItem> pItem, CTreeItem* pParent, CTreeItem* pAfter)
{
    if (!m_observers.empty()) {
        const int row = pAfter != nullptr ? GetRow(pAfter) + 1 : 0;
        CTreeItem* pPublicParent = pParent->m_bTop ? nullptr : pParent;
        for (ISiteTreeObserver* pObserver : m_observers)
            pObserver->OnItemInserting(pPublicParent, row);
    }
    CTreeItem* pNew = pItem.release();
    pNew->m_pParent = pParent;
    pNew->m_pPrev = pAfter;
    pNew->m_pNext = pAfter != nullptr ? pAfter->m_pNext : pParent->m_pFirstChild;
    if (pNew->m_pNext != nullptr)
        pNew->m_pNext->m_pPrev = pNew;
    else
        pParent->m_pLastChild = pNew;
    if (pAfter != nullptr)
        pAfter->m_pNext = pNew;
    else
        pParent->m_pFirstChild = pNew;
    ++pParent->m_nChildren;
    ++m_nCount;
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnItemInserted(pNew);
    return pNew;
}

HTREEITEM CSiteTree::InsertItem(
    CString label, std::unique_ptr<CNode> pNode, HTREEITEM hParent, ETreeInsert where)
{
    CTreeItem* pParent = ParentOrTop(hParent);
    CTreeItem* pAfter = nullptr;
    switch (where) {
    case ETreeInsert::First:
        break;
    case ETreeInsert::Last:
        pAfter = pParent->m_pLastChild;
        break;
    case ETreeInsert::Sort:
        pAfter = pParent->m_pLastChild;
        for (CTreeItem* p = pParent->m_pFirstChild; p != nullptr; p = p->m_pNext) {
            if (CCodePage::CompareNoCase(p->m_strLabel, label) > 0) {
                pAfter = p->m_pPrev;
                break;
            }
        }
        break;
    }
    auto pItem = std::make_unique<CTreeItem>();
    pItem->m_strLabel = std::move(label);
    pItem->m_pNode = std::move(pNode);
    return Link(std::move(pItem), pParent, pAfter);
}

HTREEITEM CSiteTree::InsertItemAfter(
    CString label, std::unique_ptr<CNode> pNode, HTREEITEM hParent, HTREEITEM hAfter)
{
    auto pItem = std::make_unique<CTreeItem>();
    pItem->m_strLabel = std::move(label);
    pItem->m_pNode = std::move(pNode);
    return Link(std::move(pItem), ParentOrTop(hParent), hAfter);
}

std::unique_ptr<CNode> CSiteTree::ReleaseItemData(HTREEITEM hItem)
{
    return std::move(hItem->m_pNode);
}

void CSiteTree::DeleteItem(HTREEITEM hItem)
{
    CTreeItem* pParent = hItem->m_pParent;
    const int row = m_observers.empty() ? 0 : GetRow(hItem);
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnItemRemoving(hItem);

    if (hItem->m_pPrev != nullptr)
        hItem->m_pPrev->m_pNext = hItem->m_pNext;
    else
        pParent->m_pFirstChild = hItem->m_pNext;
    if (hItem->m_pNext != nullptr)
        hItem->m_pNext->m_pPrev = hItem->m_pPrev;
    else
        pParent->m_pLastChild = hItem->m_pPrev;
    --pParent->m_nChildren;
    hItem->m_pParent = nullptr;
    hItem->m_pPrev = hItem->m_pNext = nullptr;

    DeleteSubtree(hItem);

    CTreeItem* pPublicParent = pParent->m_bTop ? nullptr : pParent;
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnItemRemoved(pPublicParent, row);
}

void CSiteTree::DeleteSubtree(CTreeItem* pItem)
{
    // Iterative, so that a deep tree read from an odd file cannot exhaust the stack.
    std::vector<CTreeItem*> items;
    for (CTreeItem* p = pItem; p != nullptr;) {
        items.push_back(p);
        if (p->m_pFirstChild != nullptr) {
            p = p->m_pFirstChild;
            continue;
        }
        while (p != pItem && p->m_pNext == nullptr)
            p = p->m_pParent;
        p = p == pItem ? nullptr : p->m_pNext;
    }
    for (CTreeItem* p : items) {
        if (p->m_pNode != nullptr) {
            for (ISiteTreeObserver* pObserver : m_observers)
                pObserver->OnNodeDeleting(p->m_pNode.get());
        }
        delete p;
    }
    m_nCount -= items.size();
}

void CSiteTree::DeleteAllItems()
{
    while (m_top.m_pLastChild != nullptr)
        DeleteItem(m_top.m_pLastChild);
}

void CSiteTree::Swap(CSiteTree& other)
{
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnTreeResetting();
    for (ISiteTreeObserver* pObserver : other.m_observers)
        pObserver->OnTreeResetting();
    std::swap(m_top.m_pFirstChild, other.m_top.m_pFirstChild);
    std::swap(m_top.m_pLastChild, other.m_top.m_pLastChild);
    std::swap(m_top.m_nChildren, other.m_top.m_nChildren);
    std::swap(m_nCount, other.m_nCount);
    for (CTreeItem* p = m_top.m_pFirstChild; p != nullptr; p = p->m_pNext)
        p->m_pParent = &m_top;
    for (CTreeItem* p = other.m_top.m_pFirstChild; p != nullptr; p = p->m_pNext)
        p->m_pParent = &other.m_top;
    for (ISiteTreeObserver* pObserver : m_observers)
        pObserver->OnTreeReset();
    for (ISiteTreeObserver* pObserver : other.m_observers)
        pObserver->OnTreeReset();
}

HTREEITEM CSiteTree::FindItem(const CNode* pNode) const
{
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextPreOrder(h)) {
        if (h->GetNode() == pNode)
            return h;
    }
    return nullptr;
}

void CSiteTree::AddObserver(ISiteTreeObserver* pObserver)
{
    m_observers.push_back(pObserver);
}

void CSiteTree::RemoveObserver(ISiteTreeObserver* pObserver)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), pObserver), m_observers.end());
}
