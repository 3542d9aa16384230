#include "undo/CRenameStep.h"

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CRenameStep::CRenameStep(CUndoContext& context, HTREEITEM hItem, const CString& oldLabel)
    : CExchangeStep(context, QStringLiteral("Rename %1").arg(ToQString(oldLabel)), true)
    , m_hItem(hItem)
    , m_strLabel(oldLabel)
{ }

void CRenameStep::Exchange()
{
    Context().Select(m_hItem);
    CString label = m_hItem->GetLabel();
    Context().GetDocument().m_tree.SetItemText(m_hItem, m_strLabel);
    m_strLabel = std::move(label);
}
