#include "checker/CTypeCheck.h"

#include <string>

#include "checker/CCheckContext.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"

void CTypeCheck::Run(CCheckContext& context)
{
    for (HTREEITEM h = context.GetTree().GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
        const uint32_t type = h->GetNode()->m_nType;
        if (type > NODE_LINK)
            context.Add(ESeverity::Error, h,
                "the object has the unknown type " + std::to_string(static_cast<int32_t>(type)),
                "the project file is damaged here: delete the object, or make a page, paragraph or "
                "link in its place");
    }
}
