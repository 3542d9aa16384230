#include "undo/CUndoHistory.h"

#include "model/CPagewellDoc.h"
#include "platform/CView.h"
#include "undo/CBranchSteps.h"
#include "undo/CConvertStep.h"
#include "undo/CDocPropertiesStep.h"
#include "undo/CFormatStep.h"
#include "undo/CMoveBranchStep.h"
#include "undo/CObjectPropertiesStep.h"
#include "undo/CRenameStep.h"
#include "undo/CSetTextsStep.h"

CUndoHistory::CUndoHistory(CPagewellDoc& doc)
    : m_doc(doc)
    , m_context(doc)
{ }

CUndoHistory::~CUndoHistory()
{
    // The steps go before the context they point to.
    m_stack.clear();
}

QString CUndoHistory::UndoText() const
{
    return m_stack.canUndo() ? QStringLiteral("Undo %1").arg(m_stack.undoText()) : QStringLiteral("Undo");
}

QString CUndoHistory::RedoText() const
{
    return m_stack.canRedo() ? QStringLiteral("Redo %1").arg(m_stack.redoText()) : QStringLiteral("Redo");
}

template <typename F>
void CUndoHistory::Replay(F step)
{
    // Text typed and not yet stored becomes a step first, so that the step
    // taken back is the last change the user saw.
    m_doc.UpdateAllViews(nullptr, HINT_STORE);
    m_bReplaying = true;
    step();
    m_bReplaying = false;
    m_doc.SetModifiedFlag(!m_stack.isClean());
}

void CUndoHistory::Undo()
{
    if (m_bReplaying || !m_stack.canUndo())
        return;
    Replay([this] { m_stack.undo(); });
}

void CUndoHistory::Redo()
{
    if (m_bReplaying || !m_stack.canRedo())
        return;
    Replay([this] {
        // The store above may have made a step, which ends the redo history.
        if (m_stack.canRedo())
            m_stack.redo();
    });
}

void CUndoHistory::Push(QUndoCommand* pStep)
{
    if (m_bReplaying) {
        delete pStep;
        return;
    }
    m_stack.push(pStep);
}

void CUndoHistory::Inserted(HTREEITEM hItem)
{
    Push(new CInsertBranchStep(m_context, hItem));
}

void CUndoHistory::Deleted(CTreeBranch branch, const CTreePlace& place)
{
    Push(new CDeleteBranchStep(m_context, std::move(branch), place));
}

void CUndoHistory::Converted(HTREEITEM hItem, uint32_t nOldType)
{
    Push(new CConvertStep(m_context, hItem, nOldType));
}

void CUndoHistory::Moved(const CBranchMove& move)
{
    Push(new CMoveBranchStep(m_context, move));
}

void CUndoHistory::Renamed(HTREEITEM hItem, const CString& oldLabel)
{
    Push(new CRenameStep(m_context, hItem, oldLabel));
}

void CUndoHistory::ObjectPropertiesSet(HTREEITEM hItem, const CDocInfo& oldInfo, int32_t tOldStamp)
{
    Push(new CObjectPropertiesStep(m_context, hItem, oldInfo, tOldStamp));
}

void CUndoHistory::DocPropertiesSet(const CDocProperties& oldProps)
{
    Push(new CDocPropertiesStep(m_context, oldProps));
}

void CUndoHistory::FormatSet(HTREEITEM hItem, ETextField field, uint32_t nOldFormat)
{
    Push(new CFormatStep(m_context, hItem, field, nOldFormat));
}

void CUndoHistory::TextStored(HTREEITEM hItem, ETextField field, const CString& oldText)
{
    Push(new CSetTextsStep(
        m_context, CSetTextsStep::StoreName(hItem, field), { { hItem, field, oldText } }, true));
}

void CUndoHistory::Saved()
{
    m_stack.setClean();
}

void CUndoHistory::Cleared()
{
    m_stack.clear();
}
