#include "undo/CMoveBranchStep.h"

#include "app/QtText.h"
#include "model/CPagewellDoc.h"

CMoveBranchStep::CMoveBranchStep(CUndoContext& context, const CBranchMove& move)
    : CUndoStep(context, QStringLiteral("Move %1").arg(ToQString(move.GetItem()->GetLabel())), true)
    , m_move(move)
{ }

void CMoveBranchStep::Undo()
{
    m_move.Undo(Context().GetDocument().m_tree);
    Context().Select(m_move.GetItem());
}

void CMoveBranchStep::Redo()
{
    m_move.Do(Context().GetDocument().m_tree);
    Context().Select(m_move.GetItem());
}
