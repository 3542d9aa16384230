#include "generator/CPageRenderer.h"

#include <algorithm>

#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/CPageEncoding.h"
#include "generator/CPageLimitError.h"
#include "generator/CSiteNames.h"
#include "platform/IUserInterface.h"

CString CPageRenderer::MakePageText(std::string_view expansion)
{
    // Room for a CR every 8 characters, so that a page is rarely copied
    // again as it grows (counting the line ends first costs more).
    CString text;
    text.reserve(expansion.size() + expansion.size() / 8 + 2);
    for (size_t start = 0; start < expansion.size();) {
        const size_t lf = std::min(expansion.find('\n', start), expansion.size());
        text.append(expansion.substr(start, lf - start));
        if (lf < expansion.size())
            text.append("\r\n");
        start = lf + 1;
    }
    text.append("\r\n");
    return text;
}

CRenderedPage CPageRenderer::Render(HTREEITEM hItem)
{
    const size_t logStart = m_run.GetLog().GetText().size();
    CRenderedPage page;
    m_run.BeginPage();
    try {
        const auto pContext = m_run.CreateNode(hItem);
        page.bComplete = !pContext->m_bTemplateMissing;
        page.strText = MakePageText(pContext->m_strOutput);
        if (m_run.GetSiteSettings().IsUtf8())
            page.strText = CPageEncoding::Encode(page.strText, CPageEncoding::EEncoding::Utf8);
    } catch (const CPageLimitError& error) {
        m_run.GetUserInterface().MessageBox(
            "Unable to expand " + m_run.GetNames().GetTag(hItem) + ": " + error.what(), "CreateNode() ERROR",
            EMessageIcon::Exclamation, EMessageButtons::Ok);
    }
    page.strLog = m_run.GetLog().GetText().substr(logStart);
    return page;
}
