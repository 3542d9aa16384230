#include "search/CSiteReplace.h"

#include <unordered_map>

#include "model/CNode.h"
#include "model/CTreeCommands.h"
#include "search/CSiteSearch.h"
#include "search/CTextFinder.h"

namespace {

constexpr ESearchField kFields[] = { FIELD_TAG, FIELD_TITLE, FIELD_TEXT };

// The text with every match replaced, left to right without overlaps;
// nCount is the number replaced.
CString ReplaceIn(const CString& text, const CTextFinder& finder, const CString& replacement, size_t& nCount)
{
    nCount = 0;
    CString result;
    size_t nDone = 0;
    for (size_t at = finder.Find(text); at != CTextFinder::npos; at = finder.Find(text, nDone)) {
        result.append(text, nDone, at - nDone);
        result += replacement;
        nDone = at + finder.GetLength();
        ++nCount;
    }
    if (nCount > 0)
        result.append(text, nDone, CString::npos);
    return result;
}

} // namespace

void CSiteReplace::SetField(CSiteTree& tree, HTREEITEM hItem, ESearchField field, const CString& text)
{
    if (field == FIELD_TAG) {
        tree.SetItemText(hItem, text);
        return;
    }
    CNode* pNode = hItem->GetNode();
    (field == FIELD_TITLE ? pNode->m_strTitle : pNode->m_strText) = text;
}

CReplaceResult CSiteReplace::ReplaceAll(
    CSiteTree& tree, const CSearchOptions& options, const CString& replacement, HTREEITEM hOnly)
{
    CReplaceResult result;
    const CTextFinder finder(options.strFind, options.bMatchCase, options.bWholeWords);
    for (HTREEITEM h = hOnly != nullptr ? hOnly : tree.GetRootItem(); h != nullptr;
         h = hOnly != nullptr ? nullptr : CSiteTree::GetNextPreOrder(h)) {
        if (h->GetNode() == nullptr)
            continue;
        bool bChanged = false;
        for (ESearchField field : kFields) {
            if ((options.nFields & field) == 0)
                continue;
            const CString& old = CSiteSearch::FieldText(h, field);
            size_t nCount = 0;
            CString changed = ReplaceIn(old, finder, replacement, nCount);
            if (nCount == 0)
                continue;
            if (field == FIELD_TAG && !CTreeCommands::IsValidTag(changed)) {
                ++result.nTagsRefused;
                continue;
            }
            result.changes.push_back({ h->GetNode(), field, old, changed });
            SetField(tree, h, field, changed);
            result.nReplaced += nCount;
            bChanged = true;
        }
        if (bChanged)
            ++result.nObjects;
    }
    return result;
}

std::optional<CTextChange> CSiteReplace::ReplaceAt(
    CSiteTree& tree, const CSearchOptions& options, const CString& replacement, const CSearchHit& hit)
{
    if (hit.hItem == nullptr || hit.hItem->GetNode() == nullptr)
        return std::nullopt;
    const CTextFinder finder(options.strFind, options.bMatchCase, options.bWholeWords);
    const CString& old = CSiteSearch::FieldText(hit.hItem, hit.field);
    if (!finder.MatchesAt(old, hit.nOffset))
        return std::nullopt;
    CString changed = old;
    changed.replace(hit.nOffset, finder.GetLength(), replacement);
    if (hit.field == FIELD_TAG && !CTreeCommands::IsValidTag(changed))
        return std::nullopt;
    CTextChange change { hit.hItem->GetNode(), hit.field, old, changed };
    SetField(tree, hit.hItem, hit.field, changed);
    return change;
}

void CSiteReplace::Apply(CSiteTree& tree, const std::vector<CTextChange>& changes, EApply which)
{
    // Tags live in the items; find each object's item once.
    std::unordered_map<const CNode*, HTREEITEM> items;
    for (const CTextChange& change : changes) {
        if (change.field == FIELD_TAG) {
            for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
                items[h->GetNode()] = h;
            break;
        }
    }
    const auto apply = [&](const CTextChange& change) {
        const CString& text = which == EApply::Undo ? change.strOld : change.strNew;
        if (change.field == FIELD_TAG) {
            if (auto it = items.find(change.pNode); it != items.end())
                tree.SetItemText(it->second, text);
            return;
        }
        (change.field == FIELD_TITLE ? change.pNode->m_strTitle : change.pNode->m_strText) = text;
    };
    if (which == EApply::Undo) {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            apply(*it);
    } else {
        for (const CTextChange& change : changes)
            apply(change);
    }
}
