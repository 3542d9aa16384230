#include "undo/CObjectPropertiesStep.h"

#include <utility>

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CObjectPropertiesStep::CObjectPropertiesStep(
    CUndoContext& context, HTREEITEM hItem, const CDocInfo& oldInfo, int32_t tOldStamp)
    : CExchangeStep(context, QStringLiteral("Properties of %1").arg(ToQString(hItem->GetLabel())), true)
    , m_hItem(hItem)
    , m_info(oldInfo)
    , m_tStamp(tOldStamp)
{ }

void CObjectPropertiesStep::Exchange()
{
    Context().Select(m_hItem);
    CNode* pNode = m_hItem->GetNode();
    std::swap(pNode->m_info, m_info);
    std::swap(pNode->m_tStamp, m_tStamp);
    // The body editor shows the object's colours.
    Context().Reload();
}
