#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "model/CSiteTree.h"
#include "search/CTextFinder.h"
#include "search/SearchTypes.h"

// Finding a text in the whole site: the tags, titles and body texts of every
// object, in the order of the tree (pre-order; within an object tag, title,
// text). The texts are read as the model holds them, so the editors store
// their working copies before a search.
class CSiteSearch {
public:
    CSiteSearch(const CSiteTree& tree, const CSearchOptions& options);

    // Every match, in order, at most nMaxHits of them (0: no limit). The
    // number of all matches is in nTotal.
    std::vector<CSearchHit> FindAll(size_t nMaxHits, size_t& nTotal) const;
    // The matches in one object, in order.
    void FindInItem(HTREEITEM hItem, std::vector<CSearchHit>& hits) const;

    enum class EDirection { Next, Previous };
    struct CStep {
        std::optional<CSearchHit> hit;
        // The search passed the end (or the start) of the project, or of
        // the one object, and went on from the other end.
        bool bWrapped = false;
    };
    // The first match after the cursor (one that starts after its offset)
    // or the last one before it (ending at or before it), wrapping around.
    // With hOnly, only that object is searched.
    CStep Step(const CSearchCursor& cursor, EDirection direction, HTREEITEM hOnly = nullptr) const;

    // The text of one field of an item.
    static const CString& FieldText(HTREEITEM hItem, ESearchField field);
    // The tags from the root down to the item, joined by "/".
    static CString PathOfTags(HTREEITEM hItem);
    // The item before hItem in pre-order, or null.
    static HTREEITEM GetPrevPreOrder(HTREEITEM hItem);

    const CTextFinder& GetFinder() const { return m_finder; }

private:
    template <typename Visit> bool ForEachMatch(HTREEITEM hItem, Visit&& visit) const;
    std::optional<CSearchHit> StepInItem(
        HTREEITEM hItem, EDirection direction, const CSearchCursor* pCursor) const;

    const CSiteTree& m_tree;
    CSearchOptions m_options;
    CTextFinder m_finder;
};
