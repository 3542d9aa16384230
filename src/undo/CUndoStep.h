#pragma once

#include <QUndoCommand>

#include "undo/CUndoContext.h"

// One step of the project's history. Most steps are recorded right after the
// program made the change, so the redo that QUndoStack runs on push does
// nothing for them; a step made to be applied by its push (bApplied false)
// does its change then.
class CUndoStep : public QUndoCommand {
public:
    void undo() final { Undo(); }
    void redo() final
    {
        if (m_bApplied) {
            m_bApplied = false;
            return;
        }
        Redo();
    }

protected:
    CUndoStep(CUndoContext& context, const QString& text, bool bApplied)
        : QUndoCommand(text)
        , m_context(context)
        , m_bApplied(bApplied)
    { }

    virtual void Undo() = 0;
    virtual void Redo() = 0;

    CUndoContext& Context() const { return m_context; }

private:
    CUndoContext& m_context;
    bool m_bApplied;
};

// A step that keeps the value the project does not hold now and exchanges it
// with the project's on undo and redo alike.
class CExchangeStep : public CUndoStep {
protected:
    using CUndoStep::CUndoStep;
    virtual void Exchange() = 0;

private:
    void Undo() final { Exchange(); }
    void Redo() final { Exchange(); }
};
