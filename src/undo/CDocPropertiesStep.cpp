#include "undo/CDocPropertiesStep.h"

#include <utility>

#include "model/CPagewellDoc.h"

CDocPropertiesStep::CDocPropertiesStep(CUndoContext& context, const CDocProperties& oldProps)
    : CExchangeStep(context, QStringLiteral("Document properties"), true)
    , m_props(oldProps)
{ }

void CDocPropertiesStep::Exchange()
{
    std::swap(Context().GetDocument().m_props, m_props);
    Context().Reload();
}
