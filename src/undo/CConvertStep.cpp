#include "undo/CConvertStep.h"

#include <utility>

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CConvertStep::CConvertStep(CUndoContext& context, HTREEITEM hItem, uint32_t nOldType)
    : CExchangeStep(context, QStringLiteral("Convert %1").arg(ToQString(hItem->GetLabel())), true)
    , m_hItem(hItem)
    , m_nType(nOldType)
{ }

void CConvertStep::Exchange()
{
    Context().Select(m_hItem);
    std::swap(m_hItem->GetNode()->m_nType, m_nType);
    Context().GetDocument().m_tree.NotifyItemChanged(m_hItem);
    Context().Reload();
}
