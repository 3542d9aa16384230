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
    if (markup == EMarkup::Modern) {
        AddModernChild(hItem, hChild, reference);
        return;
    }
    const CString title = m_run.GetPreparer().PrepareText(child.m_strTitle, child.m_nType == NODE_LINK, true);
    const char* pszOpen = "<A HREF=\"";
    const char* pszClose = "</A>\n";

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
    AddBody(hChild);
}

void CLinkList::AddModernChild(HTREEITEM hItem, HTREEITEM hChild, const CString& reference)
{
    // A screen reader reads the entry as it stands: no brackets around it,
    // and of a link object only its name, not the line end before the URL.
    const CNode& child = *hChild->GetNode();
    const CTextPreparer& preparer = m_run.GetPreparer();
    const CString title = child.m_nType == NODE_LINK ? preparer.PrepareLinkName(child.m_strTitle)
                                                     : preparer.PrepareText(child.m_strTitle, false, true);
    CString entry;
    entry.append("<a href=\"").append(reference).append("\">").append(title).append("</a>\n");
    m_context.m_strValue[MACRO_LINKS].append(m_context.m_strValue[MACRO_BULLET]).append("  ").append(entry);
    if (hItem == m_run.GetNames().GetRootItem())
        m_run.GetHomeLinks().append(entry);
    AddBody(hChild);
}

void CLinkList::AddBody(HTREEITEM hChild)
{
    if (hChild->GetNode()->m_nType != NODE_PAGE) {
        const auto pChild = m_run.CreateNode(hChild);
        CString& body = m_context.m_strValue[MACRO_LINKBODY];
        m_context.CheckSize(body.size() + pChild->m_strOutput.size());
        body += pChild->m_strOutput;
    }
}
