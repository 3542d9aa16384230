#include "checker/CTitleCheck.h"

#include "checker/CCheckContext.h"
#include "generator/CMacroEvaluator.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"

namespace {

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

void CTitleCheck::Run(CCheckContext& context)
{
    for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const CNode& node = *h->GetNode();
        std::string_view title = node.m_strTitle;
        if (node.m_nType == NODE_LINK) {
            const size_t start = CMacroEvaluator::FindUrlStart(title);
            if (start != std::string_view::npos)
                title = title.substr(0, start);
        }
        if (IsBlank(title))
            context.Add(ESeverity::Warning, h, "the title is empty",
                "give the object a title: link lists and headings show it");
    }
}
