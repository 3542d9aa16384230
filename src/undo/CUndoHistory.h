#pragma once

#include <QString>
#include <QUndoStack>

#include "model/IEditHistory.h"
#include "undo/CUndoContext.h"

class QUndoCommand;

// The project's history in the desktop program: every change the commands,
// the tree and the editors make becomes a step on a QUndoStack. The stack's
// clean state is the state last saved or opened; New and Open empty it.
class CUndoHistory : public IEditHistory {
public:
    explicit CUndoHistory(CPagewellDoc& doc);
    ~CUndoHistory() override;

    CUndoContext& GetContext() { return m_context; }
    QUndoStack& GetStack() { return m_stack; }

    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    // The menu words: "Undo Delete news", or plain "Undo" with nothing to undo.
    QString UndoText() const;
    QString RedoText() const;
    // Takes back the last step, or makes the last undone step again. Text an
    // editor holds is stored first (a step of its own), and the project is
    // marked modified unless it is back at its saved state.
    void Undo();
    void Redo();

    // Records a step made elsewhere; the stack owns it. A step pushed while
    // a step is being undone or redone is dropped.
    void Push(QUndoCommand* pStep);

    // IEditHistory
    void Inserted(HTREEITEM hItem) override;
    void Deleted(CTreeBranch branch, const CTreePlace& place) override;
    void Converted(HTREEITEM hItem, uint32_t nOldType) override;
    void Moved(const CBranchMove& move) override;
    void Renamed(HTREEITEM hItem, const CString& oldLabel) override;
    void ObjectPropertiesSet(HTREEITEM hItem, const CDocInfo& oldInfo, int32_t tOldStamp) override;
    void DocPropertiesSet(const CDocProperties& oldProps) override;
    void FormatSet(HTREEITEM hItem, ETextField field, uint32_t nOldFormat) override;
    void TextStored(HTREEITEM hItem, ETextField field, const CString& oldText) override;
    void Saved() override;
    void Cleared() override;

private:
    template <typename F>
    void Replay(F step);

    CPagewellDoc& m_doc;
    CUndoContext m_context;
    QUndoStack m_stack;
    bool m_bReplaying = false;
};
