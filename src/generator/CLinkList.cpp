#include "generator/CLinkList.h"

#include "generator/CGenerationRun.h"
#include "generator/CHtmlText.h"
#include "generator/CMacroContext.h"
#include "model/CNode.h"

void CLinkList::Evaluate(HTREEITEM hItem)
{
    m_context.m_strValue[MACRO_LINKS].clear();
    m_context.m_strValue[MACRO_LINKBODY].clear();
    for (HTREEITEM hChild = hItem->GetFirstChild(); hChild != nullptr; hChild = hChild->GetNextSibling())
        AddChild(hItem, hChild);
}

void CLinkList::AddChild(HTREEITEM hItem, HTREEITEM hChild)
{
    const CSiteNames& names = m_run.GetNames();
    const CNode& child = *hChild->GetNode();
    // The child lies on another page than hItem's own when it is a page, or
    // when hItem is not (the page holding both is further up).
    const bool bOtherPage = child.m_nType == NODE_PAGE || hItem->GetNode()->m_nType != NODE_PAGE;
    const EMarkup markup = m_run.GetSiteSettings().GetMarkup();
    const CString reference = CHtmlText::Reference(names.GetReference(hChild), markup);
    const CString title = m_run.GetPreparer().PrepareText(child.m_strTitle, child.m_nType == NODE_LINK, true);
    const char* pszOpen = markup == EMarkup::Modern ? "<a href=\"" : "<A HREF=\"";
    const char* pszClose = markup == EMarkup::Modern ? "</a>\n" : "</A>\n";

    // Appended piece by piece: every child of every object passes here.
    CString& links = m_context.m_strValue[MACRO_LINKS];
    links.append(m_context.m_strValue[MACRO_BULLET])
        .append("  ")
        .append(pszOpen)
        .append(reference)
        .append("\"> ");
    if (bOtherPage)
        links.append("[").append(title).append("]");
    else
        links.append(title);
    links.append(pszClose);
    if (hItem == names.GetRootItem())
        m_run.GetHomeLinks()
            .append(pszOpen)
            .append(reference)
            .append("\"> [")
            .append(title)
            .append("]")
            .append(pszClose);
    if (child.m_nType != NODE_PAGE) {
        const auto pChild = m_run.CreateNode(hChild);
        CString& body = m_context.m_strValue[MACRO_LINKBODY];
        m_context.CheckSize(body.size() + pChild->m_strOutput.size());
        body += pChild->m_strOutput;
    }
}
