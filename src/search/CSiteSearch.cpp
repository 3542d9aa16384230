#include "search/CSiteSearch.h"

#include "model/CNode.h"

namespace {

constexpr ESearchField kFieldOrder[] = { FIELD_TAG, FIELD_TITLE, FIELD_TEXT };

HTREEITEM LastInPreOrder(const CSiteTree& tree)
{
    HTREEITEM h = tree.GetRootItem();
    if (h == nullptr)
        return nullptr;
    while (h->GetNextSibling() != nullptr)
        h = h->GetNextSibling();
    while (h->GetLastChild() != nullptr)
        h = h->GetLastChild();
    return h;
}

} // namespace

CSiteSearch::CSiteSearch(const CSiteTree& tree, const CSearchOptions& options)
    : m_tree(tree)
    , m_options(options)
    , m_finder(options.strFind, options.bMatchCase, options.bWholeWords)
{ }

const CString& CSiteSearch::FieldText(HTREEITEM hItem, ESearchField field)
{
    static const CString kNone;
    if (field == FIELD_TAG)
        return hItem->GetLabel();
    const CNode* pNode = hItem->GetNode();
    if (pNode == nullptr)
        return kNone;
    return field == FIELD_TITLE ? pNode->m_strTitle : pNode->m_strText;
}

CString CSiteSearch::PathOfTags(HTREEITEM hItem)
{
    std::vector<const CString*> tags;
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent())
        tags.push_back(&h->GetLabel());
    CString path;
    for (auto it = tags.rbegin(); it != tags.rend(); ++it) {
        if (!path.empty())
            path += '/';
        path += **it;
    }
    return path;
}

HTREEITEM CSiteSearch::GetPrevPreOrder(HTREEITEM hItem)
{
    HTREEITEM h = hItem->GetPrevSibling();
    if (h == nullptr)
        return hItem->GetParent();
    while (h->GetLastChild() != nullptr)
        h = h->GetLastChild();
    return h;
}

// Calls visit(hit) for every match of the item in order until it answers
// false; false then.
template <typename Visit> bool CSiteSearch::ForEachMatch(HTREEITEM hItem, Visit&& visit) const
{
    const size_t nLength = m_finder.GetLength();
    for (ESearchField field : kFieldOrder) {
        if ((m_options.nFields & field) == 0)
            continue;
        const CString& text = FieldText(hItem, field);
        for (size_t at = m_finder.Find(text); at != CTextFinder::npos;
             at = m_finder.Find(text, at + nLength)) {
            if (!visit(CSearchHit { hItem, field, at, nLength }))
                return false;
        }
    }
    return true;
}

std::vector<CSearchHit> CSiteSearch::FindAll(size_t nMaxHits, size_t& nTotal) const
{
    std::vector<CSearchHit> hits;
    nTotal = 0;
    for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        ForEachMatch(h, [&](const CSearchHit& hit) {
            if (nMaxHits == 0 || hits.size() < nMaxHits)
                hits.push_back(hit);
            ++nTotal;
            return true;
        });
    }
    return hits;
}

void CSiteSearch::FindInItem(HTREEITEM hItem, std::vector<CSearchHit>& hits) const
{
    ForEachMatch(hItem, [&](const CSearchHit& hit) {
        hits.push_back(hit);
        return true;
    });
}

std::optional<CSearchHit> CSiteSearch::StepInItem(
    HTREEITEM hItem, EDirection direction, const CSearchCursor* pCursor) const
{
    std::optional<CSearchHit> found;
    ForEachMatch(hItem, [&](const CSearchHit& hit) {
        if (direction == EDirection::Next) {
            if (pCursor == nullptr || hit.field > pCursor->field
                || (hit.field == pCursor->field && hit.nOffset >= pCursor->nOffset)) {
                found = hit;
                return false;
            }
            return true;
        }
        if (pCursor != nullptr
            && (hit.field > pCursor->field
                || (hit.field == pCursor->field && hit.nOffset + hit.nLength > pCursor->nOffset)))
            return false;
        found = hit;
        return true;
    });
    return found;
}

CSiteSearch::CStep CSiteSearch::Step(const CSearchCursor& cursor, EDirection direction, HTREEITEM hOnly) const
{
    const bool bNext = direction == EDirection::Next;
    const auto advance
        = [bNext](HTREEITEM h) { return bNext ? CSiteTree::GetNextPreOrder(h) : GetPrevPreOrder(h); };
    if (hOnly != nullptr) {
        const bool bInside = cursor.hItem == hOnly;
        if (auto hit = StepInItem(hOnly, direction, bInside ? &cursor : nullptr))
            return { hit, false };
        if (!bInside)
            return {};
        auto hit = StepInItem(hOnly, direction, nullptr);
        return { hit, hit.has_value() };
    }
    const HTREEITEM hFirst = bNext ? m_tree.GetRootItem() : LastInPreOrder(m_tree);
    HTREEITEM hStart = cursor.hItem;
    if (hStart == nullptr) {
        for (HTREEITEM h = hFirst; h != nullptr; h = advance(h)) {
            if (auto hit = StepInItem(h, direction, nullptr))
                return { hit, false };
        }
        return {};
    }
    if (auto hit = StepInItem(hStart, direction, &cursor))
        return { hit, false };
    for (HTREEITEM h = advance(hStart); h != nullptr; h = advance(h)) {
        if (auto hit = StepInItem(h, direction, nullptr))
            return { hit, false };
    }
    for (HTREEITEM h = hFirst; h != nullptr && h != hStart; h = advance(h)) {
        if (auto hit = StepInItem(h, direction, nullptr))
            return { hit, true };
    }
    auto hit = StepInItem(hStart, direction, nullptr);
    return { hit, hit.has_value() };
}
