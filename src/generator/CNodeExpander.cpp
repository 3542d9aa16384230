#include "generator/CNodeExpander.h"

#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/CMacroEvaluator.h"
#include "generator/CTemplateCache.h"
#include "generator/CTemplateScanner.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "platform/IUserInterface.h"

CString CNodeExpander::GetTemplatePath(const CString& templateName, uint32_t type)
{
    CString path = "templates/" + templateName;
    switch (type) {
    case NODE_PAGE:
        return path + ".hdr.txt";
    case NODE_PARAGRAPH:
        return path + ".pgh.txt";
    case NODE_LINK:
        return path + ".lnk.txt";
    default:
        return path;
    }
}

std::unique_ptr<CMacroContext> CNodeExpander::CreateNode(HTREEITEM hItem)
{
    auto pContext = std::make_unique<CMacroContext>(m_run.GetLog());
    pContext->m_nMaxOutput = m_run.GetPageLimits().nMaxBytes;
    IUserInterface& ui = m_run.GetUserInterface();
    ui.StepProgress();
    ui.SetStatusText(EStatusLine::CurrentTag, m_run.GetNames().GetTag(hItem));

    const CNode* pNode = hItem->GetNode();
    const CString path = GetTemplatePath(m_run.GetProps().m_strTemplate, pNode->m_nType);
    CTemplateCache::CTemplate* pTemplate
        = m_run.GetTemplates().GetTemplate(path, m_run.GetLocator(), m_run.GetFileSystem());
    if (pTemplate == nullptr) {
        ui.MessageBox("Unable to open template file: " + path, "CreateNode() ERROR",
            EMessageIcon::Exclamation, EMessageButtons::Ok);
        pContext->m_bTemplateMissing = true;
        return pContext;
    }
    m_run.GetLog().Add({ "Parsing template file: ", path });
    pContext->m_strOutput.reserve(pTemplate->nOutputHint);
    ScanTemplate(hItem, pTemplate->pieces, *pContext);
    pTemplate->nOutputHint = pContext->m_strOutput.size();
    return pContext;
}

void CNodeExpander::ScanTemplate(
    HTREEITEM hItem, const std::vector<std::string>& pieces, CMacroContext& context)
{
    CMacroEvaluator evaluator(m_run, hItem, context);
    CTemplateScanner scanner(context, evaluator, m_run.GetLog());
    for (const std::string& piece : pieces)
        scanner.ScanLine(piece);
}
