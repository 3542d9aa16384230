#include "checker/CTagPath.h"

CTagPath::CTagPath(std::initializer_list<CString> tags)
{
    for (const CString& tag : tags)
        *this = Append(tag);
}

CTagPath CTagPath::Append(CString tag) const
{
    CTagPath path;
    path.m_pLast = std::make_shared<const CLink>(CLink { std::move(tag), m_pLast, size() + 1 });
    return path;
}

const CString& CTagPath::operator[](size_t index) const
{
    const CLink* pLink = m_pLast.get();
    while (pLink->nSize > index + 1)
        pLink = pLink->pParent.get();
    return pLink->strTag;
}

std::vector<CString> CTagPath::GetTags() const
{
    std::vector<CString> tags(size());
    for (const CLink* pLink = m_pLast.get(); pLink != nullptr; pLink = pLink->pParent.get())
        tags[pLink->nSize - 1] = pLink->strTag;
    return tags;
}

CString CTagPath::GetText() const
{
    const size_t nHalf = kShownTags / 2;
    const bool bCut = size() > kShownTags;
    std::vector<const CString*> shown;
    for (const CLink* pLink = m_pLast.get(); pLink != nullptr; pLink = pLink->pParent.get()) {
        if (!bCut || pLink->nSize <= nHalf || pLink->nSize > size() - nHalf)
            shown.push_back(&pLink->strTag);
    }
    CString text;
    for (size_t i = shown.size(); i-- > 0;) {
        if (!text.empty())
            text += '/';
        text += *shown[i];
        if (bCut && i == nHalf)
            text += "/...";
    }
    return text;
}
