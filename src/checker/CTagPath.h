#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/CString.h"

// The tags from the root to an object. Paths made by extending one another
// share their common start, so that the findings of a deep tree take memory
// that grows with the tree, not with the sum of their depths.
class CTagPath {
public:
    CTagPath() = default; // empty: the project as a whole
    CTagPath(std::initializer_list<CString> tags);

    // This path with one more tag at its end.
    CTagPath Append(CString tag) const;

    size_t size() const { return m_pLast ? m_pLast->nSize : 0; }
    bool empty() const { return m_pLast == nullptr; }
    // The tag at index (0: the root's); walks back from the end.
    const CString& operator[](size_t index) const;
    std::vector<CString> GetTags() const;
    // The tags joined by "/"; a path of more than kShownTags tags shows its
    // first and last kShownTags / 2 with "/.../" between them.
    CString GetText() const;
    static constexpr size_t kShownTags = 40;

private:
    struct CLink {
        CString strTag;
        std::shared_ptr<const CLink> pParent;
        size_t nSize;
    };
    std::shared_ptr<const CLink> m_pLast;
};
