#include "undo/CSetTextsStep.h"

#include <utility>

#include "app/QtText.h"

CSetTextsStep::CSetTextsStep(
    CUndoContext& context, const QString& text, std::vector<CChange> changes, bool bApplied)
    : CExchangeStep(context, text, bApplied)
    , m_changes(std::move(changes))
{ }

QString CSetTextsStep::StoreName(HTREEITEM hItem, ETextField field)
{
    return QStringLiteral("Edit %1 of %2")
        .arg(field == ETextField::Title ? QStringLiteral("title") : QStringLiteral("text"),
            ToQString(hItem->GetLabel()));
}

void CSetTextsStep::Exchange()
{
    if (m_changes.empty())
        return;
    // The editors store into the object they showed before it changes.
    Context().Select(m_changes.front().hItem);
    for (CChange& change : m_changes)
        std::swap(change.hItem->GetNode()->TextOf(change.field), change.strText);
    Context().Reload();
}
