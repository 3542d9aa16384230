#include "generator/CSiteNames.h"

#include "model/CNode.h"
#include "model/NodeTypes.h"
#include "platform/CCodePage.h"
#include "platform/CPathRules.h"

CString CSiteNames::GetTag(HTREEITEM hItem) const
{
    CString tag = hItem->GetLabel();
    if (m_bLowercase)
        CCodePage::CharLower(tag);
    return tag;
}

CString CSiteNames::GetTagOrEmpty(HTREEITEM hItem) const
{
    return hItem != nullptr ? GetTag(hItem) : CString();
}

CString CSiteNames::GetTitle(HTREEITEM hItem)
{
    return hItem != nullptr && hItem->GetNode() != nullptr ? hItem->GetNode()->m_strTitle : CString();
}

CString CSiteNames::GetBaseName(std::string_view path) const
{
    CString name = CPathRules::GetFileName(path);
    if (m_bLowercase)
        CCodePage::AsciiLower(name);
    return name;
}

HTREEITEM CSiteNames::GetPageItem(HTREEITEM hItem)
{
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent()) {
        if (h->GetNode() != nullptr && h->GetNode()->m_nType == NODE_PAGE)
            return h;
    }
    return nullptr;
}

CString CSiteNames::GetReference(HTREEITEM hItem) const
{
    CString reference = GetPageFile(GetTagOrEmpty(GetPageItem(hItem)));
    reference += "#";
    reference += GetTag(hItem);
    return reference;
}

CSiteNames::CRef CSiteNames::GetHomeRef() const
{
    return { GetPageFile(GetTagOrEmpty(m_hRoot)) + "#main", GetTitle(m_hRoot) };
}

CSiteNames::CRef CSiteNames::GetParentRef(HTREEITEM hItem) const
{
    const HTREEITEM hParent = hItem->GetParent();
    if (hParent == nullptr)
        return GetHomeRef();
    return { GetReference(hParent), GetTitle(hParent) };
}

CSiteNames::CRef CSiteNames::GetUpRef(HTREEITEM hItem) const
{
    const HTREEITEM hPage = GetPageItem(hItem);
    return { "#" + GetTagOrEmpty(hPage), GetTitle(hPage) };
}
