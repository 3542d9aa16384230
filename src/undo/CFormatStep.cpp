#include "undo/CFormatStep.h"

#include <utility>

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CFormatStep::CFormatStep(CUndoContext& context, HTREEITEM hItem, ETextField field, uint32_t nOldFormat)
    : CExchangeStep(context,
        QStringLiteral("Format %1 of %2")
            .arg(field == ETextField::Title ? QStringLiteral("title") : QStringLiteral("text"),
                ToQString(hItem->GetLabel())),
        true)
    , m_hItem(hItem)
    , m_field(field)
    , m_nFormat(nOldFormat)
{ }

void CFormatStep::Exchange()
{
    Context().Select(m_hItem);
    std::swap(m_hItem->GetNode()->FormatOf(m_field), m_nFormat);
    Context().Reload();
}
