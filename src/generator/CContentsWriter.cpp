#include "generator/CContentsWriter.h"

#include "generator/CHtmlText.h"
#include "generator/CSiteNames.h"
#include "generator/CTextPreparer.h"
#include "model/CNode.h"

namespace {

const char* KindWord(uint32_t type)
{
    if (type == NODE_PAGE)
        return "Page ";
    if (type == NODE_PARAGRAPH)
        return "Section ";
    return "Link ";
}

} // namespace

bool CContentsWriter::WriteContents(CString& out) const
{
    const bool bModern = m_markup == EMarkup::Modern;
    const char* pszList = bModern ? "<ul>\n" : "<UL>\n";
    const char* pszEndList = bModern ? "</ul>\n" : "</UL>\n";
    out += pszList;
    HTREEITEM hItem = m_names.GetRootItem();
    while (hItem != nullptr) {
        const CNode* pNode = hItem->GetNode();
        const uint32_t type = pNode != nullptr ? pNode->m_nType : NODE_PAGE;
        const CString title
            = pNode != nullptr ? CTextPreparer::CutAndStrip(pNode->m_strTitle, type == NODE_LINK) : CString();
        out += CString(bModern ? "<li>" : "<LI>") + KindWord(type) + (bModern ? "<a href=\"" : "<A HREF=\"")
            + CHtmlText::Reference(m_names.GetReference(hItem), m_markup) + "\">" + title
            + (bModern ? "</a>\n" : "</A>\n");
        if (hItem->GetFirstChild() != nullptr) {
            out += pszList;
            hItem = hItem->GetFirstChild();
            continue;
        }
        // Climb out of finished lists, closing each.
        while (hItem != nullptr && hItem->GetNextSibling() == nullptr) {
            hItem = hItem->GetParent();
            if (hItem != nullptr)
                out += pszEndList;
        }
        if (hItem != nullptr)
            hItem = hItem->GetNextSibling();
    }
    out += pszEndList;
    return true;
}
