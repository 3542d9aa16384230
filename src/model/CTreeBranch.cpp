#include "model/CTreeBranch.h"

#include <algorithm>
#include <utility>

#include "model/CSiteTree.h"
#include "platform/CCodePage.h"

CTreeBranch::~CTreeBranch()
{
    FreeItems(m_pRoot);
}

CTreeBranch::CTreeBranch(CTreeBranch&& other) noexcept
    : m_pRoot(std::exchange(other.m_pRoot, nullptr))
{ }

CTreeBranch& CTreeBranch::operator=(CTreeBranch&& other) noexcept
{
    if (this != &other) {
        FreeItems(m_pRoot);
        m_pRoot = std::exchange(other.m_pRoot, nullptr);
    }
    return *this;
}

CTreeItem* CTreeBranch::Release()
{
    return std::exchange(m_pRoot, nullptr);
}

std::vector<HTREEITEM> CTreeBranch::Items() const
{
    return Walk(m_pRoot);
}

std::vector<HTREEITEM> CTreeBranch::Walk(CTreeItem* pRoot)
{
    // Iterative, so that a deep branch cannot exhaust the stack.
    std::vector<HTREEITEM> items;
    for (CTreeItem* p = pRoot; p != nullptr;) {
        items.push_back(p);
        if (p->m_pFirstChild != nullptr) {
            p = p->m_pFirstChild;
            continue;
        }
        while (p != pRoot && p->m_pNext == nullptr)
            p = p->m_pParent;
        p = p == pRoot ? nullptr : p->m_pNext;
    }
    return items;
}

void CTreeBranch::FreeItems(CTreeItem* pRoot)
{
    for (CTreeItem* p : Walk(pRoot))
        delete p;
}

void CTreeBranch::Relink(CTreeItem* pParent, const std::vector<HTREEITEM>& children)
{
    CTreeItem* pPrev = nullptr;
    for (CTreeItem* p : children) {
        p->m_pPrev = pPrev;
        p->m_pNext = nullptr;
        if (pPrev != nullptr)
            pPrev->m_pNext = p;
        pPrev = p;
    }
    pParent->m_pFirstChild = children.empty() ? nullptr : children.front();
    pParent->m_pLastChild = pPrev;
}

CTreeBranch::CShape CTreeBranch::SortAndClose()
{
    CShape shape;
    for (CTreeItem* pItem : Items()) {
        if (pItem->m_bExpanded) {
            shape.expanded.push_back(pItem);
            pItem->m_bExpanded = false;
        }
        std::vector<HTREEITEM> children;
        for (CTreeItem* p = pItem->m_pFirstChild; p != nullptr; p = p->m_pNext)
            children.push_back(p);
        std::vector<HTREEITEM> sorted = children;
        std::stable_sort(sorted.begin(), sorted.end(), [](HTREEITEM a, HTREEITEM b) {
            return CCodePage::CompareNoCase(a->m_strLabel, b->m_strLabel) < 0;
        });
        if (sorted != children) {
            Relink(pItem, sorted);
            shape.orders.push_back(std::move(children));
        }
    }
    return shape;
}

void CTreeBranch::RestoreShape(const CShape& shape)
{
    for (const std::vector<HTREEITEM>& children : shape.orders)
        Relink(children.front()->m_pParent, children);
    for (CTreeItem* pItem : shape.expanded)
        pItem->m_bExpanded = true;
}
