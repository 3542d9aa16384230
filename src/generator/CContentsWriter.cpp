#include "generator/CContentsWriter.h"

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
    out += "<UL>\n";
    HTREEITEM hItem = m_names.GetRootItem();
    while (hItem != nullptr) {
        const CNode* pNode = hItem->GetNode();
        const uint32_t type = pNode != nullptr ? pNode->m_nType : NODE_PAGE;
        const CString title
            = pNode != nullptr ? CTextPreparer::CutAndStrip(pNode->m_strTitle, type == NODE_LINK) : CString();
        out += CString("<LI>") + KindWord(type) + "<A HREF=\"" + m_names.GetReference(hItem) + "\">" + title
            + "</A>\n";
        if (hItem->GetFirstChild() != nullptr) {
            out += "<UL>\n";
            hItem = hItem->GetFirstChild();
            continue;
        }
        // Climb out of finished lists, closing each.
        while (hItem != nullptr && hItem->GetNextSibling() == nullptr) {
            hItem = hItem->GetParent();
            if (hItem != nullptr)
                out += "</UL>\n";
        }
        if (hItem != nullptr)
            hItem = hItem->GetNextSibling();
    }
    out += "</UL>\n";
    return true;
}
